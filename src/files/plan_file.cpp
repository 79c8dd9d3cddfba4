#include "plan_file.h"

#include "files/files_texts.h"
#include "model/settings_keys.h"

#include "ini_document.h"
#include "plan_text_codec.h"

#include "files/whole_file.h"
#include "model/ini_syntax.h"
#include "model/value_lists.h"

namespace yalmera::files {

namespace {

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
    {keys::SerialNumber, u"100000"},
    {keys::IdNumber, u"1000"},
    {keys::Tones[0], u"1000"},
    {keys::Tones[1], u"1000"},
    {keys::Tones[2], u"1000"},
    {keys::Tones[3], u"1000"},
    {keys::Tones[4], u"1000"},
    {keys::Tones[5], u"1000"},
    {keys::Tones[6], u"1000"},
    {keys::Tones[7], u"1000"},
    {keys::Tones[8], u"1000"},
    {keys::Tones[9], u"1000"},
    {keys::Powers[0], u"1"},
    {keys::Powers[1], u"1"},
    {keys::Powers[2], u"1"},
    {keys::Powers[3], u"1"},
    {keys::Brightness, u"1"},
    {keys::Volume, u"8"},
    {keys::MinVolume, u"1"},
    {keys::KeyBeep, u"+"},
    {keys::Fv, u"00"},
    {keys::DcsPolarity, u"+"},
    {keys::ScanFunction, u"-"},
    {keys::VFunction, u"-"},
    {keys::Module, u"-"},
    {keys::SpecialChannel, u"1"},
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

QString cellPlace(const ChannelTable& table, const ChannelKey& key, int row)
{
    // One arg() call: a "%2" typed into a cell must stay text.
    return texts::files::CellPlace.toString().arg(table.cell(Column::ChannelNumber, row),
                                                  QString::number(row), columnCaption(key.column).trimmed());
}

// A value that would break the file's line structure or lose characters on the way to
// Windows-1251, with where it stands; nothing when the whole plan can be written.
std::optional<UserMessage> unwritableText(const GeneralSettings& settings, const ChannelTable& table)
{
    const auto check = [](QStringView text, const QString& place) -> std::optional<UserMessage> {
        if (hasLineBreak(text))
            return UserMessage::notice(texts::files::LineBreak.toString().arg(place));
        if (const auto character = firstUnencodableCharacter(text))
            return UserMessage::notice(
                texts::files::Unencodable.toString().arg(*character, codePointText(*character), place));
        return std::nullopt;
    };
    for (qsizetype i = 0; i < settings.lines().size(); ++i) {
        if (auto refusal = check(settings.lines()[i], texts::files::SettingsPlace.toString().arg(i + 1)))
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
        return {{}, UserMessage::notice(texts::files::NoFlags.toString().arg(row))};
    // A line break inside a value would start new lines, perhaps new sections, in the file.
    if (anyLineBreak(settings, table))
        return {{},
                unwritableText(settings, table)
                    .value_or(UserMessage::notice(texts::files::Unwritable.toString()))};

    IniDocument document(settings.lines());
    document.setValue(GeneralSettings::sectionName(), keys::TypeCode.toString(), QString::number(typeCode));
    document.setValue(GeneralSettings::sectionName(), keys::ModuleType.toString(),
                      QString::number(moduleType));
    for (int row = 1; row < table.rowCount(); ++row) {
        const QString section = QString::number(row);
        for (const ChannelKey& key : ChannelKeys)
            document.setValue(section, key.key.toString(), storedText(table, key, row));
    }

    if (auto bytes = encodeWindows1251(document.text(u"\r\n")))
        return {std::move(*bytes), {}};
    // Rare: look for the culprit only now, so that a plan without one is encoded once.
    return {
        {},
        unwritableText(settings, table).value_or(UserMessage::notice(texts::files::Unwritable.toString()))};
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
        return {std::nullopt, UserMessage::notice(texts::files::NoChannels.toString())};
    if (channels > MaxChannels)
        return {std::nullopt, UserMessage::notice(texts::files::TooManyChannels.toString())};

    PlanFileContents contents;
    QStringList lines{GeneralSettings::sectionLine()};
    for (const SettingsKey& key : ReadSettingsKeys)
        lines.append(key.key.toString() + u'=' +
                     document.value(general, key.key, key.defaultValue.toString()));
    contents.settings.setLines(std::move(lines));
    contents.serialNumber = document.value(general, keys::SerialNumber).value_or(QString()).trimmed();

    // Whole numbers only (decimal, "0x" or "$" hexadecimal); the low eight bits are kept.
    const auto byteValue = [&](const QString& key) {
        const qint32 value = ini::integerValue(document.value(general, key, QString())).value_or(0);
        return static_cast<quint8>(value & 0xFF);
    };
    contents.typeCode = byteValue(keys::TypeCode.toString());
    contents.moduleType = byteValue(keys::ModuleType.toString());

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
        return UserMessage::notice(texts::files::NoTable.toString());
    if (const int row = table.firstRowWithoutFlags())
        return UserMessage::notice(texts::files::NoFlags.toString().arg(row));
    return std::nullopt;
}

UserMessage writePlanFile(const QString& path, const GeneralSettings& settings, const ChannelTable& table,
                          quint8 typeCode, quint8 moduleType)
{
    return saveEncoded(path, tryEncodePlan(settings, table, typeCode, moduleType));
}

UserMessage saveEncoded(const QString& path, const PlanEncodeResult& encoded)
{
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
        return {std::nullopt, UserMessage::notice(texts::files::TooLarge.toString())};
    if (!read.bytes)
        return {std::nullopt, UserMessage::failure(read.error)};
    return decodePlan(*read.bytes);
}

} // namespace yalmera::files
