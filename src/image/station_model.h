#pragma once

#include "image/stream_layout.h"
#include "model/station_type.h"

#include <array>
#include <chrono>
#include <span>

namespace yalmera {

// The times and the line speed of the exchanges with a station, measured from the start of
// each wait; a wait ends the moment a byte arrives.
struct ExchangeTimings
{
    int baud = 0;                                  // 8 data bits, no parity, 1 stop bit: 10 bits a byte
    std::chrono::milliseconds replySilence{};      // write: the reply to each byte
    std::chrono::milliseconds headerSilence{};     // read: each header byte
    std::chrono::milliseconds recordSilence{};     // read: each channel-record byte
    std::chrono::milliseconds headerRecordPause{}; // write: between the header and the first record
    // Before its command byte an exchange waits until the line has been quiet this long: a station
    // may still be sending the stream of a read that was interrupted (the program killed), whose
    // tail the next read would take for its header. Longer than the header silence, since a pause
    // the read accepts inside a stream is no end of it.
    std::chrono::milliseconds quietLine{};
    // A station gives up a write stream once no byte of it has come for this long; a byte that
    // comes earlier continues the stream, whatever it is (yalmera-station --abandon-after). So
    // after a write that did not end complete, the next exchange on the port waits this long from
    // the write's last byte, with abandonMargin on top: the last byte's way to the station (the
    // driver's queue, an adapter's latency timer) and a station's clock running a little slow.
    std::chrono::milliseconds stationAbandon{};
    std::chrono::milliseconds abandonMargin{};
};

// One station model as the program knows it: its band constants (model/station_type.h), the
// streams it takes and gives (the tables of stream_layout.h, with the conversions of each
// field), the channels it holds and the timings of its exchanges. Everything that differs
// between models is here; code that serves every model takes it from here.
struct StationModel
{
    StationType band;
    int maxChannels = 0;
    std::span<const HeaderFieldLayout> header;
    std::span<const RecordFieldLayout> record;
    ExchangeTimings timings;

    QString caption() const { return band.modelCaption(); } // "Ялмера 4К-17"

    // The longest stream the station sends, its header and maxChannels records, at the line speed:
    // how long a station may go on sending before an exchange waiting for a quiet line gives up.
    constexpr std::chrono::milliseconds longestReadTime() const
    {
        const int bits = 10 * streamSize(Stream::Read, maxChannels);
        return std::chrono::milliseconds{(bits * 1000 + timings.baud - 1) / timings.baud};
    }
};

inline constexpr ExchangeTimings YalmeraTimings{
    .baud = 1200,
    .replySilence = std::chrono::milliseconds{200},
    .headerSilence = std::chrono::milliseconds{200},
    .recordSilence = std::chrono::milliseconds{100},
    .headerRecordPause = std::chrono::milliseconds{200},
    .quietLine = std::chrono::milliseconds{250},
    .stationAbandon = std::chrono::milliseconds{1000},
    .abandonMargin = std::chrono::milliseconds{250},
};

// The two models share their streams and timings; they differ in their band.
inline constexpr StationModel Yalmera4K17{Band144to174Constants, MaxChannels, HeaderFields, RecordFields,
                                          YalmeraTimings};
inline constexpr StationModel Yalmera4K15{Band30to60Constants, MaxChannels, HeaderFields, RecordFields,
                                          YalmeraTimings};

inline constexpr std::array<const StationModel*, 2> StationModels{&Yalmera4K17, &Yalmera4K15};

constexpr const StationModel& stationModel(Band band)
{
    return band == Band::Mhz30to60 ? Yalmera4K15 : Yalmera4K17;
}

} // namespace yalmera
