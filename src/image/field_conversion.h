#pragma once

#include <QStringView>
#include <QtGlobal>

// How a field of the station's image follows from the plan, and how the plan is read back from
// it: one conversion per row of the layout tables (stream_layout.h), run both ways by
// field_codec.cpp. A header field takes a settings value ("Яркость диодов", "Ф_V"), a record
// field a cell or flag of its row.

namespace yalmera {

enum class Convert : quint8 {
    Nothing, // no plan value: the command, the module type and band code, unused and reserved bytes

    // ---- Settings values (header) ----
    Linear,         // a whole number x as a * x + b (low byte); back (value - b) / a
    OnOff,          // "+" as a, "-" as b; back "+" for a, "-" for anything else
    Divided,        // a whole number as x / a to the nearest whole number, ties to even; back value * a
    SwitchBit,      // "+" sets the mask; back "+" when it is set
    NibbleDigits,   // two decimal digits, the first in the top half byte; back two hexadecimal digits
    IdSymbols,      // four "Id_номер" symbols, 4 bits each, the first on top
    HexDigits,      // the station's serial number: two hexadecimal digits per byte
    RecordPosition, // "СК": the 0-based record of the channel; back the channel number it holds

    // ---- Cells and flags of a channel row (record) ----
    Number,       // a whole number as its low byte; back decimal
    NumberOrNone, // no value ("Нет") as 0, a whole number as its low byte; back 1..a as decimal, else "Нет"
    Ticked,       // the row's flag sets the mask; back the flag
    NotTicked,             // the row's flag clears the mask; back the flag
    TextBit,               // the mask set when the cell holds text; back text when set, other when clear
    NoneBit,               // the mask set when the cell holds no value, "Нет" (not read back)
    MarkBit,               // the mask cleared when the cell holds no value, the repeater mark (not read back)
    CtcssModeBit,          // the mask set when neither DCS cell holds a code; read back as the record's mode
    ReceiveFrequencyWord,  // kHz plus the band's receive offset as the band's frequency word; no
                           // value, the repeater mark, as 0 0 0; back the mark text when the first
                           // byte is 0
    TransmitFrequencyWord, // the same without the offset
    CtcssCode,             // CTCSS mode: the position in CtcssTones, 200 for "Нет"
    DcsCode, // DCS mode: the position in DcsCodes (its inverse twin's with "Код_DCS" "+"), 200 for "Нет"
    TxOffBits,    // "RSSI" clears bit mask a, "OFF" bit mask b; back the first cleared, else "Норм"
    ConstantBits, // the mask always set
};

struct Conversion
{
    Convert kind = Convert::Nothing;
    qint32 a = 0;
    qint32 b = 0;
    quint8 mask = 0;
    QStringView text{};
    QStringView other{};
};

// The table's spelling of each conversion.
namespace convert {

constexpr Conversion none()
{
    return {};
}
constexpr Conversion of(Convert kind)
{
    return {kind};
}
constexpr Conversion linear(qint32 factor, qint32 addend)
{
    return {Convert::Linear, factor, addend};
}
constexpr Conversion onOff(qint32 on, qint32 off)
{
    return {Convert::OnOff, on, off};
}
constexpr Conversion divided(qint32 divisor)
{
    return {Convert::Divided, divisor};
}
constexpr Conversion numberOrNone(qint32 highest)
{
    return {Convert::NumberOrNone, highest};
}
constexpr Conversion bit(Convert kind, quint8 mask, QStringView text = {}, QStringView other = {})
{
    return {kind, 0, 0, mask, text, other};
}
constexpr Conversion frequencyWord(Convert kind, QStringView mark)
{
    return {kind, 0, 0, 0, mark};
}
constexpr Conversion txOffBits(quint8 rssi, quint8 off)
{
    return {Convert::TxOffBits, rssi, off};
}

} // namespace convert

} // namespace yalmera
