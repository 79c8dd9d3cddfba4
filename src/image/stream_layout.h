#pragma once

#include <QStringView>
#include <QtGlobal>

#include <array>

// Every byte the station takes and gives, in one place: the header fields of the write stream
// (sent after the write command 0x14) and of the read stream (the station's answer to 0x1E), and
// the 18-byte channel record both streams carry after their header. Multi-byte values are sent
// most significant byte first. The codec loops over these tables (device_image.cpp); nothing else
// spells an offset.

namespace yalmera {

enum class Stream { Write, Read };

// What a header byte carries.
enum class HeaderField : quint8 {
    Command,             // write stream only: 0x14
    SerialNumber,        // read stream only: 24 bits, shown as six hexadecimal digits
    BrightnessCode,      // 5 * level - 4
    Volume,              // 1..16
    ChannelCount,        // records that follow, 0..99
    KeyBeep,             // SwitchOn / SwitchOff
    SpecialChannelIndex, // 0-based record of the channel "СК" names
    ToneCode,            // ten of them: Hz / 10
    IdCode,              // four 4-bit symbols, the first on top
    FvCode,              // 16 * first digit + second digit
    MinVolume,           // 0..8
    DcsPolarity,         // SwitchOn / SwitchOff
    FunctionFlags,       // FunctionFlagBits
    ModuleType,          // the program's module choice, not part of the image
    TypeCode,            // the band code, not part of the image; the write stream sends it three times
    Unused,              // read stream only: received and dropped
};

// Whether a station read takes the field into the program's image.
enum class ReadBackRule : quint8 {
    Taken,      // replaces the image's field
    Kept,       // the image keeps its own value (IdCode: the check packs it from "Id_номер")
    NotInImage, // the field is no image field (command, serial number, module, band code)
};

struct HeaderFieldLayout
{
    QStringView name; // as printouts and traces show it
    HeaderField field;
    int index;       // ToneCode: tone 0..9; TypeCode: copy 0..2; otherwise 0
    int width;       // bytes
    int writeOffset; // in the write stream, -1 where the stream lacks the field
    int readOffset;  // in the read stream, -1 where the stream lacks the field
    ReadBackRule readBack;

