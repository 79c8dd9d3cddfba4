#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <optional>

namespace yalmera {

// One channel's 18 bytes in the station's image. Offsets within the record:
struct ChannelRecord
{
    enum Offset : int {
        FlagsOffset = 0,         // ChannelFlags
        ChannelNumberOffset = 1, // "№ кан."
        RxWordOffset = 2,        // 3 bytes, receive frequency word (offset added)
        TxWordOffset = 5,        // 3 bytes, transmit frequency word
        RxCodeOffset = 8,        // CTCSS or DCS code, 200 = none
        TxCodeOffset = 9,
        RxToneOffset = 10, // 1..10, 0 = none
        TxToneOffset = 11,
        SquelchOffset = 12,
        PowerMinOffset = 13,
        PowerMaxOffset = 14,
        ExtraFlagsOffset = 15, // ExtraFlags, active low
        TimerOffset = 16,      // 1..15, 0 = none
        ReservedOffset = 17,   // always 0
    };
    static constexpr int Size = 18;

    std::array<quint8, Size> bytes{};

    quint8 at(Offset offset) const { return bytes[static_cast<std::size_t>(offset)]; }
    void set(Offset offset, quint8 value) { bytes[static_cast<std::size_t>(offset)] = value; }

    quint8 channelFlags() const { return at(FlagsOffset); }
    quint8 channelNumber() const { return at(ChannelNumberOffset); }
    quint8 extraFlags() const { return at(ExtraFlagsOffset); }

    std::array<quint8, 3> rxWord() const { return word(RxWordOffset); }
    std::array<quint8, 3> txWord() const { return word(TxWordOffset); }
    void setRxWord(const std::array<quint8, 3>& w) { setWord(RxWordOffset, w); }
    void setTxWord(const std::array<quint8, 3>& w) { setWord(TxWordOffset, w); }

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;

private:
    std::array<quint8, 3> word(Offset offset) const
    {
        const auto i = static_cast<std::size_t>(offset);
        return {bytes[i], bytes[i + 1], bytes[i + 2]};
    }
    void setWord(Offset offset, const std::array<quint8, 3>& w)
    {
        const auto i = static_cast<std::size_t>(offset);
        bytes[i] = w[0];
        bytes[i + 1] = w[1];
        bytes[i + 2] = w[2];
    }
};

// ChannelFlags (record byte 0): a bit is set when its condition holds; bit 0 is never set.
namespace ChannelFlagBits {
inline constexpr quint8 Scan = 0x02;      // "Скан." ticked
inline constexpr quint8 Active = 0x04;    // "Акт" ticked
inline constexpr quint8 CtcssMode = 0x08; // both DCS cells "Нет"
inline constexpr quint8 NoRxTone = 0x10;  // "Тон_Rx" is "Нет"
inline constexpr quint8 NoTxTone = 0x20;  // "Тон_Tx" is "Нет"
inline constexpr quint8 Narrow = 0x40;    // "  SW" is "12,5"
inline constexpr quint8 NoIdTone = 0x80;  // "Id_Тон" NOT ticked
} // namespace ChannelFlagBits

// ExtraFlags (record byte 15): starts at 0xFF; a bit is cleared when its condition holds.
namespace ExtraFlagBits {
inline constexpr quint8 Initial = 0xFF;
inline constexpr quint8 TxOffRssi = 0x01;  // "Tx_Off" is "RSSI"
inline constexpr quint8 TxOffOff = 0x04;   // "Tx_Off" is "OFF"
inline constexpr quint8 Timer = 0x08;      // "Время" is not "Нет"
inline constexpr quint8 TxRepeater = 0x10; // " Tx, кГц" holds "РЕТР_ПР"
inline constexpr quint8 RxRepeater = 0x20; // " Rx, кГц" holds "РЕТР_ПП"
} // namespace ExtraFlagBits

// FunctionFlags (header byte 21).
namespace FunctionFlagBits {
inline constexpr quint8 Scan = 0x02;   // "Ф_Скан" is "+"
inline constexpr quint8 V = 0x04;      // "Ф_V" is "+"
inline constexpr quint8 Module = 0x10; // "ВУ" is "+"
} // namespace FunctionFlagBits

inline constexpr quint8 WriteCommand = 0x14; // opens the write stream
inline constexpr quint8 ReadCommand = 0x1E;  // asks the station for its read stream
inline constexpr quint8 CodeNone = 200;      // RxCode/TxCode without tone or code
inline constexpr quint8 SwitchOn = 200;      // KeyBeep / DcsPolarity "+"
inline constexpr quint8 SwitchOff = 100;     // KeyBeep / DcsPolarity "-"

// The station's byte image of one plan. The data check fills it; the write exchange sends it;
// the read exchange overwrites it with what the station holds. ModuleType and TypeCode are not
// part of it: they are taken from the program's current choice when the stream is made.
struct DeviceImage
{
    // Write stream offsets of the 26-byte header.
    enum HeaderOffset : int {
        CommandOffset = 0,
        BrightnessOffset = 1, // 5 * level - 4
        VolumeOffset = 2,
        ChannelCountOffset = 3,
        KeyBeepOffset = 4,
        SpecialChannelOffset = 5,
        ToneCodesOffset = 6, // 10 bytes, Hz / 10
        IdCodeOffset = 16,   // 2 bytes, most significant first
        FvCodeOffset = 18,
        MinVolumeOffset = 19,
        DcsPolarityOffset = 20,
        FunctionFlagsOffset = 21,
        ModuleTypeOffset = 22,
        TypeCodeOffset = 23, // 3 bytes, the same code three times
        RecordsOffset = 26,
    };
    static constexpr int HeaderSize = 26;
    static constexpr int MaxRecords = 99;
    static constexpr int MaxStreamSize = HeaderSize + ChannelRecord::Size * MaxRecords; // 1808

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
    // A channelCount above 99 (the check never lets it get there) is sent, and followed, as 99.
    QByteArray writeStream(quint8 moduleType, quint8 typeCode) const;

