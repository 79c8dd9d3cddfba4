#pragma once

#include "image/field_conversion.h"
#include "model/channel_table.h"
#include "model/repeater.h"
#include "model/settings_keys.h"
#include "model/station_type.h"
#include "model/value_lists.h"

#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>

// Every byte the station takes and gives, in one place: the header fields of the write stream
// (sent after the write command 0x14) and of the read stream (the station's answer to 0x1E), and
// the 18-byte channel record both streams carry after their header, each with what it means in
// the plan and how it converts both ways. Multi-byte values are sent most significant byte first.
// A field whose bits carry several plan values (FunctionFlags, ChannelFlags, ExtraFlags, and the
// codes, which CTCSS or DCS cells fill) takes one row per value; its rows follow each other and
// share its place. The stream codec (device_image.cpp) and the plan codec (field_codec.cpp) loop
// over these tables; nothing else spells an offset or a conversion.

namespace yalmera {

enum class Stream { Write, Read };

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

// ExtraFlags: active low; a bit is cleared when its condition holds, the others stay set.
namespace ExtraFlagBits {
inline constexpr quint8 TxOffRssi = 0x01;    // "Tx_Off" is "RSSI"
inline constexpr quint8 TxOffOff = 0x04;     // "Tx_Off" is "OFF"
inline constexpr quint8 Timer = 0x08;        // "Время" is not "Нет"
inline constexpr quint8 TxRepeater = 0x10;   // " Tx, кГц" holds "РЕТР_ПР"
inline constexpr quint8 RxRepeater = 0x20;   // " Rx, кГц" holds "РЕТР_ПП"
inline constexpr quint8 NeverCleared = 0xC2; // bits 1, 6 and 7
} // namespace ExtraFlagBits

// FunctionFlags (header).
namespace FunctionFlagBits {
inline constexpr quint8 Scan = 0x02;   // "Ф_Скан" is "+"
inline constexpr quint8 V = 0x04;      // "Ф_V" is "+"
inline constexpr quint8 Module = 0x10; // "ВУ" is "+"
} // namespace FunctionFlagBits

// What a header byte carries.
enum class HeaderField : quint8 {
    Command,             // write stream only: 0x14
    SerialNumber,        // read stream only: 24 bits
    BrightnessCode,      // "Яркость диодов"
    Volume,              // "Громкость"
    ChannelCount,        // records that follow
    KeyBeep,             // "Пик_кнопок"
    SpecialChannelIndex, // "СК"
    ToneCode,            // ten of them: "Тон1".."Тон10"
    IdCode,              // "Id_номер"
    FvCode,              // "ФВ"
    MinVolume,           // "МинГромкость"
    DcsPolarity,         // "Код_DCS"
    FunctionFlags,       // "Ф_Скан", "Ф_V", "ВУ": FunctionFlagBits
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
    QStringView key;       // the settings key the field carries, empty for none
    Conversion conversion; // between the key's value and the field's

