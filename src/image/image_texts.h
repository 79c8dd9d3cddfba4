#pragma once

#include <QStringView>

// The image subsystem's own texts.
namespace yalmera::texts::readback {

// Refusals of a read stream the program cannot hold. %1.. are filled in by the decoder.
inline constexpr QStringView StreamIncomplete =
    u"Станция передала неполные данные (%1 байт из %2): данные не приняты.";
inline constexpr QStringView TooManyChannels =
    u"Станция передала число каналов %1, а допускается не более 99: данные не приняты.";
inline constexpr QStringView BadCtcssCode =
    u"Станция передала недопустимый код CTCSS %1 в канале %2 (запись %3): данные не приняты.";
inline constexpr QStringView BadDcsCode =
    u"Станция передала недопустимый код DCS %1 в канале %2 (запись %3): данные не приняты.";

} // namespace yalmera::texts::readback
