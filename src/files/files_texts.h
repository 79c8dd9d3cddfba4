#pragma once

#include <QStringView>

#include <array>

// The files' own texts: the plan files, and every file read or saved whole.
namespace yalmera::texts::files {

// Files: a path that names a FIFO, a device or a socket is neither read nor replaced.
inline constexpr QStringView NotRegularForSave =
    u"Указанный путь ведет не к обычному файлу, а к каналу или устройству. Файл не записан.";
inline constexpr QStringView NotRegularForRead =
    u"Указанный путь ведет не к обычному файлу, а к каналу или устройству. Файл не прочитан.";
// A name whose bytes are no UTF-8 reaches the program with U+FFFD in their place: it would name
// another file.
inline constexpr QStringView UnspellableForSave =
    u"Имя файла записано не в UTF-8 (например, в кодировке Windows-1251), и программа не может точно "
    u"указать этот файл. Переименуйте его. Файл не записан.";
inline constexpr QStringView UnspellableForRead =
    u"Имя файла записано не в UTF-8 (например, в кодировке Windows-1251), и программа не может точно "
    u"указать этот файл. Переименуйте его. Файл не прочитан.";

inline constexpr QStringView NoTable =
    u"Нет данных для записи: сначала создайте шаблон или прочитайте данные из файла или из радиостанции.";
// After a band change the rows have lost their flags; writing them would store every flag as
// "нет" without a word. %1: the first such row.
inline constexpr QStringView NoFlags =
    u"В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": таблица не будет записана в файл. "
    u"Создайте шаблон или прочитайте файл заново";
inline constexpr QStringView NoChannels =
    u"В файле нет данных каналов (раздел [1] отсутствует или пуст). Файл не прочитан.";
inline constexpr QStringView TooManyChannels = u"В файле больше 99 каналов. Файл не прочитан.";
inline constexpr QStringView TooLarge =
    u"Файл слишком велик для файла каналов (больше 1 МБ). Файл не прочитан.";

// The target of a save, checked before the work that gives it its content; the copy kept of the
// file it replaces (%1: the copy's name, %2: why it cannot be made there).
inline constexpr QStringView TargetIsFolder = u"Это папка, а не файл.";
inline constexpr QStringView TargetReadOnly = u"Файл защищен от записи и не может быть заменен.";
inline constexpr QStringView TargetNoPlan = u"Файл больше 1 МБ, это не файл каналов: он не будет заменен.";
inline constexpr QStringView BackupNotMade = u"Копию заменяемого файла нельзя сохранить как «%1»: %2";
inline constexpr QStringView BackupIsLink = u"это символическая ссылка";
inline constexpr QStringView BackupNotAFile = u"это не обычный файл";
inline constexpr QStringView BackupReadOnly = u"файл защищен от записи";
inline constexpr QStringView BackupNamesTaken = u"все имена копий заняты";
// %1 the character, %2 its code point, %3 its place (SettingsPlace or CellPlace).
inline constexpr QStringView Unencodable = u"Символ «%1» (%2) %3 нельзя записать в файл: в кодировке "
                                           u"Windows-1251 такого символа нет. Файл не записан.";
inline constexpr QStringView LineBreak =
    u"Текст %1 содержит перевод строки и не может быть записан в файл. Файл не записан.";
inline constexpr QStringView Unwritable =
    u"Данные нельзя записать в файл в кодировке Windows-1251. Файл не записан.";
inline constexpr QStringView SettingsPlace = u"в строке %1 общих установок";
inline constexpr QStringView CellPlace = u"в канале %1 (строка %2 таблицы), столбец «%3»,";

// Spreadsheet (CSV) import; %1: the file's row, %2: a column caption or count.
inline constexpr QStringView CsvWrongFieldCount =
    u"Строка %1 файла: столбцов %2, а в таблице каналов их 18 (разделитель — «;»). Файл не импортирован.";
inline constexpr QStringView CsvWrongCaption =
    u"Строка %1 файла, столбец %2: заголовок «%3», а должен быть «%4». Файл не импортирован.";
inline constexpr QStringView CsvNotAFlag =
    u"Строка %1 файла, столбец «%2»: «%3» не отметка, нужно «да» или «нет». Файл не импортирован.";
// %3: the character's code point.
inline constexpr QStringView CsvControl =
    u"Строка %1 файла, столбец «%2»: управляющий символ %3 (перевод строки, табуляция и т. п.) "
    u"в файле каналов храниться не может. Файл не импортирован.";
// %3 the character, %4 its code point.
inline constexpr QStringView CsvUnencodable =
    u"Строка %1 файла, столбец «%2»: символа «%3» (%4) нет в кодировке Windows-1251 файлов каналов. "
    u"Файл не импортирован.";
inline constexpr QStringView CsvNotUtf8 =
    u"Строка %1 файла, столбец «%2»: байты не в кодировке UTF-8, в которой записан остальной файл. "
    u"Файл не импортирован.";
// %3 the text's length, %4 the longest a cell takes.
inline constexpr QStringView CsvTooLong =
    u"Строка %1 файла, столбец «%2»: текст длиннее %4 символов (его длина %3). Файл не импортирован.";
inline constexpr QStringView CsvNoChannels = u"В файле нет строк каналов. Файл не импортирован.";
inline constexpr QStringView CsvTooManyChannels = u"В файле больше 99 строк каналов. Файл не импортирован.";
inline constexpr QStringView CsvTooLarge =
    u"Файл слишком велик для таблицы каналов (больше 1 МБ). Файл не импортирован.";
// Spreadsheet (CSV) export of a cell that import would refuse; %1: CellPlace.
inline constexpr QStringView CsvExportControl =
    u"Текст %1 содержит управляющий символ %2 (перевод строки, табуляцию и т. п.) и не может быть "
    u"записан в файл CSV. Файл не записан.";
inline constexpr QStringView CsvExportUnencodable =
    u"Символ «%2» (%3) %1 нельзя записать в файл CSV: в кодировке Windows-1251 файлов каналов такого "
    u"символа нет. Файл не записан.";
inline constexpr QStringView CsvExportTooLong =
    u"Текст %1 длиннее %2 символов и не может быть записан в файл CSV. Файл не записан.";

// The exchange journal and the backups of station reads; %1: the file, %2: the platform's reason.
inline constexpr QStringView JournalUnwritable = u"Журнал обмена «%1» не записан: %2";
inline constexpr QStringView JournalUnreadable = u"Журнал обмена «%1» не прочитан: %2";
// Another program held the journal all the while an append waited for it (%1: the wait in
// seconds), or the wait was stopped.
inline constexpr QStringView JournalHeld = u"его держит другая программа; ожидание прекращено через %1 с";
inline constexpr QStringView JournalWaitStopped = u"его держит другая программа; ожидание прервано";
// A line not appended: %1 why (JournalUnwritable), %2 the line as it would stand in the journal.
inline constexpr QStringView JournalLineNotWritten = u"%1\nСтрока журнала, которая не записана:\n%2";
inline constexpr QStringView BackupUnwritable = u"Копия прочитанных данных не сохранена в папке «%1»: %2";
// A line of the journal that is no journal line, as the journal window shows it: its time field
// (%1: the line's number) and its outcome.
inline constexpr QStringView JournalLineNumber = u"строка %1";
inline constexpr QStringView JournalLineUnreadable = u"не прочитана";
// The journal's column captions, in column order.
// The last came later: lines without it (written before) are read all the same.
inline constexpr std::array<QStringView, 13> JournalCaptions{u"Время",
                                                             u"Версия",
                                                             u"Действие",
                                                             u"Порт",
                                                             u"Модель",
                                                             u"Тип",
                                                             u"Каналов",
                                                             u"Файл плана",
                                                             u"SHA-256",
                                                             u"Серийный номер",
                                                             u"Итог",
                                                             u"Сообщение",
                                                             u"Опоздание ответа (мс)"};

} // namespace yalmera::texts::files
