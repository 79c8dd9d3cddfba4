// The plan codec: each conversion of the layout tables, both ways. Encoding takes what the data
// check accepted; decoding gives the texts the read-back shows.
#include "field_codec.h"

#include "model/number_text.h"
#include "model/value_lists.h"

#include <algorithm>
#include <utility>

namespace yalmera {

namespace {

constexpr QStringView Plus = u"+";
constexpr QStringView Minus = u"-";

// A value the station keeps in one byte: its low eight bits, as the station's own program stored
// whatever integer the cell or key held.
quint8 lowByte(qint64 value)
{
    return static_cast<quint8>(static_cast<quint64>(value) & 0xFFu);
}

QString switchText(bool on)
{
    return (on ? Plus : Minus).toString();
}

quint32 withBit(quint32 value, quint8 mask, bool set)
{
    return set ? value | mask : value & ~quint32{mask};
}

// ---- Settings values ----------------------------------------------------------------------

quint32 settingValue(const Conversion& c, const PlanValue& value, quint32 held)
{
    switch (c.kind) {
    case Convert::Linear:
        return lowByte(c.a * value.number + c.b);
    case Convert::OnOff:
        return static_cast<quint32>(value.text == Plus ? c.a : c.b);
    case Convert::Divided:
        return static_cast<quint32>(std::clamp<std::int64_t>(divideRoundHalfEven(value.number, c.a), 0, 255));
    case Convert::SwitchBit:
        return withBit(held, c.mask, value.text == Plus);
    case Convert::NibbleDigits:
        // Two characters the check has found to be digits.
        return static_cast<quint32>((value.text[0].unicode() - u'0') << 4 | (value.text[1].unicode() - u'0'));
    case Convert::IdSymbols:
        return packIdCode(value.text);
    case Convert::HexDigits:
        return value.text.toUInt(nullptr, 16);
    case Convert::RecordPosition:
        return lowByte(value.number);
    default:
        return held;
    }
}

// ---- Channel rows -------------------------------------------------------------------------

struct RecordContext
{
    const StationType& band;
    quint8 dcsPolarity;
    bool ctcssMode; // neither DCS cell holds a code
};

qint32 offsetKHz(const Conversion& c, const StationType& band)
{
    return c.kind == Convert::ReceiveFrequencyWord ? band.receiveOffsetKHz : 0;
}

quint32 wordValue(const FrequencyWord& w)
{
    return quint32{w[0]} << 16 | quint32{w[1]} << 8 | w[2];
}
FrequencyWord wordOf(quint32 value)
{
    return {static_cast<quint8>(value >> 16), static_cast<quint8>(value >> 8), static_cast<quint8>(value)};
}

// The value a record field takes from its cell. The kind is a constant of each row, so that the
// compiler keeps only its own case: a check encodes every field of every row.
template <Convert Kind>
quint32 recordValue(const Conversion& c, const PlanValue& value, const RecordContext& context, quint32 held)
{
    switch (Kind) {
    case Convert::Number:
        return lowByte(value.number);
    case Convert::NumberOrNone:
        return value.none ? 0 : lowByte(value.number);
    case Convert::Ticked:
        return withBit(held, c.mask, value.number != 0);
    case Convert::NotTicked:
        return withBit(held, c.mask, value.number == 0);
    case Convert::TextBit:
        return withBit(held, c.mask, value.text == c.text);
    case Convert::NoneBit:
        return withBit(held, c.mask, value.none);
    case Convert::MarkBit:
        return withBit(held, c.mask, !value.none);
    case Convert::CtcssModeBit:
        return withBit(held, c.mask, context.ctcssMode);
    case Convert::ConstantBits:
        return withBit(held, c.mask, true);
    case Convert::TxOffBits:
        return withBit(withBit(held, static_cast<quint8>(c.a), value.text != TxOffModes[1]),
                       static_cast<quint8>(c.b), value.text != TxOffModes[2]);
    case Convert::ReceiveFrequencyWord:
    case Convert::TransmitFrequencyWord:
        if (value.none)
            return 0;
        return wordValue(
            frequencyWordForKHz(value.kHz + offsetKHz(c, context.band), context.band.dividerModulus));
    case Convert::CtcssCode:
        if (!context.ctcssMode)
            return held;
        return value.number > 0 ? lowByte(value.number) : CodeNone;
    case Convert::DcsCode:
        if (context.ctcssMode)
            return held;
        if (value.number <= 0)
            return CodeNone;
        // "Код_DCS" "+" sends each code as its inverse twin.
        return context.dcsPolarity == SwitchOn ? dcsInverse(static_cast<int>(value.number))
                                               : lowByte(value.number);
    default:
        return held;
    }
}

template <std::size_t Row>
void encodeField(const ChannelValues& values, const RecordContext& context, ChannelRecord& record)
{
    constexpr const RecordFieldLayout& place = RecordFields[Row];
    static const PlanValue NoValue;
    const PlanValue& value =
        place.column ? values[static_cast<std::size_t>(columnIndex(*place.column))] : NoValue;
    record.setValue(
        place, recordValue<place.conversion.kind>(place.conversion, value, context, record.value(place)));
}

template <std::size_t... Rows>
void encodeFields(std::index_sequence<Rows...>, const ChannelValues& values, const RecordContext& context,
                  ChannelRecord& record)
{
    (encodeField<Rows>(values, context, record), ...);
}

// A record's CTCSS or DCS code as the text of its list; nothing when the code is in no list.
std::optional<QString> codeText(const Conversion& c, quint8 code, const RecordContext& context)
{
    const bool ctcss = c.kind == Convert::CtcssCode;
    if (ctcss != context.ctcssMode || code == CodeNone)
        return NoneText.toString();
    if (ctcss)
        return code < CtcssTones.size() ? std::optional(CtcssTones[code].toString()) : std::nullopt;
    if (context.dcsPolarity == SwitchOff)
        return code < DcsCodes.size() ? std::optional(DcsCodes[code].toString()) : std::nullopt;
    // "+" polarity: the station holds the inverse twin's position.
    if (code < 1 || code >= DcsCodes.size())
        return std::nullopt;
    return DcsCodes[dcsInverse(code)].toString();
}

// The text of a frequency word: the repeater mark when its first byte is 0, otherwise the
// frequency in kHz with two decimals.
QString frequencyText(const Conversion& c, const FrequencyWord& word, const StationType& band)
{
    if (word[0] == 0)
        return c.text.toString();
    return twoDecimalsText(stepsToKHz(decodeFrequencyWordSteps(word, band.dividerModulus)) -
                           offsetKHz(c, band));
}

QString txOffText(const Conversion& c, quint32 value)
{
    if ((value & static_cast<quint32>(c.a)) == 0)
        return TxOffModes[1].toString();
    if ((value & static_cast<quint32>(c.b)) == 0)
        return TxOffModes[2].toString();
    return TxOffModes[0].toString();
}

// The cell text a record field shows, for the fields shown as text.
QString cellText(const Conversion& c, quint32 value, const RecordContext& context)
{
    switch (c.kind) {
    case Convert::Number:
        return QString::number(value);
    case Convert::NumberOrNone:
        return value >= 1 && value <= static_cast<quint32>(c.a) ? QString::number(value)
                                                                : NoneText.toString();
    case Convert::TextBit:
        return ((value & c.mask) != 0 ? c.text : c.other).toString();
    case Convert::TxOffBits:
        return txOffText(c, value);
    case Convert::ReceiveFrequencyWord:
    case Convert::TransmitFrequencyWord:
        return frequencyText(c, wordOf(value), context.band);
    default:
        return {};
    }
}

bool ctcssModeOf(const ChannelRecord& record)
{
    for (const RecordFieldLayout& place : RecordFields) {
        if (place.conversion.kind == Convert::CtcssModeBit)
            return (record.value(place) & place.conversion.mask) != 0;
    }
    return true;
}

} // namespace

void encodeSettings(const SettingValues& values, StreamContents& contents)
{
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& row = HeaderFields[i];
        if (row.conversion.kind != Convert::Nothing)
            setHeaderValue(contents, row,
                           settingValue(row.conversion, values[i], headerValue(contents, row)));
    }
}