    friend bool operator==(const DeviceImage&, const DeviceImage&) = default;
};

// What a write stream carries: the image with the module type and band code sent with it.
struct WriteStreamContents
{
    DeviceImage image;
    quint8 moduleType = 0;
    quint8 typeCode = 0;
};
// The inverse of DeviceImage::writeStream: nothing when the 26-byte header is incomplete; of the
// records announced, those the stream holds (at most 99).
std::optional<WriteStreamContents> readWriteStream(QByteArrayView stream);

using FrequencyWord = std::array<quint8, 3>;

// Encodes a count D of 6,25 kHz steps with the band's modulus M: Q = D div M, R = D mod M,
// word = 0x100000 + Q*128 + R*4 + 1, most significant byte first.
FrequencyWord encodeFrequencyWord(std::int64_t steps, qint32 modulus);
// The word of a frequency in kHz (on the 6,25 kHz grid, offset already added).
FrequencyWord frequencyWordForKHz(double kHz, qint32 modulus);
// The inverse: the count of 6,25 kHz steps a word carries.
std::int64_t decodeFrequencyWordSteps(const FrequencyWord& word, qint32 modulus);
inline double stepsToKHz(std::int64_t steps)
{
    return static_cast<double>(steps) * 6.25;
}

// "Id_номер" symbols: "0".."9" 0..9, "A".."D" (either case) 10..13, "#" 14, "*" 15, else 0.
int idSymbolValue(QChar symbol);
// Packs the first four symbols, the first in the top four bits.
quint16 packIdCode(QStringView text);
// The four symbols of a packed code as the read-back writes them ("#" for 14, "*" for 15).
QString idCodeText(quint16 code);

// Position in DcsCodes (1..84) of the inverse twin of the code at position 1..84; 0 maps to 0.
// The relation is symmetric, so the same table encodes and decodes.
quint8 dcsInverse(int position);

// A tone frequency in Hz as the station takes it: Hz / 10 to the nearest whole number, ties to even.
quint8 toneCode(int hz);

} // namespace yalmera
