#pragma once

#include <cstdio>

class QString;

namespace yalmera::ui {

// A text for the user on stdout or stderr. A desktop program on Windows has no console of its
// own: the text goes where its output is redirected as UTF-8, as on other systems, or to the
// console it was started from as UTF-16, which the console shows whatever its code page.
void printToConsole(FILE* stream, const QString& text);

} // namespace yalmera::ui
