#pragma once

#include <QStringView>
#include <QtGlobal>

// The channel plan's own texts: the refusals of the template panel, the repeater panel, the row
// operations and pasting, and the models' names.
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

// Rows of the table ("Добавить канал", "Удалить каналы").
inline constexpr QStringView TableFull = u"В таблице уже 99 каналов: больше радиостанция не принимает.";
inline constexpr QStringView LastChannelStays =
    u"Все каналы удалить нельзя: в таблице должен остаться хотя бы один канал.";

// Pasting a block of cells (%1: table row, %2: column caption, %3: the text).
inline constexpr QStringView PasteNotInList =
    u"Строка %1, столбец «%2»: значения «%3» нет в списке этого столбца. Ничего не вставлено.";
inline constexpr QStringView PasteNotAFlag =
    u"Строка %1, столбец «%2»: «%3» не отметка, вставляются только «да» и «нет». Ничего не вставлено.";
// %1: the block's columns, %2: the caption it starts at, %3: the columns from there to the last.
inline constexpr QStringView PasteTooWide =
    u"Вставляемый блок не помещается: в нем столбцов %1, а от столбца «%2» "
    u"до конца таблицы их %3. Ничего не вставлено.";
// %1: the block's rows, %2: the row it starts at, %3: the rows from there up to channel 99.
inline constexpr QStringView PasteTooLong = u"Вставляемый блок не помещается: в нем строк %1, а от строки %2 "
                                            u"до 99-го канала их %3. Ничего не вставлено.";

// The common failures of files and ports in the program's words (systemErrorText), beside the
// system's own text. The command-line programs translate them (context "SystemError") when they
// speak English.
inline constexpr const char* NoSuchFileWords = QT_TRANSLATE_NOOP("SystemError", "Нет такого файла или папки");
inline constexpr const char* NoPermissionWords = QT_TRANSLATE_NOOP("SystemError", "Отказано в доступе");
inline constexpr const char* NoSpaceWords = QT_TRANSLATE_NOOP("SystemError", "На диске нет места");
inline constexpr const char* ReadOnlyWords =
    QT_TRANSLATE_NOOP("SystemError", "Диск или файловая система только для чтения");
inline constexpr const char* BusyWords = QT_TRANSLATE_NOOP("SystemError", "Занято другой программой");
inline constexpr const char* DeviceGoneWords = QT_TRANSLATE_NOOP("SystemError", "Устройство отключено");

// The main window's caption for each band.
inline constexpr QStringView Model144to174 = u"Ялмера 4К-17";
inline constexpr QStringView Model30to60 = u"Ялмера 4К-15";

} // namespace yalmera::texts::model