QString settingText(const HeaderFieldLayout& row, const StreamContents& contents)
{
    const Conversion& c = row.conversion;
    const quint32 value = headerValue(contents, row);
    switch (c.kind) {
    case Convert::Linear:
        return QString::number((static_cast<qint64>(value) - c.b) / c.a);
    case Convert::OnOff:
        return switchText(value == static_cast<quint32>(c.a));
    case Convert::Divided:
        return QString::number(value * static_cast<quint32>(c.a));
    case Convert::SwitchBit:
        return switchText((value & c.mask) != 0);
    case Convert::NibbleDigits:
        return byteToHex(static_cast<quint8>(value));
    case Convert::IdSymbols:
        return idCodeText(static_cast<quint16>(value));
    case Convert::HexDigits: {
        QString digits;
        for (int shift = 8 * (row.width - 1); shift >= 0; shift -= 8)
            digits += byteToHex(static_cast<quint8>(value >> shift));
        return digits;
    }
    case Convert::RecordPosition: {
        // A position beyond the records names no channel.
        const DeviceImage& image = contents.image;
        const auto count = std::min<quint32>(image.channelCount, MaxRecords);
        return value < count ? QString::number(image.records[value].channelNumber()) : QString();
    }
    default:
        return {};
    }
}

ChannelRecord encodeRecord(const ChannelValues& values, const StationType& band, quint8 dcsPolarity)
{
    const auto code = [&values](Column column) {
        return values[static_cast<std::size_t>(columnIndex(column))].number;
    };
    const RecordContext context{band, dcsPolarity, code(Column::DcsRx) <= 0 && code(Column::DcsTx) <= 0};
    ChannelRecord record;
    encodeFields(std::make_index_sequence<RecordFields.size()>(), values, context, record);
    return record;
}

