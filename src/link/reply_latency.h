#pragma once

#include "image/station_model.h"

#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace yalmera {

// A USB-serial adapter hands received bytes to the system only when its latency timer runs out
// (16 ms by default on the common chips): every reply of the write then comes that much late, and
// with one reply awaited per byte the write takes up to twice its line time.

// Replies later than this lengthen a write noticeably (a quarter of a byte's round trip): an
// exchange says so once.
inline constexpr std::chrono::microseconds NoticeableLatency{4000};

// What an exchange says once its first replies show them late.
struct LatencyNotice
{
    double latencyMs = 0;                // beyond the line's own byte times
    std::chrono::milliseconds predicted; // the whole exchange at the pace measured
    std::chrono::milliseconds floor;     // the same exchange with replies on time
    int bytesDone = 0;                   // replies taken when it was said
    QString text;                        // for the window's status area and the command line
};

// Times the replies of an exchange. The write gives the round trip of each byte (handed to the
// driver until its reply is taken); the median of the first few, beyond the two byte times the
// line needs, is the station's latency as this system sees it.
class ReplyLatencyMeter
{
public:
    // byteCount: the bytes the exchange sends, each awaiting its reply; pause: its fixed waits;
    // preamble: from the exchange's start to its first byte (the port opened, the line quiet).
    // port: as the user named it, for the advice.
    ReplyLatencyMeter(const ExchangeTimings& timings, int byteCount, std::chrono::milliseconds pause,
                      std::chrono::microseconds preamble, QString port);

    // One reply. elapsed: since the exchange's start; pauseDone: its fixed waits are behind.
    // The notice, once, when the sample is complete and the replies come noticeably late.
    std::optional<LatencyNotice> replied(std::chrono::microseconds roundTrip,
                                         std::chrono::microseconds elapsed, bool pauseDone);
    // The latency of the replies timed so far; none before the first that counts.
    std::optional<double> latencyMs() const;

    // Replies timed before the latency is judged; the command byte's is not among them (the
    // station may take longer to begin a write).
    static constexpr int SampleSize = 8;

private:
    std::chrono::microseconds medianRoundTrip() const;

    std::chrono::microseconds m_lineRoundTrip; // one byte out, one back
    int m_byteCount;
    std::chrono::milliseconds m_pause;
    std::chrono::microseconds m_preamble;
    QString m_port;
    int m_replies = 0;
    std::vector<std::chrono::microseconds> m_sample;
    bool m_said = false;
};

// The read's latency: its first byte's wait after the command, beyond the two byte times of the
// command and that byte. The read says nothing: its stream flows without replies, so a late
// adapter adds one latency to it, not one per byte.
double firstByteLatencyMs(const ExchangeTimings& timings, std::chrono::microseconds firstByteWait);

// What lowers the latency on this system, for the adapter on port.
QString latencyAdvice(const QString& port);

} // namespace yalmera
