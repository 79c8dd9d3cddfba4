#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/station_type.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

// The plan codec: the conversions of the layout tables (stream_layout.h) run both ways. The data
// check validates the plan and hands the accepted values to the encoders; the read-back takes
// the texts of the decoders.

namespace yalmera {

// A value of the plan as the data check accepted it: the text as written, and what its rule
// read it as: a whole number, a list position, a flag (0 or 1), a frequency in kHz, or no value
// at all ("Нет" in a tone or time cell, a repeater mark in a frequency cell).
struct PlanValue
{
    QString text;
    qint64 number = 0;
    double kHz = 0;
    bool none = false;
};

// The accepted settings values of a plan, one per row of HeaderFields (rows without a value stay
// empty), and the accepted values of one channel row, one per column.
using SettingValues = std::array<PlanValue, HeaderFields.size()>;
using ChannelValues = std::array<PlanValue, ColumnCount>;

// The header row that carries a settings key, or the row of a field that carries none; -1 when
// no row does.
constexpr int headerRowOf(HeaderField field, QStringView key)
{
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const QStringView rowKey = HeaderFields[i].key;
        bool same = HeaderFields[i].field == field && rowKey.size() == key.size();
        for (qsizetype c = 0; same && c < key.size(); ++c)
            same = rowKey[c] == key[c];
        if (same)
            return static_cast<int>(i);
    }
    return -1;
}

// Every header field that carries a value, from the accepted values.
void encodeSettings(const SettingValues& values, StreamContents& contents);
// The settings text of a header row's key as the contents hold it ("Яркость диодов" 1 for the
// code 1, "ФВ" 21 for 0x21, "СК" the channel number of the record named, or nothing when the
// record is beyond the count).
QString settingText(const HeaderFieldLayout& row, const StreamContents& contents);

// The record of an accepted channel row: frequency words on the band's synthesiser, DCS codes
// as "Код_DCS" (the image's DcsPolarity) says.
ChannelRecord encodeRecord(const ChannelValues& values, const StationType& band, quint8 dcsPolarity);

// A CTCSS or DCS code of a record that is in no list: the record cannot be shown.
struct UnlistedCode
{
    quint8 code = 0;
    bool ctcss = false;
};
// Writes what a record holds into the cells and flags of table row `row`, the frequency words
// decoded on the band's synthesiser and the DCS codes as dcsPolarity says; stops at the first
// code in no list.
std::optional<UnlistedCode> decodeRecord(const ChannelRecord& record, const StationType& band,
                                         quint8 dcsPolarity, ChannelTable& table, int row);

// ---- The converters, for the tests and the tools that show single values ----

// Encodes a count D of 6,25 kHz steps with the band's modulus M: Q = D div M, R = D mod M,
// word = 0x100000 + Q*128 + R*4 + 1, most significant byte first.
FrequencyWord encodeFrequencyWord(std::int64_t steps, qint32 modulus);
// The word of a frequency in kHz (on the 6,25 kHz grid, offset already added).
FrequencyWord frequencyWordForKHz(double kHz, qint32 modulus);
// The inverse: the count of 6,25 kHz steps a word carries.
std::int64_t decodeFrequencyWordSteps(const FrequencyWord& word, qint32 modulus);
double stepsToKHz(std::int64_t steps);

// "Id_номер" symbols: "0".."9" 0..9, "A".."D" (either case) 10..13, "#" 14, "*" 15, else 0.
int idSymbolValue(QChar symbol);
// Packs the first four symbols, the first in the top four bits.
quint16 packIdCode(QStringView text);
// The four symbols of a packed code as the read-back writes them ("#" for 14, "*" for 15).
QString idCodeText(quint16 code);

// Position in DcsCodes (1..84) of the inverse twin of the code at position 1..84; 0 maps to 0.
// The relation is symmetric, so the same table encodes and decodes.
quint8 dcsInverse(int position);

// A tone frequency in Hz as the station takes it ("Тон1".."Тон10").
quint8 toneCode(int hz);

// A byte as two upper-case hexadecimal digits.
QString byteToHex(quint8 byte);

} // namespace yalmera