std::optional<UnlistedCode> decodeRecord(const ChannelRecord& record, const StationType& band,
                                         quint8 dcsPolarity, ChannelTable& table, int row)
{
    const RecordContext context{band, dcsPolarity, ctcssModeOf(record)};
    for (const RecordFieldLayout& place : RecordFields) {
        if (!place.column)
            continue;
        const Column column = *place.column;
        const Conversion& c = place.conversion;
        const quint32 value = record.value(place);
        switch (c.kind) {
        case Convert::Ticked:
        case Convert::NotTicked:
            table.setFlag(column, row, ((value & c.mask) != 0) == (c.kind == Convert::Ticked));
            break;
        case Convert::CtcssCode:
        case Convert::DcsCode: {
            const auto code = static_cast<quint8>(value);
            const std::optional<QString> text = codeText(c, code, context);
            if (!text)
                return UnlistedCode{code, context.ctcssMode};
            table.setCell(column, row, *text);
            break;
        }
        case Convert::NoneBit:
        case Convert::MarkBit:
            break; // not read back: the cell's own field tells
        default:
            table.setCell(column, row, cellText(c, value, context));
            break;
        }
    }
    return std::nullopt;
}

FrequencyWord encodeFrequencyWord(std::int64_t steps, qint32 modulus)
{
    const std::int64_t q = steps / modulus;
    const std::int64_t r = steps % modulus;
    return {
        static_cast<quint8>(0x10 + ((q >> 9) & 0x0F)),
        static_cast<quint8>((q >> 1) & 0xFF),
        static_cast<quint8>(((r * 4 + 1) & 0x7F) + ((q & 1) ? 0x80 : 0)),
    };
}

FrequencyWord frequencyWordForKHz(double kHz, qint32 modulus)
{
    return encodeFrequencyWord(static_cast<std::int64_t>(roundHalfEven(kHz / 6.25)), modulus);
}

