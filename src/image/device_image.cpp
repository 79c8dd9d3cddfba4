#include "device_image.h"

#include "model/number_text.h"
#include "model/value_lists.h"

#include <algorithm>

namespace yalmera {

QByteArray DeviceImage::writeStream(quint8 moduleType, quint8 typeCode) const
{
    return encodeStream(Stream::Write, {*this, moduleType, typeCode, 0});
}

quint32 headerValue(const StreamContents& contents, const HeaderFieldLayout& place)
{
    const DeviceImage& image = contents.image;
    switch (place.field) {
    case HeaderField::Command:
        return WriteCommand;
    case HeaderField::SerialNumber:
        return contents.serialNumber & 0xFFFFFF;
    case HeaderField::BrightnessCode:
        return image.brightnessCode;
    case HeaderField::Volume:
        return image.volume;
    case HeaderField::ChannelCount:
        return image.channelCount;
    case HeaderField::KeyBeep:
        return image.keyBeep;
    case HeaderField::SpecialChannelIndex:
        return image.specialChannelIndex;
    case HeaderField::ToneCode:
        return image.toneCodes[static_cast<std::size_t>(place.index)];
    case HeaderField::IdCode:
        return image.idCode;
    case HeaderField::FvCode:
        return image.fvCode;
    case HeaderField::MinVolume:
        return image.minVolume;
    case HeaderField::DcsPolarity:
        return image.dcsPolarity;
    case HeaderField::FunctionFlags:
        return image.functionFlags;
    case HeaderField::ModuleType:
        return contents.moduleType;
    case HeaderField::TypeCode:
        return contents.typeCode;
    case HeaderField::Unused:
        return 0;
    }
    return 0;
}

void setHeaderValue(StreamContents& contents, const HeaderFieldLayout& place, quint32 value)
{
    DeviceImage& image = contents.image;
    const auto byte = static_cast<quint8>(value);
    switch (place.field) {
    case HeaderField::Command:
    case HeaderField::Unused:
        break;
    case HeaderField::SerialNumber:
        contents.serialNumber = value & 0xFFFFFF;
        break;
    case HeaderField::BrightnessCode:
        image.brightnessCode = byte;
        break;
    case HeaderField::Volume:
        image.volume = byte;
        break;
    case HeaderField::ChannelCount:
        image.channelCount = byte;
        break;
    case HeaderField::KeyBeep:
        image.keyBeep = byte;
        break;
    case HeaderField::SpecialChannelIndex:
        image.specialChannelIndex = byte;
        break;
    case HeaderField::ToneCode:
        image.toneCodes[static_cast<std::size_t>(place.index)] = byte;
        break;
    case HeaderField::IdCode:
        image.idCode = static_cast<quint16>(value);
        break;
    case HeaderField::FvCode:
        image.fvCode = byte;
        break;
    case HeaderField::MinVolume:
        image.minVolume = byte;
        break;
    case HeaderField::DcsPolarity:
        image.dcsPolarity = byte;
        break;
    case HeaderField::FunctionFlags:
        image.functionFlags = byte;
        break;
    case HeaderField::ModuleType:
        contents.moduleType = byte;
        break;
    case HeaderField::TypeCode:
        // The write stream repeats the code; its first copy is the one taken.
        if (place.index == 0)
            contents.typeCode = byte;
        break;
    }
}

QByteArray encodeStream(Stream stream, const StreamContents& contents)
{
    StreamContents sent = contents;
    const int count = std::min<int>(sent.image.channelCount, MaxRecords);
    sent.image.channelCount = static_cast<quint8>(count);

    QByteArray bytes(streamSize(stream, count), '\0');
    for (const HeaderFieldLayout& place : HeaderFields) {
        const int offset = place.offset(stream);
        if (offset < 0)
            continue;
        quint32 value = headerValue(sent, place);
        for (int b = place.width - 1; b >= 0; --b, value >>= 8)
            bytes[offset + b] = static_cast<char>(value & 0xFF);
    }
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& record = sent.image.records[static_cast<std::size_t>(i)];
        std::copy(record.bytes.begin(), record.bytes.end(),
                  bytes.begin() + headerSize(stream) + RecordSize * i);
    }
    return bytes;
}

