#pragma once

#include "common/image_printers.h"

#include "image/device_image.h"
#include "image/field_codec.h"

#include <QByteArray>

namespace yalmera::test {

// Stream offsets for tests that patch single bytes, taken from the layout tables.
constexpr int readAt(HeaderField field, int index = 0)
{
    return headerField(field, index).readOffset;
}
constexpr int inRecord(RecordField field)
{
    return recordField(field).offset;
}
inline constexpr int ReadRecords = headerSize(Stream::Read); // the first record of a read stream

inline QByteArray hexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

// The image of the one-channel template (start 140000 kHz, default values and settings).
inline DeviceImage oneChannelTemplateImage()
{
    DeviceImage image;
    image.brightnessCode = 1;
    image.volume = 8;
    image.channelCount = 1;
    image.keyBeep = SwitchOn;
    image.specialChannelIndex = 0;
    image.toneCodes = {70, 75, 100, 120, 140, 155, 170, 199, 210, 240};
    image.idCode = 0x0001;
    image.fvCode = 0;
    image.minVolume = 0;
    image.dcsPolarity = SwitchOn;
    image.functionFlags = 0x06;
    const QByteArray record = hexBytes("BE0111CE81115E01C8C80000010104FF0000");
    for (int b = 0; b < ChannelRecord::Size; ++b)
        image.records[0].bytes[static_cast<std::size_t>(b)] = static_cast<quint8>(record[b]);
    return image;
}

// An image of n channels 1..n at 145000 + 12,5 i kHz with the template's other values.
inline DeviceImage channelsImage(int n)
{
    DeviceImage image = oneChannelTemplateImage();
    image.channelCount = static_cast<quint8>(n);
    for (int i = 0; i < n; ++i) {
        ChannelRecord record = image.records[0];
        record.setChannelNumber(static_cast<quint8>(i + 1));
        const double kHz = 145000 + 12.5 * i;
        record.setRxFrequencyWord(frequencyWordForKHz(kHz + 45000, 32));
        record.setTxFrequencyWord(frequencyWordForKHz(kHz, 32));
        image.records[static_cast<std::size_t>(i)] = record;
    }
    return image;
}

// An image whose header fields all hold different values (and differ from the record bytes), so
// that two fields swapped anywhere between the image and a stream change the bytes. Its one
// record is the one-channel template's.
inline DeviceImage distinctHeaderImage()
{
    DeviceImage image;
    image.brightnessCode = 0x21;
    image.volume = 0x22;
    image.channelCount = 1;
    image.keyBeep = 0x24;
    image.specialChannelIndex = 0x25;
    image.toneCodes = {0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39};
    image.idCode = 0x4142;
    image.fvCode = 0x43;
    image.minVolume = 0x44;
    image.dcsPolarity = 0x45;
    image.functionFlags = 0x46;
    const QByteArray record = QByteArray::fromHex("BE0111CE81115E01C8C80000010104FF0000");
    for (int b = 0; b < ChannelRecord::Size; ++b)
        image.records[0].bytes[static_cast<std::size_t>(b)] = static_cast<quint8>(record[b]);
    return image;
}
inline constexpr quint8 DistinctModuleType = 0x47;
inline constexpr quint8 DistinctTypeCode = 0x48; // names no band
inline constexpr quint32 DistinctSerialNumber = 0xABCDEF;

// The streams of that image, spelled out byte by byte.
inline QByteArray distinctHeaderWriteStream()
{
    return QByteArray::fromHex("14 21 22 01 24 25 30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 47 48 48 48"
                               "BE0111CE81115E01C8C80000010104FF0000");
}
inline QByteArray distinctHeaderReadStream()
{
    return QByteArray::fromHex(
        "AB CD EF 21 22 01 24 25 41 42 30 31 32 33 34 35 36 37 38 39 43 44 45 46 47 48 00 00"
        "BE0111CE81115E01C8C80000010104FF0000");
}

} // namespace yalmera::test
