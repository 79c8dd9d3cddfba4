#pragma once

#include <QStringView>

namespace yalmera::linktext {

// The serial layer's own messages. They are shown as they stand, in the standard error box.
inline constexpr QStringView BadId = u"ie_BadId - Specified comport doesn't exist";
inline constexpr QStringView AlreadyOpen = u"ie_Open - device already open";
inline constexpr QStringView NotOpen = u"ie_NOpen - device not open";

// The status field of the station-link window. "AK" is written in Latin capitals.
inline constexpr QStringView StatusIdle = u"- -";
inline constexpr QStringView StatusWriting = u"ПР";
inline constexpr QStringView StatusReading = u"ПП";
inline constexpr QStringView StatusNoAnswer = u"AK";

// Refusals and failures of the exchanges.
inline constexpr QStringView NotChecked = u"Введенные данные не будут переданы, так как они не проверены.";
inline constexpr QStringView LastByteUnanswered =
    u"Станция не подтвердила прием последнего байта: запись не завершена.";
inline constexpr QStringView StationSilent = u"Станция не отвечает: чтение прервано, данные не изменены.";
inline constexpr QStringView Cancelled = u"Обмен со станцией прерван.";
// The line did not fall quiet before the command byte: the station still sends something (the
// stream of an interrupted read, a fault). Nothing was sent.
inline constexpr QStringView StillSending =
    u"Станция продолжает передавать данные, обмен не начат: ничего не отправлено, данные не изменены.";

// Refusals of a read stream the program cannot hold. %1.. are filled in by the decoder.
inline constexpr QStringView StreamIncomplete =
    u"Станция передала неполные данные (%1 байт из %2): данные не приняты.";
inline constexpr QStringView TooManyChannels =
    u"Станция передала число каналов %1, а допускается не более 99: данные не приняты.";
// A plan of no channels could be saved but never opened again as a plan file.
inline constexpr QStringView NoChannels =
    u"Станция передала число каналов 0: в станции нет данных каналов, данные не приняты.";
inline constexpr QStringView BadCtcssCode =
    u"Станция передала недопустимый код CTCSS %1 в канале %2 (запись %3): данные не приняты.";
inline constexpr QStringView BadDcsCode =
    u"Станция передала недопустимый код DCS %1 в канале %2 (запись %3): данные не приняты.";

} // namespace yalmera::linktext
