#pragma once

#include <QStringView>

// The channel plan's own texts: the template panel's and the repeater panel's refusals and the
// models' names.
namespace yalmera::texts::model {

// Template ("Ok" of the template panel).
inline constexpr QStringView CountRefused = u"Вы не ввели количество каналов или ввели слишком много";
inline constexpr QStringView StartOffGrid = u"Частота должна быть кратна 6,25кГц";
inline constexpr QStringView OffsetOffGrid = u"Шаг смещения должен быть кратен 6,25кГц";
// Followed by the band's limits in MHz, "140-174".
inline constexpr QStringView StartOutOfBand =
    u"Введенная частота не соответствует частотному диапазону, частотный диапазон ";
inline constexpr QStringView StartOutOfBandUnit = u" МГц";

// Repeater panel.
inline constexpr QStringView RepeaterRefused =
    u"Прежде чем производить настройку рентраслятора проверьте введеные данные !!!";
inline constexpr QStringView RepeaterNoChannelNumber = u"Вы не указали номер канала !!!";
inline constexpr QStringView RepeaterUnknownChannel = u"Такого номера канала нет в таблице !!!";

// Files: a path that names a FIFO, a device or a socket is neither read nor replaced.
inline constexpr QStringView NotRegularForSave =
    u"Указанный путь ведет не к обычному файлу, а к каналу или устройству. Файл не записан.";
inline constexpr QStringView NotRegularForRead =
    u"Указанный путь ведет не к обычному файлу, а к каналу или устройству. Файл не прочитан.";

// The main window's caption for each band.
inline constexpr QStringView Model144to174 = u"Ялмера 4К-17";
inline constexpr QStringView Model30to60 = u"Ялмера 4К-15";

} // namespace yalmera::texts::model
