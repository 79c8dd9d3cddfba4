#pragma once

#include "model/channel_table.h"

#include <QStringView>

#include <array>
#include <span>

namespace yalmera {

// The lists the cell editors offer, the data check encodes by position and the station
// read-back decodes by position. A position is the station's code.

inline constexpr QStringView NoneText = u"Нет";

// A per-row flag as plan files and spreadsheets write it.
inline constexpr QStringView FlagSetText = u"да";
inline constexpr QStringView FlagClearText = u"нет";

// Five tone values occur twice (positions 34, 35, 37, 39, 41 repeat 1, 2, 3, 4, 5): the station
// knows both codes, the program only ever sends the first.
inline constexpr std::array<QStringView, 56> CtcssTones{
    u"Нет",   u"67,0",  u"71,9",  u"77,0",  u"82,5",  u"88,5",  u"94,8",  u"100,0", u"103,5", u"107,2",
    u"110,9", u"114,8", u"118,8", u"123,0", u"127,3", u"131,8", u"136,5", u"141,3", u"146,2", u"151,4",
    u"156,7", u"162,2", u"167,9", u"173,8", u"179,9", u"186,2", u"192,8", u"203,5", u"210,7", u"218,1",
    u"225,7", u"233,6", u"241,8", u"250,3", u"67,0",  u"71,9",  u"74,4",  u"77,0",  u"79,9",  u"82,5",
    u"85,4",  u"88,5",  u"91,5",  u"97,4",  u"69,4",  u"159,8", u"165,5", u"171,3", u"177,3", u"183,5",
    u"189,9", u"196,6", u"199,5", u"206,5", u"229,1", u"254,1",
};

// Octal-style codes kept as texts with their leading zero.
inline constexpr std::array<QStringView, 85> DcsCodes{
    u"Нет", u"023", u"025", u"026", u"031", u"032", u"036", u"043", u"047", u"051", u"054", u"065", u"071",
    u"072", u"073", u"074", u"114", u"115", u"116", u"125", u"131", u"132", u"134", u"143", u"152", u"155",
    u"156", u"162", u"165", u"172", u"174", u"205", u"223", u"226", u"243", u"244", u"245", u"251", u"261",
    u"263", u"265", u"271", u"306", u"311", u"315", u"331", u"343", u"346", u"351", u"364", u"365", u"371",
    u"411", u"412", u"413", u"423", u"431", u"432", u"445", u"464", u"465", u"466", u"503", u"506", u"516",
    u"532", u"546", u"565", u"606", u"612", u"624", u"627", u"631", u"632", u"654", u"662", u"664", u"703",
    u"712", u"723", u"731", u"732", u"734", u"743", u"754",
};

inline constexpr std::array<QStringView, 11> ToneNumbers{u"Нет", u"1", u"2", u"3", u"4", u"5",
                                                         u"6",   u"7", u"8", u"9", u"10"};
inline constexpr std::array<QStringView, 6> SquelchLevels{u"1", u"2", u"3", u"4", u"5", u"6"};
inline constexpr std::array<QStringView, 4> PowerSteps{u"1", u"2", u"3", u"4"};
inline constexpr std::array<QStringView, 2> ChannelWidths{u"12,5", u"25"};
inline constexpr std::array<QStringView, 3> TxOffModes{u"Норм", u"RSSI", u"OFF"};
inline constexpr std::array<QStringView, 16> TimeValues{
    u"Нет", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"11", u"12", u"13", u"14", u"15"};

// The texts a list column offers, in list order; empty for the typed and the flag columns.
inline std::span<const QStringView> columnValues(Column column)
{
    switch (column) {
    case Column::CtcssRx:
    case Column::CtcssTx:
        return CtcssTones;
    case Column::DcsRx:
    case Column::DcsTx:
        return DcsCodes;
    case Column::ToneRx:
    case Column::ToneTx:
        return ToneNumbers;
    case Column::Squelch:
        return SquelchLevels;
    case Column::PowerMax:
    case Column::PowerMin:
        return PowerSteps;
    case Column::Width:
        return ChannelWidths;
    case Column::TxOff:
        return TxOffModes;
    case Column::Time:
        return TimeValues;
    default:
        return {};
    }
}

// Position of the first entry equal to text, or -1.
template <std::size_t N> int firstPosition(const std::array<QStringView, N>& list, QStringView text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (list[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

// Position of the last entry equal to text, or -1.
template <std::size_t N> int lastPosition(const std::array<QStringView, N>& list, QStringView text)
{
    for (std::size_t i = N; i-- > 0;) {
        if (list[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace yalmera
