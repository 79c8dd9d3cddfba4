#pragma once

#include <QStringView>

// The station link's own texts.
namespace yalmera::texts::link {

// The serial layer's own messages. They are shown as they stand, in the standard error box.
inline constexpr QStringView BadId = u"ie_BadId - Specified comport doesn't exist";
inline constexpr QStringView AlreadyOpen = u"ie_Open - device already open";
inline constexpr QStringView NotOpen = u"ie_NOpen - device not open";

// Beside each of those (or the system's own text), on a line of its own: the port, the step of
// the exchange, what happened and what to do. %1 the port as the user named it, %2 the step,
// %3 what happened.
inline constexpr QStringView FailureAt = u"Порт %1, %2: %3";
inline constexpr QStringView StepOpening = u"открытие";
inline constexpr QStringView StepSettingUp = u"настройка линии (%1 бод, 8N1)";
// %1 counts the bytes of the exchange from 1, the command byte first.
inline constexpr QStringView StepSending = u"передача байта %1";
inline constexpr QStringView StepAwaitingReply = u"ожидание ответа на байт %1";
inline constexpr QStringView StepReceiving = u"прием байта %1";
// %1 PortsPresent or NoPortsPresent.
inline constexpr QStringView PortMissing = u"такого порта в системе нет. %1";
// %1 the ports the system reports, ", " between them.
inline constexpr QStringView PortsPresent =
    u"В системе есть порты: %1. Выберите тот, к которому подключена станция.";
inline constexpr QStringView NoPortsPresent =
    u"Система не сообщает ни об одном последовательном порте: подключите адаптер станции и выберите "
    u"его порт.";
inline constexpr QStringView PortBusy =
    u"порт занят другой программой. Закройте ее и повторите или выберите другой порт.";
inline constexpr QStringView PortRefused =
    u"система не открыла порт. Проверьте, подключен ли адаптер, и повторите или выберите другой порт.";
inline constexpr QStringView LineRefused =
    u"порт не принял настройки линии: это не последовательный порт или его драйвер неисправен. "
    u"Выберите порт адаптера станции.";
inline constexpr QStringView ByteRefused =
    u"порт не принял байт: адаптер отключен или неисправен. Проверьте подключение и повторите.";
// %1 the wait in milliseconds.
inline constexpr QStringView NoReply =
    u"станция не ответила за %1 мс. Проверьте, включена ли станция и подключен ли ее кабель к этому "
    u"порту, и повторите.";
// %1 the system's text.
inline constexpr QStringView LineFailed =
    u"линия отказала (%1): адаптер отключен или неисправен. Проверьте подключение и повторите.";
inline constexpr QStringView PortNotOpened = u"порт не открыт.";

// The status field of the station-link window, which the window and the command-line tool show
// for an exchange's phase. "AK" is written in Latin capitals.
inline constexpr QStringView StatusIdle = u"- -";
inline constexpr QStringView StatusWriting = u"ПР";
inline constexpr QStringView StatusReading = u"ПП";
inline constexpr QStringView StatusNoAnswer = u"AK";

// Refusals and failures of the exchanges.
inline constexpr QStringView NotChecked = u"Введенные данные не будут переданы, так как они не проверены.";
inline constexpr QStringView LastByteUnanswered =
    u"Станция не подтвердила прием последнего байта: запись не завершена.";
// Serial devices on Linux belong to the group dialout; a user outside it may not open them.
inline constexpr QStringView NoPortAccessHint =
    u"Нет доступа к порту. Добавьте пользователя в группу dialout "
    u"командой «sudo usermod -aG dialout $USER» и войдите в систему заново.";
inline constexpr QStringView StationSilent = u"Станция не отвечает: чтение прервано, данные не изменены.";
inline constexpr QStringView Cancelled = u"Обмен со станцией прерван.";
// Stopped on request after the first byte; what the station now holds, and why the next exchange
// on the port waits a moment (the station's abandon time and its margin, ExchangeTimings).
inline constexpr QStringView WriteCancelled =
    u"Запись прервана: в станции осталась часть плана. Следующий обмен через этот порт начнется "
    u"не раньше чем через 1,25 с после прерванной записи, когда станция ее оставит.";
inline constexpr QStringView ReadCancelled = u"Чтение прервано: данные в станции и в программе не изменены.";
// The write's counterpart of StationSilent, for the command line (the window shows "AK" and the
// link's own error instead).
inline constexpr QStringView WriteStationSilent =
    u"Станция не отвечает: запись прервана, в станции осталась часть плана; следующая запись заменит "
    u"его целиком.";
// More replies came than bytes went out: noise on the line, or a station answering twice. The
// write stops rather than run ahead of the station.
inline constexpr QStringView LineFlooded =
    u"На линии помехи: пришло больше ответов, чем отправлено байтов. Запись прервана, в станции "
    u"осталась часть плана.";
// The line did not fall quiet before the command byte: the station still sends something (the
// stream of an interrupted read, a fault). Nothing was sent.
inline constexpr QStringView StillSending =
    u"Станция продолжает передавать данные, обмен не начат: ничего не отправлено, данные не изменены.";

// Replies that come late (an adapter's latency timer), said once early in a write. %1 the
// latency in milliseconds, %2 the time the write will take in seconds, %3 its time with replies on
// time, %4 LatencyAdvice*.
inline constexpr QStringView LatencyNotice =
    u"Станция отвечает с опозданием %1 мс: запись займет около %2 с вместо %3 с. %4";
inline constexpr QStringView LatencyAdviceWindows =
    u"Опоздание дает таймер задержки адаптера USB-COM: установите «Latency Timer» 1 мс в Диспетчере "
    u"устройств (свойства порта, Port Settings, Advanced; нужны права администратора).";
// %1 the device ("/dev/ttyUSB0"), %2 its name ("ttyUSB0", or "ttyUSB*" for a port of another kind).
inline constexpr QStringView LatencyAdviceLinux =
    u"Опоздание дает таймер задержки адаптера USB-COM: «setserial %1 low_latency» или 1 в "
    u"/sys/bus/usb-serial/devices/%2/latency_timer (нужны права root).";
inline constexpr QStringView LatencyAdviceOther =
    u"Опоздание дает таймер задержки адаптера USB-COM: уменьшите его в настройках драйвера адаптера.";

} // namespace yalmera::texts::link
