#pragma once

#include "image/stream_layout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>

namespace yalmera {

using FrequencyWord = std::array<quint8, 3>;

// One channel's 18 bytes in the station's image; stream_layout.h places every field.
struct ChannelRecord
{
    static constexpr int Size = RecordSize;

    std::array<quint8, Size> bytes{};

    // A field's value, its bytes most significant first.
    constexpr quint32 value(const RecordFieldLayout& place) const
    {
        quint32 v = 0;
        for (int b = 0; b < place.width; ++b)
            v = v << 8 | bytes[static_cast<std::size_t>(place.offset + b)];
        return v;
    }
    constexpr void setValue(const RecordFieldLayout& place, quint32 v)
    {
        for (int b = place.width - 1; b >= 0; --b, v >>= 8)
            bytes[static_cast<std::size_t>(place.offset + b)] = static_cast<quint8>(v & 0xFF);
    }
    constexpr quint32 value(RecordField field) const { return value(recordField(field)); }
    constexpr void setValue(RecordField field, quint32 v) { setValue(recordField(field), v); }

    quint8 channelFlags() const { return byte(RecordField::ChannelFlags); }
    void setChannelFlags(quint8 v) { setValue(RecordField::ChannelFlags, v); }
    quint8 channelNumber() const { return byte(RecordField::ChannelNumber); }
    void setChannelNumber(quint8 v) { setValue(RecordField::ChannelNumber, v); }
    FrequencyWord rxFrequencyWord() const { return word(RecordField::RxFrequencyWord); }
    void setRxFrequencyWord(const FrequencyWord& w) { setWord(RecordField::RxFrequencyWord, w); }
    FrequencyWord txFrequencyWord() const { return word(RecordField::TxFrequencyWord); }
    void setTxFrequencyWord(const FrequencyWord& w) { setWord(RecordField::TxFrequencyWord, w); }
    quint8 rxCode() const { return byte(RecordField::RxCode); }
    void setRxCode(quint8 v) { setValue(RecordField::RxCode, v); }
    quint8 txCode() const { return byte(RecordField::TxCode); }
    void setTxCode(quint8 v) { setValue(RecordField::TxCode, v); }
    quint8 rxToneNumber() const { return byte(RecordField::RxToneNumber); }
    void setRxToneNumber(quint8 v) { setValue(RecordField::RxToneNumber, v); }
    quint8 txToneNumber() const { return byte(RecordField::TxToneNumber); }
    void setTxToneNumber(quint8 v) { setValue(RecordField::TxToneNumber, v); }
    quint8 squelch() const { return byte(RecordField::SquelchLevel); }
    void setSquelch(quint8 v) { setValue(RecordField::SquelchLevel, v); }
    quint8 powerMin() const { return byte(RecordField::PowerMin); }
    void setPowerMin(quint8 v) { setValue(RecordField::PowerMin, v); }
    quint8 powerMax() const { return byte(RecordField::PowerMax); }
    void setPowerMax(quint8 v) { setValue(RecordField::PowerMax, v); }
    quint8 extraFlags() const { return byte(RecordField::ExtraFlags); }
    void setExtraFlags(quint8 v) { setValue(RecordField::ExtraFlags, v); }
    quint8 timer() const { return byte(RecordField::TimerValue); }
    void setTimer(quint8 v) { setValue(RecordField::TimerValue, v); }

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;

private:
    quint8 byte(RecordField field) const { return static_cast<quint8>(value(field)); }
    FrequencyWord word(RecordField field) const
    {
        const quint32 v = value(field);
        return {static_cast<quint8>(v >> 16), static_cast<quint8>(v >> 8), static_cast<quint8>(v)};
    }
    void setWord(RecordField field, const FrequencyWord& w)
    {
        setValue(field, quint32{w[0]} << 16 | quint32{w[1]} << 8 | w[2]);
    }
};

// The station's byte image of one plan. The data check fills it; the write exchange sends it;
// the read exchange overwrites it with what the station holds. ModuleType and TypeCode are not
// part of it: they are taken from the program's current choice when the stream is made.
struct DeviceImage
{
    static constexpr int MaxRecords = yalmera::MaxRecords;
    static constexpr int MaxStreamSize = streamSize(Stream::Write, MaxRecords);

    quint8 brightnessCode = 0;
    quint8 volume = 0;
    quint8 channelCount = 0;
    quint8 keyBeep = 0;
    quint8 specialChannelIndex = 0;
    std::array<quint8, 10> toneCodes{};
    quint16 idCode = 0;
    quint8 fvCode = 0;
    quint8 minVolume = 0;
    quint8 dcsPolarity = 0;
    quint8 functionFlags = 0;
    std::array<ChannelRecord, MaxRecords> records{};

    // The write stream: 26 + 18 x channelCount bytes, the command byte first.
    // A channelCount above MaxRecords (the check never lets it get there) is sent, and followed,
    // as MaxRecords.
    QByteArray writeStream(quint8 moduleType, quint8 typeCode) const;

    friend bool operator==(const DeviceImage&, const DeviceImage&) = default;
};

// What a stream carries: the image, and what travels with it: the module type and band code the
// program sends, and the serial number the station answers with (read stream only, 24 bits).
struct StreamContents
{
    DeviceImage image;
    quint8 moduleType = 0;
    quint8 typeCode = 0;
    quint32 serialNumber = 0;

    friend bool operator==(const StreamContents&, const StreamContents&) = default;
};

// A header field's value in the contents (a multi-byte field as one number).
quint32 headerValue(const StreamContents& contents, const HeaderFieldLayout& place);
void setHeaderValue(StreamContents& contents, const HeaderFieldLayout& place, quint32 value);

// The stream of the contents: its header, then image.channelCount records (at most MaxRecords; the count
// sent is the count of records that follow).
QByteArray encodeStream(Stream stream, const StreamContents& contents);
// The inverse: nothing when the header is incomplete; of the records announced, those the bytes
// hold (at most MaxRecords), with the count lowered to match.
std::optional<StreamContents> decodeStream(Stream stream, QByteArrayView bytes);
// The write stream's contents (the virtual station keeps what it was sent).
inline std::optional<StreamContents> readWriteStream(QByteArrayView bytes)
{
    return decodeStream(Stream::Write, bytes);
}

// A station read taking the station's image into the program's: every header field the layout
// marks as taken, and the first channelCount records; the other fields and record slots keep
// what they held.
void takeReadBack(const DeviceImage& station, DeviceImage& image);

// What differs between two stream contents, one line per field ("FvCode: written 0x00, station
// holds 0x01"; "record 3 (channel 5) RxCode: ..."), in stream order. Fields the stream lacks are
// not compared.
QStringList streamDifferences(Stream stream, const StreamContents& written, const StreamContents& held);

// The field a byte of a stream belongs to: "ToneCode3", "record 2 RxFrequencyWord" (records
// counted from 1), "beyond the stream" past the 99th record.
QString fieldAtByte(Stream stream, qsizetype index);

} // namespace yalmera
