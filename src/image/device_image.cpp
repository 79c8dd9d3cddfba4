#include "device_image.h"

#include <algorithm>
#include <type_traits>

namespace yalmera {

QByteArray DeviceImage::writeStream(quint8 moduleType, quint8 typeCode) const
{
    return encodeStream(Stream::Write, {*this, moduleType, typeCode, 0});
}

namespace {

// The value of an n-byte field: its low 8 n bits.
constexpr quint32 fitWidth(quint32 value, int width)
{
    return width >= 4 ? value : value & ((quint32{1} << (8 * width)) - 1);
}

// Hands use() the member of the contents that keeps a header field; the command and the unused
// bytes are kept nowhere, and use() is not called for them.
template <typename Contents, typename Use>
void withHeaderMember(Contents& contents, const HeaderFieldLayout& place, Use use)
{
    auto& image = contents.image;
    switch (place.field) {
    case HeaderField::Command:
    case HeaderField::Unused:
        return;
    case HeaderField::SerialNumber:
        return use(contents.serialNumber);
    case HeaderField::BrightnessCode:
        return use(image.brightnessCode);
    case HeaderField::Volume:
        return use(image.volume);
    case HeaderField::ChannelCount:
        return use(image.channelCount);
    case HeaderField::KeyBeep:
        return use(image.keyBeep);
    case HeaderField::SpecialChannelIndex:
        return use(image.specialChannelIndex);
    case HeaderField::ToneCode:
        return use(image.toneCodes[static_cast<std::size_t>(place.index)]);
    case HeaderField::IdCode:
        return use(image.idCode);
    case HeaderField::FvCode:
        return use(image.fvCode);
    case HeaderField::MinVolume:
        return use(image.minVolume);
    case HeaderField::DcsPolarity:
        return use(image.dcsPolarity);
    case HeaderField::FunctionFlags:
        return use(image.functionFlags);
    case HeaderField::ModuleType:
        return use(contents.moduleType);
    case HeaderField::TypeCode:
        return use(contents.typeCode);
    }
}

} // namespace

quint32 headerValue(const StreamContents& contents, const HeaderFieldLayout& place)
{
    if (place.field == HeaderField::Command)
        return WriteCommand;
    quint32 value = 0;
    withHeaderMember(contents, place, [&value](const auto& member) { value = member; });
    return fitWidth(value, place.width);
}

void setHeaderValue(StreamContents& contents, const HeaderFieldLayout& place, quint32 value)
{
    // The write stream repeats the band code; its first copy is the one taken.
    if (place.field == HeaderField::TypeCode && place.index > 0)
        return;
    withHeaderMember(contents, place, [value, &place](auto& member) {
        member = static_cast<std::remove_reference_t<decltype(member)>>(fitWidth(value, place.width));
    });
}

QByteArray encodeStream(Stream stream, const StreamContents& contents)
{
    StreamContents sent = contents;
    const int count = std::min<int>(sent.image.channelCount, MaxRecords);
    sent.image.channelCount = static_cast<quint8>(count);

    QByteArray bytes(streamSize(stream, count), '\0');
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& place = HeaderFields[i];
        const int offset = place.offset(stream);
        if (offset < 0 || !opensPlace(HeaderFields, i))
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
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& place = HeaderFields[i];
        const int offset = place.offset(stream);
        if (offset < 0 || !opensPlace(HeaderFields, i))
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
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& place = HeaderFields[i];
        if (place.readBack == ReadBackRule::Taken && opensPlace(HeaderFields, i))
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
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& place = HeaderFields[i];
        if (place.offset(stream) >= 0 && opensPlace(HeaderFields, i))
            differ(place.name.toString(), headerValue(written, place), headerValue(held, place), place.width);
    }
    const int count = std::min<int>({written.image.channelCount, held.image.channelCount, MaxRecords});
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& a = written.image.records[static_cast<std::size_t>(i)];
        const ChannelRecord& b = held.image.records[static_cast<std::size_t>(i)];
        for (std::size_t f = 0; f < RecordFields.size(); ++f) {
            const RecordFieldLayout& place = RecordFields[f];
            if (opensPlace(RecordFields, f))
                differ(QStringLiteral("record %1 (channel %2) %3")
                           .arg(i + 1)
                           .arg(a.channelNumber())
                           .arg(place.name),
                       a.value(place), b.value(place), place.width);
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

} // namespace yalmera
