#pragma once

#include "image/station_model.h"

#include <QString>

#include <chrono>
#include <optional>

namespace yalmera {

// A station takes a write stream byte by byte and gives up a broken one only after its abandon
// time (ExchangeTimings) without a byte of it; the bytes of a next write that come earlier continue
// the broken stream, are acknowledged all the same, and the station ends with neither plan. So a
// write leaves a record of its port from just before its command byte until it ends complete, and
// the next exchange on the port that finds the record waits until the station has certainly given
// that stream up. A write that ends broken notes the time of its last byte there; a writer that
// was killed leaves no time, and the wait then counts from the moment the record is found, when
// the killed writer certainly sends no more (the port is ours by then). Kept beside the port's
// lock (detail::readPortState), so the desktop program and the command-line tool see each other's
// records.
class UnfinishedWrite
{
public:
    // device: as portDeviceName gives it; timings: the station model's.
    UnfinishedWrite(QString device, const ExchangeTimings& timings)
        : m_device(std::move(device)), m_abandonWait(timings.stationAbandon + timings.abandonMargin)
    {
    }

    // When a station on the port has certainly given up a write stream an earlier exchange left
    // broken; nothing when no such write is known. holderKilled: the port's lock was left by a
    // killed program, which counts as a record without a time. Never more than the station's
    // abandon time and its margin from now, whatever the clock did.
    std::optional<std::chrono::steady_clock::time_point> stationFreeAt(bool holderKilled) const;
    // Just before a write's command byte.
    void begin() const;
    // A write ended without its last reply; lastByte: when its last byte went out, in milliseconds
    // since 1970 (UTC), a time other programs can compare.
    void leave(qint64 lastByte) const;
    // A write ended complete, or the station has certainly given up the broken stream.
    void clear() const;

private:
    QString m_device;
    std::chrono::milliseconds m_abandonWait; // the station's abandon time and its margin
};

} // namespace yalmera
