#include "plan_file.h"

#include "ini_document.h"
#include "plan_text_codec.h"

#include "model/ini_syntax.h"
#include "model/value_lists.h"
#include "model/whole_file.h"

namespace yalmera::files {

namespace {

// The plan files' own messages.
const QString NoTableMessage = QStringLiteral(
    "Нет данных для записи: сначала создайте шаблон или прочитайте данные из файла или из радиостанции.");
// After a band change the rows have lost their flags; writing them would store every flag as
// "нет" without a word.
const QString NoFlagsMessage = QStringLiteral(
    "В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": таблица не будет записана в файл. "
    "Создайте шаблон или прочитайте файл заново");
const QString NoChannelsMessage =
    QStringLiteral("В файле нет данных каналов (раздел [1] отсутствует или пуст). Файл не прочитан.");
const QString TooManyChannelsMessage = QStringLiteral("В файле больше 99 каналов. Файл не прочитан.");
const QString TooLargeMessage =
    QStringLiteral("Файл слишком велик для файла каналов (больше 1 МБ). Файл не прочитан.");
const QString UnencodableMessage = QStringLiteral("Символ «%1» (%2) %3 нельзя записать в файл: в кодировке "
                                                  "Windows-1251 такого символа нет. Файл не записан.");
const QString LineBreakMessage =
    QStringLiteral("Текст %1 содержит перевод строки и не может быть записан в файл. Файл не записан.");
const QString UnwritableMessage =
    QStringLiteral("Данные нельзя записать в файл в кодировке Windows-1251. Файл не записан.");
const QString SettingsPlace = QStringLiteral("в строке %1 общих установок");
const QString CellPlace = QStringLiteral("в канале %1 (строка %2 таблицы), столбец «%3»,");

const QString TypeKey = QStringLiteral("Тип");
const QString ModuleTypeKey = QStringLiteral("ТипВУ");
constexpr QStringView Yes = u"да";
constexpr QStringView No = u"нет";

// The general-settings keys the reader keeps, in the order it rebuilds the text, with the value
// it takes when the file lacks the key. These are the reader's own, not the template's.
struct SettingsKey
{
    QStringView key;
    QStringView defaultValue;
};
constexpr SettingsKey ReadSettingsKeys[] = {
    {u"Серийный номер", u"100000"},
    {u"Id_номер", u"1000"},
    {u"Тон1", u"1000"},
    {u"Тон2", u"1000"},
    {u"Тон3", u"1000"},
    {u"Тон4", u"1000"},
    {u"Тон5", u"1000"},
    {u"Тон6", u"1000"},
    {u"Тон7", u"1000"},
    {u"Тон8", u"1000"},
    {u"Тон9", u"1000"},
    {u"Тон10", u"1000"},
    {u"P_1", u"1"},
    {u"P_2", u"1"},
    {u"P_3", u"1"},
    {u"P_4", u"1"},
    {u"Яркость диодов", u"1"},
    {u"Громкость", u"8"},
    {u"МинГромкость", u"1"},
    {u"Пик_кнопок", u"+"},
    {u"ФВ", u"00"},
    {u"Код_DCS", u"+"},
    {u"Ф_Скан", u"-"},
    {u"Ф_V", u"-"},
    {u"ВУ", u"-"},
    {u"СК", u"1"},
};

// The keys of a channel section in the order the writer sets them, one per table column, with
// the reader's value for a missing key. A flag is written "да" / "нет"; when read, only "нет"
// clears it, so the default "нет" makes a missing flag key a cleared flag.
struct ChannelKey
{
    QStringView key;
    Column column;
    QStringView defaultValue;
};
constexpr ChannelKey ChannelKeys[ColumnCount] = {
    {u"Номер", Column::ChannelNumber, u"1"},  {u"Rx", Column::RxFrequency, u"144000"},
    {u"Tx", Column::TxFrequency, u"144000"},  {u"CTCSS_Rx", Column::CtcssRx, NoneText},
    {u"CTCSS_Tx", Column::CtcssTx, NoneText}, {u"DCS_Rx", Column::DcsRx, NoneText},
    {u"DCS_Tx", Column::DcsTx, NoneText},     {u"Тон_Rx", Column::ToneRx, NoneText},
    {u"Тон_Tx", Column::ToneTx, NoneText},    {u"ШП", Column::Squelch, u"1"},
    {u"P_max", Column::PowerMax, u"1"},       {u"P_min", Column::PowerMin, u"1"},
    {u"Сканировать", Column::Scan, No},       {u"Sw", Column::Width, u"25"},
    {u"Id_Тон", Column::IdTone, No},          {u"Tx_Off", Column::TxOff, u"Норм"},
    {u"Время", Column::Time, NoneText},       {u"Активен", Column::Active, No},
};

// The text a row stores under a key: the cell, or the flag as "да" / "нет". A row without flags
// (they are removed with a band change) has no check box set and is written "нет".
QString storedText(const ChannelTable& table, const ChannelKey& key, int row)
{
    if (isFlagColumn(key.column))
        return (table.flag(key.column, row).value_or(false) ? Yes : No).toString();
    return table.cell(key.column, row);
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

QString codePointText(const QString& character)
{
    return QStringLiteral("U+%1").arg(character.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
}

QString cellPlace(const ChannelTable& table, const ChannelKey& key, int row)
{
    // One arg() call: a "%2" typed into a cell must stay text.
    return CellPlace.arg(table.cell(Column::ChannelNumber, row), QString::number(row),
                         columnCaption(key.column).trimmed());
}

// A value that would break the file's line structure or lose characters on the way to
// Windows-1251, with where it stands; nothing when the whole plan can be written.
std::optional<UserMessage> unwritableText(const GeneralSettings& settings, const ChannelTable& table)
{
    const auto check = [](QStringView text, const QString& place) -> std::optional<UserMessage> {
        if (hasLineBreak(text))
            return UserMessage::notice(LineBreakMessage.arg(place));
        if (const auto character = firstUnencodableCharacter(text))
            return UserMessage::notice(UnencodableMessage.arg(*character, codePointText(*character), place));
        return std::nullopt;
    };
    for (qsizetype i = 0; i < settings.lines().size(); ++i) {
        if (auto refusal = check(settings.lines()[i], SettingsPlace.arg(i + 1)))
            return refusal;
    }
    for (int row = 1; row < table.rowCount(); ++row) {
        for (const ChannelKey& key : ChannelKeys) {
            if (auto refusal = check(storedText(table, key, row), cellPlace(table, key, row)))
                return refusal;
        }
    }
    return std::nullopt;
}

bool anyLineBreak(const GeneralSettings& settings, const ChannelTable& table)
{
    for (const QString& line : settings.lines()) {
        if (hasLineBreak(line))
            return true;
    }
    for (int row = 1; row < table.rowCount(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (hasLineBreak(table.cell(columnAt(column), row)))
                return true;
        }
    }
    return false;
}

} // namespace

PlanEncodeResult tryEncodePlan(const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                               quint8 moduleType)
{
    if (const int row = table.firstRowWithoutFlags())
        return {{}, UserMessage::notice(NoFlagsMessage.arg(row))};
    // A line break inside a value would start new lines, perhaps new sections, in the file.
    if (anyLineBreak(settings, table))
        return {{}, unwritableText(settings, table).value_or(UserMessage::notice(UnwritableMessage))};

    IniDocument document(settings.lines());
    document.setValue(GeneralSettings::sectionName(), TypeKey, QString::number(typeCode));
    document.setValue(GeneralSettings::sectionName(), ModuleTypeKey, QString::number(moduleType));
    for (int row = 1; row < table.rowCount(); ++row) {
        const QString section = QString::number(row);
        for (const ChannelKey& key : ChannelKeys)
            document.setValue(section, key.key.toString(), storedText(table, key, row));
    }

    if (auto bytes = encodeWindows1251(document.text(u"\r\n")))
        return {std::move(*bytes), {}};
    // Rare: look for the culprit only now, so that a plan without one is encoded once.
    return {{}, unwritableText(settings, table).value_or(UserMessage::notice(UnwritableMessage))};
}

QByteArray encodePlan(const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                      quint8 moduleType)
{
    return tryEncodePlan(settings, table, typeCode, moduleType).bytes;
}

PlanDecodeResult decodePlan(const QByteArray& fileBytes)
{
    const IniDocument document = IniDocument::fromText(decodePlanText(fileBytes));
    const QString general = GeneralSettings::sectionName();

    // Channel sections count from "1" up to the first missing or keyless one.
    int channels = 0;
    while (channels <= MaxChannels && document.hasKeys(QString::number(channels + 1)))
        ++channels;
    if (channels == 0)
        return {std::nullopt, UserMessage::notice(NoChannelsMessage)};
    if (channels > MaxChannels)
        return {std::nullopt, UserMessage::notice(TooManyChannelsMessage)};

    PlanFileContents contents;
    QStringList lines{GeneralSettings::sectionLine()};
    for (const SettingsKey& key : ReadSettingsKeys)
        lines.append(key.key.toString() + u'=' +
                     document.value(general, key.key, key.defaultValue.toString()));
    contents.settings.setLines(std::move(lines));

    // Whole numbers only (decimal, "0x" or "$" hexadecimal); the low eight bits are kept.
    const auto byteValue = [&](const QString& key) {
        const qint32 value = ini::integerValue(document.value(general, key, QString())).value_or(0);
        return static_cast<quint8>(value & 0xFF);
    };
    contents.typeCode = byteValue(TypeKey);
    contents.moduleType = byteValue(ModuleTypeKey);

    ChannelTable& table = contents.table;
    table.setRowCount(channels + 1);
    table.writeCaptions(CaptionStyle::FileRead);
    table.createFlags();
    for (int row = 1; row <= channels; ++row) {
        const QString section = QString::number(row);
        for (const ChannelKey& key : ChannelKeys) {
            const QString value = document.value(section, key.key, key.defaultValue.toString());
            if (isFlagColumn(key.column))
                table.setFlag(key.column, row, value != No);
            else
                table.setCell(key.column, row, value);
        }
    }
    return {std::move(contents), {}};
}

std::optional<UserMessage> planWriteRefusal(bool tableCreated, const ChannelTable& table)
{
    if (!tableCreated)
        return UserMessage::notice(NoTableMessage);
    if (const int row = table.firstRowWithoutFlags())
        return UserMessage::notice(NoFlagsMessage.arg(row));
    return std::nullopt;
}

UserMessage writePlanFile(const QString& path, const GeneralSettings& settings, const ChannelTable& table,
                          quint8 typeCode, quint8 moduleType)
{
    const PlanEncodeResult encoded = tryEncodePlan(settings, table, typeCode, moduleType);
    if (!encoded.ok())
        return encoded.error;

    if (const QString error = saveWholeFile(path, encoded.bytes); !error.isEmpty())
        return UserMessage::failure(error);
    return {};
}

PlanDecodeResult readPlanFile(const QString& path)
{
    const WholeFileRead read = readWholeFile(path, MaxPlanFileBytes);
    if (read.tooLarge)
        return {std::nullopt, UserMessage::notice(TooLargeMessage)};
    if (!read.bytes)
        return {std::nullopt, UserMessage::failure(read.error)};
    return decodePlan(*read.bytes);
}

} // namespace yalmera::files
