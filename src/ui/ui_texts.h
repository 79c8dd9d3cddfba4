#pragma once

#include <QStringView>

#include <array>

// The windows' own Russian texts: captions, menu items, hints, labels and the messages the windows
// themselves give, as views of the literals. Texts of the rules (template, data check, files, link, protocol)
// stay with the layer that owns them.
namespace yalmera::texts::ui {

inline constexpr QStringView ProgramTitle = u"Ялмера";

// Main window menus, in menu-bar order.
inline constexpr QStringView ChannelsMenu = u"Каналы";
inline constexpr QStringView ChannelsMenuHint = u"Программирование каналов радоистанции";
inline constexpr QStringView CreateTemplateItem = u"Создать шаблон";
inline constexpr QStringView WriteFileItem = u"Запись в файл";
inline constexpr QStringView ReadFileItem = u"Чтение файла";
inline constexpr QStringView EquipmentMenu = u"Доп. оборудование";
inline constexpr QStringView ModulesMenu = u"Модули ";
inline constexpr QStringView RepeaterItem = u"Ретранслятор";
inline constexpr QStringView CheckItem = u"Контроль";
inline constexpr QStringView CheckItemHint = u"Проверка введенных данных";
inline constexpr QStringView StationMenu = u"Станция";
inline constexpr QStringView CreateProtocolItem = u"Создать протокол";
inline constexpr QStringView StationLinkItem = u"Запись/Чтение данных";
inline constexpr QStringView CompareStationItem = u"Сравнить со станцией";
inline constexpr QStringView CompareStationHint =
    u"Прочитать станцию и отметить, чем она отличается от плана; план не меняется";
inline constexpr QStringView StationTypeMenu = u"Тип радиостанции";
inline constexpr QStringView Band30to60Item = u"30-60 МГц";
inline constexpr QStringView Band144to174Item = u"144-174 МГц";
inline constexpr QStringView Band300to345Item = u"300-345 МГц";
inline constexpr QStringView Band400to486Item = u"400-486 Мгц";
inline constexpr QStringView ExitItem = u"Выход";
inline constexpr QStringView ExitItemHint = u"Закрытие программы";

// "Каналы": saving back to the plan's own file, spreadsheet files and the plans last used.
inline constexpr QStringView SaveItem = u"Сохранить";
inline constexpr QStringView SaveItemHint =
    u"Записать план в файл, из которого он прочитан или в который записан последним";
inline constexpr QStringView RecentMenu = u"Последние файлы";
inline constexpr QStringView ExportCsvItem = u"Экспорт CSV";
inline constexpr QStringView ExportCsvHint = u"Каналы таблицей для электронных таблиц (CSV, разделитель «;»)";
inline constexpr QStringView ImportCsvItem = u"Импорт CSV";
inline constexpr QStringView ImportCsvHint = u"Каналы из таблицы CSV; общие установки остаются прежними";

// "Правка", after "Выход" so that the menus before it keep their places.
inline constexpr QStringView EditMenu = u"Правка";
inline constexpr QStringView EditMenuHint = u"Отмена, буфер обмена и строки таблицы каналов";
inline constexpr QStringView UndoItem = u"Отменить";
inline constexpr QStringView RedoItem = u"Повторить";
// %1: the step's name below.
inline constexpr QStringView UndoHint = u"Отменить: %1";
inline constexpr QStringView RedoHint = u"Повторить: %1";
inline constexpr QStringView CopyItem = u"Копировать";
inline constexpr QStringView PasteItem = u"Вставить";
inline constexpr QStringView InsertChannelItem = u"Добавить канал";
inline constexpr QStringView RemoveChannelsItem = u"Удалить каналы";
inline constexpr QStringView MoveUpItem = u"Переместить вверх";
inline constexpr QStringView MoveDownItem = u"Переместить вниз";

// "Вид" and "Справка", after "Правка".
inline constexpr QStringView ViewMenu = u"Вид";
inline constexpr QStringView RoomyWindowItem = u"Просторное окно";
inline constexpr QStringView RoomyWindowHint =
    u"Окно можно растянуть или развернуть: таблица и общие установки занимают место";
inline constexpr QStringView HelpMenu = u"Справка";
inline constexpr QStringView GuideItem = u"Руководство";
inline constexpr QStringView JournalItem = u"Журнал обмена";
inline constexpr QStringView JournalHint =
    u"Журнал обмена таблицей: отбор по станции, дате, действию и итогу, копии прочитанных планов";
inline constexpr QStringView AboutItem = u"О программе";

// The guide and "О программе". %1: the places the guide was looked for, one a line.
inline constexpr QStringView GuideCaption = u"Руководство пользователя";
inline constexpr QStringView GuideMissing =
    u"Руководство пользователя не найдено. Программа искала его здесь:\n%1";
// %1: the folder.
inline constexpr QStringView JournalFolderUnopened = u"Папку журнала обмена открыть не удалось: %1";

// The journal window: its filters, its buttons and the counts below the table (%1 rows shown,
// %2 rows in all, %3 lines that are no journal line).
inline constexpr QStringView JournalCaption = u"Журнал обмена";
inline constexpr QStringView JournalSerialLabel = u"Серийный номер:";
inline constexpr QStringView JournalFromLabel = u"с";
inline constexpr QStringView JournalToLabel = u"по";
inline constexpr QStringView JournalAnyDate = u"—";
inline constexpr QStringView JournalOperationLabel = u"Действие:";
inline constexpr QStringView JournalOutcomeLabel = u"Итог:";
inline constexpr QStringView JournalEveryValue = u"все";
inline constexpr QStringView JournalResetFilter = u"Все строки";
inline constexpr QStringView JournalOpenPlan = u"Открыть план";
inline constexpr QStringView JournalOpenPlanHint =
    u"Открыть в главном окне файл плана строки: у чтения это копия прочитанного плана";
inline constexpr QStringView JournalCopy = u"Копировать";
inline constexpr QStringView JournalExport = u"Экспорт CSV";
inline constexpr QStringView JournalExportHint =
    u"Выделенные строки (без выделения все показанные) в файл CSV";
inline constexpr QStringView JournalOpenFolder = u"Открыть папку";
inline constexpr QStringView JournalCounts = u"Показано строк: %1 из %2";
inline constexpr QStringView JournalForeignLines = u"; не разобрано строк: %1";
// %1 the version, %2 Qt's, %3 the journal, %4 the backups of station reads, %5 the recovery copies.
inline constexpr QStringView AboutText =
    u"Программатор Ялмера %1\n"
    u"Частотные планы для радиостанций «Ялмера»: проверка, запись в станцию и чтение из неё.\n"
    u"Лицензия: GNU GPL версии 3 или более поздней; программа поставляется без каких-либо гарантий.\n"
    u"Qt %2\n\n"
    u"Журнал обмена: %3\n"
    u"Копии прочитанных из станций планов: %4\n"
    u"Копии несохранённых планов: %5";

// The steps "Отменить" and "Повторить" name.
inline constexpr QStringView CellEditStep = u"изменение ячейки";
inline constexpr QStringView FlagStep = u"изменение отметки";
inline constexpr QStringView RepeaterMarkStep = u"отметка ретранслятора";
inline constexpr QStringView PasteStep = u"вставка";
inline constexpr QStringView InsertChannelStep = u"добавление канала";
inline constexpr QStringView RemoveChannelsStep = u"удаление каналов";
inline constexpr QStringView MoveChannelsStep = u"перемещение каналов";
inline constexpr QStringView TemplateStep = u"создание шаблона";
inline constexpr QStringView FileReadStep = u"чтение файла";
inline constexpr QStringView StationReadStep = u"чтение данных из радиостанции";
inline constexpr QStringView CsvImportStep = u"импорт CSV";

// "Модули " items; the position is the module type sent to the station and kept in files as "ТипВУ".
inline constexpr std::array<QStringView, 5> ModuleItems{u"Нет модуля", u"Маскиратор 07ПЛ300-02Г",
                                                        u"Модуль Тримлинк", u"Маскиратор Зорпик",
                                                        u"Маскиратор типа \"Тенир\""};

// Questions: the buttons, the unsaved plan and its recovery copy.
inline constexpr QStringView YesButton = u"Да";
inline constexpr QStringView NoButton = u"Нет";
inline constexpr QStringView CancelButton = u"Отмена";
inline constexpr QStringView SaveChangesQuestion = u"Сохранить изменения?";
// Beside the menus while the plan differs from its file (or no file holds it).
inline constexpr QStringView UnsavedMark = u"изменён";
inline constexpr QStringView UnsavedMarkHint = u"План изменён после последней записи в файл или чтения файла";
// The count of the refusals "Контроль" would give, beside the unsaved mark.
inline constexpr QStringView RefusalCount = u"ошибок: %1";
inline constexpr QStringView RefusalCountHint =
    u"Ячейки и строки, которые не пропустит «Контроль», отмечены красным.\n"
    u"F8 — следующая ошибка, Shift+F8 — предыдущая; щелчок — первая.";
// The count of the places where a compared station holds something else, beside the refusals.
inline constexpr QStringView DifferenceCount = u"отличий: %1";
inline constexpr QStringView DifferenceCountHint =
    u"Ячейки и строки, в которых станция при последнем сравнении хранила другое, отмечены синим.\n"
    u"F7 — следующее отличие, Shift+F7 — предыдущее; щелчок — первое. Отметки снимает правка плана.";
// %1: the station's value, %2: the plan's.
inline constexpr QStringView DifferenceMark = u"в станции: \"%1\", в плане: \"%2\"";
inline constexpr QStringView ChannelNotInStation = u"этого канала нет в станции";
inline constexpr QStringView ChannelOnlyInStation = u"канал %1: есть только в станции";
// %1: the folder, %2: the system's reason.
inline constexpr QStringView RecoveryNotKept = u"Копия плана для восстановления не записана в папку «%1»: %2";
// %1: when the copy was kept, %2: the plan's file.
inline constexpr QStringView RecoveryOffer =
    u"Программа была завершена, не сохранив изменённый план (копия от %1, файл %2).\nВосстановить его?";
inline constexpr QStringView RecoveryNoFile = u"не задан";
inline constexpr QStringView RecoveryStep = u"восстановление плана";

// Template panel.
inline constexpr QStringView CountLabel = u"Кол-во каналов";
inline constexpr QStringView StartLabel = u"Начальная частота, кГц";
inline constexpr QStringView OffsetLabel = u"Смещение, кГц";
inline constexpr QStringView CountFieldStart = u"10";
inline constexpr QStringView OffsetFieldStart = u"1000";
inline constexpr QStringView OkButton = u"Ok";

// Repeater panel.
inline constexpr QStringView RepeaterTitle = u"НАСТРОЙКА РАБОТЫ РЕТРАНСЛЯТОРА";
inline constexpr QStringView RepeaterChannelLabel = u"Номер канала";
inline constexpr QStringView RepeaterModeLabel = u"Рерим работы ретранслятора";
inline constexpr QStringView RepeaterReceive = u"Прием";
inline constexpr QStringView RepeaterTransmit = u"Передача";
inline constexpr QStringView RepeaterWriteButton = u"Запись";
inline constexpr QStringView RepeaterCloseButton = u"Закрыть";

// Key filters of the template and repeater fields.
inline constexpr QStringView DigitsOnly = u"Вводите только цифры от 0 до 9";
inline constexpr QStringView DigitsAndCommaOnly = u"Вводите только цифры от 0 до 9 и запятую";

// Plan-file dialogs.
inline constexpr QStringView SaveDialogTitle = u"Сохранение данных радиостанции на диск";
// The open dialog's, after the save dialog's, so that the window says what it is for.
inline constexpr QStringView OpenDialogTitle = u"Чтение данных радиостанции с диска";
// The save dialog's question before it creates a file that does not exist yet (%1: its name).
inline constexpr QStringView CreateFileQuestion = u"%1\nЭтот файл не существует.\nСоздать его?";
inline constexpr QStringView PlanFileFilter = u"Файлы(*.ini)";
inline constexpr QStringView DefaultPlanFileName = u"K17M_10.ini";
inline constexpr QStringView CsvExportTitle = u"Экспорт каналов в CSV";
inline constexpr QStringView CsvImportTitle = u"Импорт каналов из CSV";
inline constexpr QStringView CsvFileFilter = u"Таблицы CSV (*.csv)";
inline constexpr QStringView DefaultCsvFileName = u"каналы.csv";

// Station-link window.
inline constexpr QStringView StationLinkCaption = u"Прием и передача информации в станцию";
inline constexpr QStringView Com1Choice = u" COM1";
inline constexpr QStringView Com1Hint = u"Верхний разъем";
inline constexpr QStringView Com2Choice = u" COM2";
inline constexpr QStringView Com2Hint = u"Нижний разъем";
inline constexpr QStringView OtherPortChoice = u" Другой порт:";
inline constexpr QStringView OtherPortHint = u"Переходник USB или путь к устройству, например /dev/ttyUSB0";
inline constexpr QStringView NoPortNamed =
    u"Не указан порт: выберите его из списка или введите путь к устройству.";
inline constexpr QStringView LinkExitButton = u"Выход";
inline constexpr QStringView LinkWriteButton = u"Запись данных ";
inline constexpr QStringView LinkReadButton = u"Чтение данных ";
inline constexpr QStringView VerifyAfterWrite = u"Сверить после записи";
inline constexpr QStringView VerifyAfterWriteHint =
    u"После записи прочитать станцию и сравнить с записанным; план в программе не меняется";
inline constexpr QStringView VerifyMatches = u"Сверка после записи: совпадает.";
// %1: the fields that differ, one a line.
inline constexpr QStringView VerifyDiffers = u"Сверка после записи: станция хранит не то, что записано.\n%1";
inline constexpr QStringView LinkCompareButton = u"Сравнить";
inline constexpr QStringView LinkCompareHint =
    u"Прочитать станцию и сравнить с планом в программе; план не меняется, отличия отмечаются в главном окне";
inline constexpr QStringView StationHoldsPlan = u"Станция хранит этот план.";
// %1: how many places differ.
inline constexpr QStringView StationHoldsOtherPlan = u"Станция хранит другой план: отличий %1.";
// %1: how many of them are marked.
inline constexpr QStringView DifferencesMarked =
    u"Отмечено в главном окне: %1 (F7 — следующее отличие). Отметки снимает правка плана.";
// %1: the settings lines, "; " between them.
inline constexpr QStringView NotCompared = u"Не сравнивались (в станции для них нет места): %1";
// The byte trace of the exchanges ($YALMERA_TRACE); %1 the file, %2 the platform's reason.
inline constexpr QStringView TraceUnopened = u"Файл трассировки обмена «%1» не открыт: %2";
inline constexpr QStringView TraceIncomplete = u"Трассировка обмена в файл «%1» записана не полностью: %2";

// "Запись в несколько станций": one checked plan into the stations on several ports at once.
inline constexpr QStringView FleetWriteItem = u"Запись в несколько станций";
inline constexpr QStringView FleetWriteItemHint =
    u"Записать проверенный план сразу в станции на нескольких портах";
inline constexpr QStringView FleetPortsTitle = u"Порты станций";
inline constexpr QStringView FleetRefreshPorts = u"Обновить список";
inline constexpr QStringView FleetOtherPort = u"Другой порт:";
inline constexpr QStringView FleetAddPort = u"Добавить";
inline constexpr QStringView FleetSerialPlaceholder = u"серийный номер";
inline constexpr QStringView FleetTypedPort = u"введен вручную";
inline constexpr QStringView FleetSaveProtocols = u"Сохранять протоколы в ...";
inline constexpr QStringView FleetChooseFolder = u"Выбрать...";
inline constexpr QStringView FleetStartButton = u"Пуск";
inline constexpr QStringView FleetStopButton = u"Стоп";
inline constexpr QStringView FleetCopyButton = u"Копировать";
inline constexpr QStringView FleetNoPortChecked =
    u"Не отмечен ни один порт: отметьте порты, к которым подключены станции.";
inline constexpr QStringView FleetReady = u"Готово к записи: отмечено портов: %1.";
inline constexpr QStringView FleetNoProtocolFolder = u"Не указана папка для протоколов.";
inline constexpr QStringView FleetProtocolNeedsSerial =
    u"Для протокола нужен серийный номер каждой станции: введите его у порта %1 или включите "
    u"«Сверить после записи», и станция сообщит свой.";
inline constexpr QStringView FleetRunning = u"Идет запись: %1 из %2 станций завершили обмен.";
inline constexpr QStringView FleetStopping = u"Остановка: каждая станция остановится на следующем байте.";
// %1 stations that hold the plan, %2 all stations; then how many stations ended each way that
// was not clean, the worst first, each as "; сбой связи: 1", and the full stop.
inline constexpr QStringView FleetEnded = u"Запись завершена: план в %1 из %2 станций";
inline constexpr QStringView FleetEndedStopped = u"; прервано: %1";
inline constexpr QStringView FleetEndedLinkFailed = u"; сбой связи: %1";
inline constexpr QStringView FleetEndedNotSaved = u"; план не сохранен: %1";
inline constexpr QStringView FleetEndedRefused = u"; данные отклонены: %1";
inline constexpr QStringView FleetEndedNotRecorded = u"; не записаны журнал, копия или протокол: %1";
inline constexpr QStringView FleetStopQuestion = u"Идет запись в станции. Остановить ее и закрыть окно?";
// A station's step while it runs.
inline constexpr QStringView FleetStepWriting = u"запись";
inline constexpr QStringView FleetStepVerifying = u"сверка";
inline constexpr QStringView FleetWaiting = u"ожидание";
// A station's outcome.
inline constexpr QStringView FleetWritten = u"записано";
inline constexpr QStringView FleetVerified = u"записано и сверено";
inline constexpr QStringView FleetHoldsOther = u"записано, но станция хранит не то, что записано";
inline constexpr QStringView FleetProtocolSaved = u", протокол сохранен";
inline constexpr QStringView FleetProtocolNotSaved = u", протокол не сохранен: %1";
inline constexpr QStringView FleetRecordFailed = u", но не записано: %1";
// The result table's columns; a time as "31,4 с".
inline constexpr QStringView FleetPortColumn = u"Порт";
inline constexpr QStringView FleetSerialColumn = u"Серийный номер";
inline constexpr QStringView FleetOutcomeColumn = u"Итог";
inline constexpr QStringView FleetTimeColumn = u"Время";
inline constexpr QStringView FleetSeconds = u"%1 с";

// Protocol window.
inline constexpr QStringView ProtocolCaption = u"Создание протокола";
inline constexpr QStringView SerialNumberLabel = u"Серийный номер протокола";
inline constexpr QStringView ProtocolCreateButton = u"Создать";
inline constexpr QStringView ProtocolPreviewButton = u"Просмотр";
inline constexpr QStringView ProtocolExitButton = u"Выход";
// When no program opens the saved protocol: where it is (%1, the file's path), then why it is
// not open and the preview offered, which needs no word processor.
inline constexpr QStringView ProtocolSavedAt = u"Протокол сохранен в файле \"%1\".";
inline constexpr QStringView ProtocolNotOpened =
    u"Открыть его не удалось: на компьютере не найдена программа для документов .docx "
    u"(Word, LibreOffice Writer).\nПоказать протокол в окне просмотра, откуда его можно напечатать?";

} // namespace yalmera::texts::ui