    constexpr int offset(Stream stream) const { return stream == Stream::Write ? writeOffset : readOffset; }
    // Whether this row and other are the same bytes (rows of one field's bits).
    constexpr bool samePlace(const HeaderFieldLayout& other) const
    {
        return field == other.field && index == other.index;
    }
};

// clang-format off
inline constexpr std::array<HeaderFieldLayout, 29> HeaderFields{{
    // name                  field                         index width write read  read-back
    //     settings key, conversion
    {u"Command",             HeaderField::Command,             0, 1,  0, -1, ReadBackRule::NotInImage, {}, {}},
    {u"SerialNumber",        HeaderField::SerialNumber,        0, 3, -1,  0, ReadBackRule::NotInImage,
        keys::SerialNumber, convert::of(Convert::HexDigits)},
    {u"BrightnessCode",      HeaderField::BrightnessCode,      0, 1,  1,  3, ReadBackRule::Taken,
        keys::Brightness, convert::linear(5, -4)},
    {u"Volume",              HeaderField::Volume,              0, 1,  2,  4, ReadBackRule::Taken,
        keys::Volume, convert::linear(1, 0)},
    {u"ChannelCount",        HeaderField::ChannelCount,        0, 1,  3,  5, ReadBackRule::Taken,
        {}, convert::linear(1, 0)}, // the table's channel rows
    {u"KeyBeep",             HeaderField::KeyBeep,             0, 1,  4,  6, ReadBackRule::Taken,
        keys::KeyBeep, convert::onOff(SwitchOn, SwitchOff)},
    {u"SpecialChannelIndex", HeaderField::SpecialChannelIndex, 0, 1,  5,  7, ReadBackRule::Taken,
        keys::SpecialChannel, convert::of(Convert::RecordPosition)},
    {u"ToneCode1",           HeaderField::ToneCode,            0, 1,  6, 10, ReadBackRule::Taken,
        keys::Tones[0], convert::divided(10)},
    {u"ToneCode2",           HeaderField::ToneCode,            1, 1,  7, 11, ReadBackRule::Taken,
        keys::Tones[1], convert::divided(10)},
    {u"ToneCode3",           HeaderField::ToneCode,            2, 1,  8, 12, ReadBackRule::Taken,
        keys::Tones[2], convert::divided(10)},
    {u"ToneCode4",           HeaderField::ToneCode,            3, 1,  9, 13, ReadBackRule::Taken,
        keys::Tones[3], convert::divided(10)},
    {u"ToneCode5",           HeaderField::ToneCode,            4, 1, 10, 14, ReadBackRule::Taken,
        keys::Tones[4], convert::divided(10)},
    {u"ToneCode6",           HeaderField::ToneCode,            5, 1, 11, 15, ReadBackRule::Taken,
        keys::Tones[5], convert::divided(10)},
    {u"ToneCode7",           HeaderField::ToneCode,            6, 1, 12, 16, ReadBackRule::Taken,
        keys::Tones[6], convert::divided(10)},
    {u"ToneCode8",           HeaderField::ToneCode,            7, 1, 13, 17, ReadBackRule::Taken,
        keys::Tones[7], convert::divided(10)},
    {u"ToneCode9",           HeaderField::ToneCode,            8, 1, 14, 18, ReadBackRule::Taken,
        keys::Tones[8], convert::divided(10)},
    {u"ToneCode10",          HeaderField::ToneCode,            9, 1, 15, 19, ReadBackRule::Taken,
        keys::Tones[9], convert::divided(10)},
    {u"IdCode",              HeaderField::IdCode,              0, 2, 16,  8, ReadBackRule::Kept,
        keys::IdNumber, convert::of(Convert::IdSymbols)},
    {u"FvCode",              HeaderField::FvCode,              0, 1, 18, 20, ReadBackRule::Taken,
        keys::Fv, convert::of(Convert::NibbleDigits)},
    {u"MinVolume",           HeaderField::MinVolume,           0, 1, 19, 21, ReadBackRule::Taken,
        keys::MinVolume, convert::linear(1, 0)},
    {u"DcsPolarity",         HeaderField::DcsPolarity,         0, 1, 20, 22, ReadBackRule::Taken,
        keys::DcsPolarity, convert::onOff(SwitchOn, SwitchOff)},
    {u"FunctionFlags",       HeaderField::FunctionFlags,       0, 1, 21, 23, ReadBackRule::Taken,
        keys::ScanFunction, convert::bit(Convert::SwitchBit, FunctionFlagBits::Scan)},
    {u"FunctionFlags",       HeaderField::FunctionFlags,       0, 1, 21, 23, ReadBackRule::Taken,
        keys::VFunction, convert::bit(Convert::SwitchBit, FunctionFlagBits::V)},
    {u"FunctionFlags",       HeaderField::FunctionFlags,       0, 1, 21, 23, ReadBackRule::Taken,
        keys::Module, convert::bit(Convert::SwitchBit, FunctionFlagBits::Module)},
    {u"ModuleType",          HeaderField::ModuleType,          0, 1, 22, 24, ReadBackRule::NotInImage, {}, {}},
    {u"TypeCode",            HeaderField::TypeCode,            0, 1, 23, 25, ReadBackRule::NotInImage, {}, {}},
    {u"TypeCode2",           HeaderField::TypeCode,            1, 1, 24, -1, ReadBackRule::NotInImage, {}, {}},
    {u"TypeCode3",           HeaderField::TypeCode,            2, 1, 25, -1, ReadBackRule::NotInImage, {}, {}},
    {u"Unused",              HeaderField::Unused,              0, 2, -1, 26, ReadBackRule::NotInImage, {}, {}},
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
    std::optional<Column> column; // the cell or flag of the row the field carries
    Conversion conversion;        // between that cell and the field

    constexpr bool samePlace(const RecordFieldLayout& other) const { return field == other.field; }
};

// clang-format off
inline constexpr std::array<RecordFieldLayout, 26> RecordFields{{
    // name              field                        offset width  column
    //     conversion
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::Scan,
        convert::bit(Convert::Ticked, ChannelFlagBits::Scan)},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::Active,
        convert::bit(Convert::Ticked, ChannelFlagBits::Active)},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, {}, // both DCS cells
        convert::bit(Convert::CtcssModeBit, ChannelFlagBits::CtcssMode)},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::ToneRx,
        convert::bit(Convert::NoneBit, ChannelFlagBits::NoRxTone)},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::ToneTx,
        convert::bit(Convert::NoneBit, ChannelFlagBits::NoTxTone)},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::Width,
        convert::bit(Convert::TextBit, ChannelFlagBits::Narrow, ChannelWidths[0], ChannelWidths[1])},
    {u"ChannelFlags",    RecordField::ChannelFlags,     0, 1, Column::IdTone,
        convert::bit(Convert::NotTicked, ChannelFlagBits::NoIdTone)},
    {u"ChannelNumber",   RecordField::ChannelNumber,    1, 1, Column::ChannelNumber,
        convert::of(Convert::Number)},
    {u"RxFrequencyWord", RecordField::RxFrequencyWord,  2, 3, Column::RxFrequency,
        convert::frequencyWord(Convert::ReceiveFrequencyWord, RxRepeaterMark)},
    {u"TxFrequencyWord", RecordField::TxFrequencyWord,  5, 3, Column::TxFrequency,
        convert::frequencyWord(Convert::TransmitFrequencyWord, TxRepeaterMark)},
    {u"RxCode",          RecordField::RxCode,           8, 1, Column::CtcssRx, convert::of(Convert::CtcssCode)},
    {u"RxCode",          RecordField::RxCode,           8, 1, Column::DcsRx,   convert::of(Convert::DcsCode)},
    {u"TxCode",          RecordField::TxCode,           9, 1, Column::CtcssTx, convert::of(Convert::CtcssCode)},
    {u"TxCode",          RecordField::TxCode,           9, 1, Column::DcsTx,   convert::of(Convert::DcsCode)},
    {u"RxToneNumber",    RecordField::RxToneNumber,    10, 1, Column::ToneRx,  convert::numberOrNone(10)},
    {u"TxToneNumber",    RecordField::TxToneNumber,    11, 1, Column::ToneTx,  convert::numberOrNone(10)},
    {u"SquelchLevel",    RecordField::SquelchLevel,    12, 1, Column::Squelch, convert::of(Convert::Number)},
    {u"PowerMin",        RecordField::PowerMin,        13, 1, Column::PowerMin, convert::of(Convert::Number)},
    {u"PowerMax",        RecordField::PowerMax,        14, 1, Column::PowerMax, convert::of(Convert::Number)},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1, Column::TxOff,
        convert::txOffBits(ExtraFlagBits::TxOffRssi, ExtraFlagBits::TxOffOff)},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1, Column::Time,
        convert::bit(Convert::NoneBit, ExtraFlagBits::Timer)},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1, Column::TxFrequency,
        convert::bit(Convert::MarkBit, ExtraFlagBits::TxRepeater)},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1, Column::RxFrequency,
        convert::bit(Convert::MarkBit, ExtraFlagBits::RxRepeater)},
    {u"ExtraFlags",      RecordField::ExtraFlags,      15, 1, {},
        convert::bit(Convert::ConstantBits, ExtraFlagBits::NeverCleared)},
    {u"TimerValue",      RecordField::TimerValue,      16, 1, Column::Time,    convert::numberOrNone(255)},
    {u"Reserved",        RecordField::Reserved,        17, 1, {},              convert::none()},
}};
// clang-format on