    constexpr int offset(Stream stream) const { return stream == Stream::Write ? writeOffset : readOffset; }
};

// clang-format off
inline constexpr std::array<HeaderFieldLayout, 27> HeaderFields{{
    // name                    field                              index width write read  read-back
    {u"Command",             HeaderField::Command,             0, 1,  0, -1, ReadBackRule::NotInImage},
    {u"SerialNumber",        HeaderField::SerialNumber,        0, 3, -1,  0, ReadBackRule::NotInImage},
    {u"BrightnessCode",      HeaderField::BrightnessCode,      0, 1,  1,  3, ReadBackRule::Taken},
    {u"Volume",              HeaderField::Volume,              0, 1,  2,  4, ReadBackRule::Taken},
    {u"ChannelCount",        HeaderField::ChannelCount,        0, 1,  3,  5, ReadBackRule::Taken},
    {u"KeyBeep",             HeaderField::KeyBeep,             0, 1,  4,  6, ReadBackRule::Taken},
    {u"SpecialChannelIndex", HeaderField::SpecialChannelIndex, 0, 1,  5,  7, ReadBackRule::Taken},
    {u"ToneCode1",           HeaderField::ToneCode,            0, 1,  6, 10, ReadBackRule::Taken},
    {u"ToneCode2",           HeaderField::ToneCode,            1, 1,  7, 11, ReadBackRule::Taken},
    {u"ToneCode3",           HeaderField::ToneCode,            2, 1,  8, 12, ReadBackRule::Taken},
    {u"ToneCode4",           HeaderField::ToneCode,            3, 1,  9, 13, ReadBackRule::Taken},
    {u"ToneCode5",           HeaderField::ToneCode,            4, 1, 10, 14, ReadBackRule::Taken},
    {u"ToneCode6",           HeaderField::ToneCode,            5, 1, 11, 15, ReadBackRule::Taken},
    {u"ToneCode7",           HeaderField::ToneCode,            6, 1, 12, 16, ReadBackRule::Taken},
    {u"ToneCode8",           HeaderField::ToneCode,            7, 1, 13, 17, ReadBackRule::Taken},
    {u"ToneCode9",           HeaderField::ToneCode,            8, 1, 14, 18, ReadBackRule::Taken},
    {u"ToneCode10",          HeaderField::ToneCode,            9, 1, 15, 19, ReadBackRule::Taken},
    {u"IdCode",              HeaderField::IdCode,              0, 2, 16,  8, ReadBackRule::Kept},
    {u"FvCode",              HeaderField::FvCode,              0, 1, 18, 20, ReadBackRule::Taken},
    {u"MinVolume",           HeaderField::MinVolume,           0, 1, 19, 21, ReadBackRule::Taken},
    {u"DcsPolarity",         HeaderField::DcsPolarity,         0, 1, 20, 22, ReadBackRule::Taken},
    {u"FunctionFlags",       HeaderField::FunctionFlags,       0, 1, 21, 23, ReadBackRule::Taken},
    {u"ModuleType",          HeaderField::ModuleType,          0, 1, 22, 24, ReadBackRule::NotInImage},
    {u"TypeCode",            HeaderField::TypeCode,            0, 1, 23, 25, ReadBackRule::NotInImage},
    {u"TypeCode2",           HeaderField::TypeCode,            1, 1, 24, -1, ReadBackRule::NotInImage},
    {u"TypeCode3",           HeaderField::TypeCode,            2, 1, 25, -1, ReadBackRule::NotInImage},
    {u"Unused",              HeaderField::Unused,              0, 2, -1, 26, ReadBackRule::NotInImage},
}};
// clang-format on

// What a channel record byte carries.
enum class RecordField : quint8 {
    ChannelFlags,    // ChannelFlagBits
    ChannelNumber,   // "№ кан."
    RxFrequencyWord, // receive frequency word, the band's receive offset added; 0 0 0 for "РЕТР_ПП"
    TxFrequencyWord, // transmit frequency word; 0 0 0 for "РЕТР_ПР"
    RxCode,          // CTCSS or DCS code, CodeNone without
    TxCode,
    RxToneNumber, // 1..10, 0 without
    TxToneNumber,
    SquelchLevel,
    PowerMin,
    PowerMax,
    ExtraFlags, // ExtraFlagBits, active low
    TimerValue, // 1..15, 0 without
    Reserved,   // always 0
};

struct RecordFieldLayout
{
    QStringView name;
    RecordField field;
    int offset; // within the record
    int width;
};

// clang-format off
inline constexpr std::array<RecordFieldLayout, 14> RecordFields{{
    // name                field                          offset width
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1},
    {u"ChannelNumber",   RecordField::ChannelNumber,    1, 1},
    {u"RxFrequencyWord", RecordField::RxFrequencyWord,  2, 3},
    {u"TxFrequencyWord", RecordField::TxFrequencyWord,  5, 3},
    {u"RxCode",          RecordField::RxCode,           8, 1},
    {u"TxCode",          RecordField::TxCode,           9, 1},
    {u"RxToneNumber",    RecordField::RxToneNumber,    10, 1},
    {u"TxToneNumber",    RecordField::TxToneNumber,    11, 1},
    {u"SquelchLevel",    RecordField::SquelchLevel,    12, 1},
    {u"PowerMin",        RecordField::PowerMin,        13, 1},
    {u"PowerMax",        RecordField::PowerMax,        14, 1},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1},
    {u"TimerValue",      RecordField::TimerValue,      16, 1},
    {u"Reserved",        RecordField::Reserved,        17, 1},
}};
// clang-format on

inline constexpr int RecordSize = 18;
inline constexpr int MaxRecords = 99; // the station's record slots

constexpr const RecordFieldLayout& recordField(RecordField field)
{
    for (const RecordFieldLayout& place : RecordFields) {
        if (place.field == field)
            return place;
    }
    return RecordFields[0]; // unreachable: every field is in the table
}

constexpr const HeaderFieldLayout& headerField(HeaderField field, int index = 0)
{
    for (const HeaderFieldLayout& place : HeaderFields) {
        if (place.field == field && place.index == index)
            return place;
    }
    return HeaderFields[0]; // unreachable: every field is in the table
}

