#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace yalmera {

struct AppState;

// The stream a station sends after the read command 0x1E: 28 header bytes, then ChannelCount
// records of 18 bytes in the layout of the write stream. Its header order differs from the
// write stream's: the serial number leads and IdCode comes before the tone codes.
namespace ReadStreamOffset {
inline constexpr int SerialNumber = 0; // 3 bytes, shown as six hexadecimal digits
inline constexpr int Brightness = 3;   // 5 * level - 4
inline constexpr int Volume = 4;
inline constexpr int ChannelCount = 5;
inline constexpr int KeyBeep = 6;
inline constexpr int SpecialChannel = 7;
inline constexpr int IdCode = 8;     // 2 bytes, most significant first
inline constexpr int ToneCodes = 10; // 10 bytes, Hz / 10
inline constexpr int FvCode = 20;
inline constexpr int MinVolume = 21;
inline constexpr int DcsPolarity = 22;
inline constexpr int FunctionFlags = 23;
inline constexpr int ModuleType = 24;
inline constexpr int TypeCode = 25;
inline constexpr int Unused = 26; // 2 bytes, dropped
inline constexpr int Records = 28;
inline constexpr int HeaderSize = 28;
inline constexpr int MaxSize = HeaderSize + ChannelRecord::Size * DeviceImage::MaxRecords; // 1810
} // namespace ReadStreamOffset

// Length of a read stream announcing channelCount records.
inline constexpr int readStreamSize(int channelCount)
{
    return ReadStreamOffset::HeaderSize + ChannelRecord::Size * channelCount;
}

// A station's plan as read back, built aside; nothing of the program changes until it is applied.
struct ReadBack
{
    QString serialNumber;     // six hexadecimal digits, "012345"
    GeneralSettings settings; // 27 lines, "[Общие установки]" first
    ChannelTable table;       // caption row, one row per record, flags set from the records
    // Header fields and records 0..channelCount-1 as received (idCode included); the other
    // record slots are zero and are never applied.
    DeviceImage image;
    quint8 moduleType = 0;
    quint8 typeCode = 0;

    friend bool operator==(const ReadBack&, const ReadBack&) = default;
};

struct ReadStreamDecode
{
    std::optional<ReadBack> readBack;
    UserMessage refusal; // set when readBack is empty

    bool ok() const { return readBack.has_value(); }
};

// Decodes a complete read stream. Frequencies are decoded with the modulus and receive offset of
// the band the station's TypeCode names (as a plan file's "Тип" names it), and with the selected
// band's when the code names none. Refuses a stream that is too short, announces no channel or
// more than 99, or holds a CTCSS/DCS code outside its list. Bytes after the stream are ignored.
// Never reads outside the bytes given.
ReadStreamDecode decodeReadStream(QByteArrayView stream, const StationType& selectedBand);

// The refusal of a stream whose header announces a channel count a plan cannot hold (none, or
// more than 99), decided as soon as the header is in (empty when the header is acceptable).
UserMessage checkReadStreamHeader(QByteArrayView headerBytes);

// The stream a station holding this image sends: serial number (24 bits), header in read order,
// then image.channelCount records (at most 99).
QByteArray encodeReadStream(const DeviceImage& image, quint32 serialNumber, quint8 moduleType,
                            quint8 typeCode);

// Replaces, all at once, the settings text, the table (rows, cells, flags), the module type, the
// type code with the band it names (a code naming no band keeps the selected band) and the
// image's header fields and first channelCount records. The image's IdCode and the record slots
// from channelCount on keep what they held. Clears the data-check gate: the table holds the
// station's plan, which must pass the check again. Returns whether the station's code chose
// the band.
bool applyReadBack(AppState& state, const ReadBack& readBack);

} // namespace yalmera