inline constexpr int RecordSize = 18;
inline constexpr int MaxRecords = MaxChannels; // the station's record slots

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

// Whether row i of a table is the first of its place: the loops over bytes take each place once.
template <typename Row, std::size_t N>
constexpr bool opensPlace(const std::array<Row, N>& rows, std::size_t i)
{
    return i == 0 || !rows[i].samePlace(rows[i - 1]);
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

namespace layout_checks {

// Each byte of a header belongs to exactly one field; the rows of a field's bits share its place.
constexpr bool coversEachByteOnce(Stream stream)
{
    std::array<int, 64> uses{};
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& place = HeaderFields[i];
        for (int b = 0; opensPlace(HeaderFields, i) && place.offset(stream) >= 0 && b < place.width; ++b)
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
    for (std::size_t i = 0; i < RecordFields.size(); ++i) {
        const RecordFieldLayout& place = RecordFields[i];
        for (int b = 0; opensPlace(RecordFields, i) && b < place.width; ++b)
            ++uses[static_cast<std::size_t>(place.offset + b)];
    }
    for (int use : uses) {
        if (use != 1)
            return false;
    }
    return true;
}

// The rows of one place follow each other, with the same bytes; no field is met twice.
template <typename Row, std::size_t N> constexpr bool placesAreContiguous(const std::array<Row, N>& rows)
{
    for (std::size_t i = 1; i < N; ++i) {
        for (std::size_t j = 0; opensPlace(rows, i) && j < i; ++j) {
            if (rows[i].samePlace(rows[j]))
                return false;
        }
    }
    return true;
}

// The bits the rows of one byte set are each set by one row only.
constexpr bool bitsOfARecordByteDisjoint()
{
    for (std::size_t i = 0; i < RecordFields.size(); ++i) {
        quint8 seen = 0;
        for (std::size_t j = i; j < RecordFields.size() && RecordFields[j].samePlace(RecordFields[i]); ++j) {
            const Conversion& c = RecordFields[j].conversion;
            const auto bits = static_cast<quint8>(c.mask | (c.kind == Convert::TxOffBits ? c.a | c.b : 0));
            if ((seen & bits) != 0)
                return false;
            seen = static_cast<quint8>(seen | bits);
        }
    }
    return true;
}

static_assert(headerSize(Stream::Write) == 26 && coversEachByteOnce(Stream::Write));
static_assert(headerSize(Stream::Read) == 28 && coversEachByteOnce(Stream::Read));
static_assert(recordCoversEachByteOnce());
static_assert(placesAreContiguous(HeaderFields) && placesAreContiguous(RecordFields));
static_assert(bitsOfARecordByteDisjoint());

} // namespace layout_checks

} // namespace yalmera