// Bytes of a stream's header: 26 for the write stream, 28 for the read stream.
constexpr int headerSize(Stream stream)
{
    int size = 0;
    for (const HeaderFieldLayout& place : HeaderFields) {
        if (place.offset(stream) >= 0 && place.offset(stream) + place.width > size)
            size = place.offset(stream) + place.width;
    }
    return size;
}

// Bytes of a stream holding channelCount records.
constexpr int streamSize(Stream stream, int channelCount)
{
    return headerSize(stream) + RecordSize * channelCount;
}

// Values with a meaning of their own.
inline constexpr quint8 WriteCommand = 0x14; // opens the write stream
inline constexpr quint8 ReadCommand = 0x1E;  // asks the station for its read stream
inline constexpr quint8 CodeNone = 200;      // RxCode/TxCode without tone or code
inline constexpr quint8 SwitchOn = 200;      // KeyBeep / DcsPolarity "+"
inline constexpr quint8 SwitchOff = 100;     // KeyBeep / DcsPolarity "-"

// ChannelFlags: a bit is set when its condition holds; bit 0 is never set.
namespace ChannelFlagBits {
inline constexpr quint8 Scan = 0x02;      // "Скан." ticked
inline constexpr quint8 Active = 0x04;    // "Акт" ticked
inline constexpr quint8 CtcssMode = 0x08; // both DCS cells "Нет"
inline constexpr quint8 NoRxTone = 0x10;  // "Тон_Rx" is "Нет"
inline constexpr quint8 NoTxTone = 0x20;  // "Тон_Tx" is "Нет"
inline constexpr quint8 Narrow = 0x40;    // "  SW" is "12,5"
inline constexpr quint8 NoIdTone = 0x80;  // "Id_Тон" NOT ticked
} // namespace ChannelFlagBits

// ExtraFlags: starts at 0xFF; a bit is cleared when its condition holds.
namespace ExtraFlagBits {
inline constexpr quint8 Initial = 0xFF;
inline constexpr quint8 TxOffRssi = 0x01;  // "Tx_Off" is "RSSI"
inline constexpr quint8 TxOffOff = 0x04;   // "Tx_Off" is "OFF"
inline constexpr quint8 Timer = 0x08;      // "Время" is not "Нет"
inline constexpr quint8 TxRepeater = 0x10; // " Tx, кГц" holds "РЕТР_ПР"
inline constexpr quint8 RxRepeater = 0x20; // " Rx, кГц" holds "РЕТР_ПП"
} // namespace ExtraFlagBits

// FunctionFlags (header).
namespace FunctionFlagBits {
inline constexpr quint8 Scan = 0x02;   // "Ф_Скан" is "+"
inline constexpr quint8 V = 0x04;      // "Ф_V" is "+"
inline constexpr quint8 Module = 0x10; // "ВУ" is "+"
} // namespace FunctionFlagBits

namespace layout_checks {

// Each byte of a header belongs to exactly one field.
constexpr bool coversEachByteOnce(Stream stream)
{
    std::array<int, 64> uses{};
    for (const HeaderFieldLayout& place : HeaderFields) {
        for (int b = 0; place.offset(stream) >= 0 && b < place.width; ++b)
            ++uses[static_cast<std::size_t>(place.offset(stream) + b)];
    }
    for (int b = 0; b < headerSize(stream); ++b) {
        if (uses[static_cast<std::size_t>(b)] != 1)
            return false;
    }
    return true;
}

constexpr bool recordCoversEachByteOnce()
{
    std::array<int, RecordSize> uses{};
    for (const RecordFieldLayout& place : RecordFields) {
        for (int b = 0; b < place.width; ++b)
            ++uses[static_cast<std::size_t>(place.offset + b)];
    }
    for (int use : uses) {
        if (use != 1)
            return false;
    }
    return true;
}

static_assert(headerSize(Stream::Write) == 26 && coversEachByteOnce(Stream::Write));
static_assert(headerSize(Stream::Read) == 28 && coversEachByteOnce(Stream::Read));
static_assert(recordCoversEachByteOnce());

} // namespace layout_checks

} // namespace yalmera
