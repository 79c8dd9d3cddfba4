#pragma once

// The Windows API for the few places that call it, without the min and max macros of
// <windows.h>, which would replace std::min, std::max and Qt's own. Nothing elsewhere.

#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