std::int64_t decodeFrequencyWordSteps(const FrequencyWord& word, qint32 modulus)
{
    const std::int64_t q = (word[0] % 16) * 512 + word[1] * 2 + word[2] / 128;
    const std::int64_t r = divideRoundHalfEven(word[2] % 128, 4);
    return q * modulus + r;
}

double stepsToKHz(std::int64_t steps)
{
    return static_cast<double>(steps) * 6.25;
}

int idSymbolValue(QChar symbol)
{
    const char16_t c = symbol.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'D')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'd')
        return c - u'a' + 10;
    if (c == u'#')
        return 14;
    if (c == u'*')
        return 15;
    return 0;
}

quint16 packIdCode(QStringView text)
{
    quint16 code = 0;
    for (qsizetype i = 0; i < 4; ++i)
        code = static_cast<quint16>((code << 4) | (i < text.size() ? idSymbolValue(text[i]) : 0));
    return code;
}

QString idCodeText(quint16 code)
{
    static constexpr char16_t Symbols[] = u"0123456789ABCD#*";
    QString text;
    for (int shift = 12; shift >= 0; shift -= 4)
        text += QChar(Symbols[(code >> shift) & 0x0F]);
    return text;
}

namespace {

constexpr std::array<std::array<QStringView, 2>, 42> DcsTwins{{
    {u"023", u"047"}, {u"025", u"244"}, {u"026", u"464"}, {u"031", u"627"}, {u"032", u"051"},
    {u"036", u"172"}, {u"043", u"445"}, {u"054", u"413"}, {u"065", u"271"}, {u"071", u"306"},
    {u"072", u"245"}, {u"073", u"506"}, {u"074", u"174"}, {u"114", u"712"}, {u"115", u"152"},
    {u"116", u"754"}, {u"125", u"365"}, {u"131", u"364"}, {u"132", u"546"}, {u"134", u"223"},
    {u"143", u"412"}, {u"155", u"731"}, {u"156", u"265"}, {u"162", u"503"}, {u"165", u"251"},
    {u"205", u"263"}, {u"226", u"411"}, {u"243", u"351"}, {u"261", u"732"}, {u"311", u"664"},
    {u"315", u"423"}, {u"331", u"465"}, {u"343", u"532"}, {u"346", u"612"}, {u"371", u"734"},
    {u"431", u"723"}, {u"432", u"516"}, {u"466", u"662"}, {u"565", u"703"}, {u"606", u"631"},
    {u"624", u"632"}, {u"654", u"743"},
}};

// DcsInverseTable, indexed by DcsCodes position; built once from the twin pairs.
std::array<quint8, 85> makeDcsInverseTable()
{
    std::array<quint8, 85> table{};
    for (const auto& pair : DcsTwins) {
        const int a = firstPosition(DcsCodes, pair[0]);
        const int b = firstPosition(DcsCodes, pair[1]);
        table[static_cast<std::size_t>(a)] = static_cast<quint8>(b);
        table[static_cast<std::size_t>(b)] = static_cast<quint8>(a);
    }
    return table;
}

} // namespace

quint8 dcsInverse(int position)
{
    static const std::array<quint8, 85> DcsInverseTable = makeDcsInverseTable();
    if (position < 0 || position >= static_cast<int>(DcsInverseTable.size()))
        return 0;
    return DcsInverseTable[static_cast<std::size_t>(position)];
}

quint8 toneCode(int hz)
{
    constexpr int ToneRow = headerRowOf(HeaderField::ToneCode, keys::Tones[0]);
    static_assert(ToneRow >= 0);
    return static_cast<quint8>(settingValue(HeaderFields[ToneRow].conversion, {{}, hz, 0}, 0));
}

QString byteToHex(quint8 byte)
{
    static constexpr char16_t Digits[] = u"0123456789ABCDEF";
    const QChar pair[2] = {QChar(Digits[byte >> 4]), QChar(Digits[byte & 0x0F])};
    return QString(pair, 2);
}

} // namespace yalmera