std::optional<StreamContents> decodeStream(Stream stream, QByteArrayView bytes)
{
    if (bytes.size() < headerSize(stream))
        return std::nullopt;
    StreamContents contents;
    for (const HeaderFieldLayout& place : HeaderFields) {
        const int offset = place.offset(stream);
        if (offset < 0)
            continue;
        quint32 value = 0;
        for (int b = 0; b < place.width; ++b)
            value = value << 8 | static_cast<quint8>(bytes[offset + b]);
        setHeaderValue(contents, place, value);
    }
    const qsizetype held = (bytes.size() - headerSize(stream)) / RecordSize;
    const int count = static_cast<int>(std::min<qsizetype>({contents.image.channelCount, MaxRecords, held}));
    contents.image.channelCount = static_cast<quint8>(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype start = headerSize(stream) + qsizetype{RecordSize} * i;
        std::copy_n(bytes.begin() + start, RecordSize,
                    contents.image.records[static_cast<std::size_t>(i)].bytes.begin());
    }
    return contents;
}

void takeReadBack(const DeviceImage& station, DeviceImage& image)
{
    StreamContents from{station, 0, 0, 0};
    StreamContents into{image, 0, 0, 0};
    for (const HeaderFieldLayout& place : HeaderFields) {
        if (place.readBack == ReadBackRule::Taken)
            setHeaderValue(into, place, headerValue(from, place));
    }
    const int count = std::min<int>(station.channelCount, MaxRecords);
    std::copy_n(station.records.begin(), count, into.image.records.begin());
    image = into.image;
}

namespace {

QString hexValue(quint32 value, int width)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(2 * width, u'0');
}

} // namespace

QStringList streamDifferences(Stream stream, const StreamContents& written, const StreamContents& held)
{
    QStringList lines;
    const auto differ = [&lines](const QString& field, quint32 a, quint32 b, int width) {
        if (a != b)
            lines << QStringLiteral("%1: written %2, station holds %3")
                         .arg(field, hexValue(a, width), hexValue(b, width));
    };
    for (const HeaderFieldLayout& place : HeaderFields) {
        if (place.offset(stream) >= 0)
            differ(place.name.toString(), headerValue(written, place), headerValue(held, place), place.width);
    }
    const int count = std::min<int>({written.image.channelCount, held.image.channelCount, MaxRecords});
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& a = written.image.records[static_cast<std::size_t>(i)];
        const ChannelRecord& b = held.image.records[static_cast<std::size_t>(i)];
        for (const RecordFieldLayout& place : RecordFields) {
            differ(
                QStringLiteral("record %1 (channel %2) %3").arg(i + 1).arg(a.channelNumber()).arg(place.name),
                a.value(place.field), b.value(place.field), place.width);
        }
    }
    return lines;
}

QString fieldAtByte(Stream stream, qsizetype index)
{
    for (const HeaderFieldLayout& place : HeaderFields) {
        const int offset = place.offset(stream);
        if (offset >= 0 && index >= offset && index < offset + place.width)
            return place.name.toString();
    }
    const qsizetype inRecords = index - headerSize(stream);
    const qsizetype record = inRecords / RecordSize;
    if (inRecords < 0 || record >= MaxRecords)
        return QStringLiteral("beyond the stream");
    const qsizetype inRecord = inRecords % RecordSize;
    for (const RecordFieldLayout& place : RecordFields) {
        if (inRecord >= place.offset && inRecord < place.offset + place.width)
            return QStringLiteral("record %1 %2").arg(record + 1).arg(place.name);
    }
    return {};
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
    return static_cast<quint8>(std::clamp<std::int64_t>(divideRoundHalfEven(hz, 10), 0, 255));
}

} // namespace yalmera
