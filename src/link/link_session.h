#pragma once

#include "link/exchange_report.h"
#include "link/serial_link.h"
#include "link/unfinished_write.h"
#include "model/user_message.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

namespace yalmera {

class ByteTrace;

// One exchange's hold on the line: it tells the observer the exchange's phase at once, opens the
// chosen port on request, and on every way out closes the line and tells the observer the idle
// phase, unless the station was lost (NoAnswer), which stays on show until the next exchange.
// With a trace, every byte of the line and every phase goes there too.
class LinkSession
{
public:
    LinkSession(const QString& port, const StationModel& model, ExchangeObserver& observer,
                ExchangePhase phase, ByteTrace* trace = nullptr);
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    // Configures the line for the model (its line speed, 8N1, no handshake, its waits) and opens
    // the port; the failure to show, or an empty message. Learns whether a write on the port was left broken
    // (UnfinishedWrite).
    UserMessage open();
    SerialLink& link() { return m_link; }

    // Before the command byte: waits until the line is quiet (SerialLink::awaitQuietLine) and,
    // when a write on the port was left broken, until the station has certainly given it up;
    // the port's record of it goes then. False as awaitQuietLine, the record kept.
    bool awaitLineFree(const std::atomic<bool>* stop);
    // The write's record: from just before its command byte until it ends. complete: every byte
    // acknowledged. lastByte: when the last byte went out (ms since 1970, UTC), none sent when
    // negative.
    void writeBegins();
    void writeEnded(bool complete, qint64 lastByte);

    // A new phase for the observer (Reading once the command byte is out, NoAnswer on silence).
    void enter(ExchangePhase phase);
    // Discards what is still queued either way and closes the line (the end of a read or write
    // that kept its station).
    void closeFlushed();

private:
    const StationModel& m_model;
    SerialLink m_link;
    UnfinishedWrite m_unfinished;
    // When the station has certainly given up a write left broken on the port; none when none was.
    std::optional<std::chrono::steady_clock::time_point> m_stationFreeAt;
    ExchangeObserver& m_observer;
    ExchangePhase m_phase;
    ByteTrace* m_trace;
};

} // namespace yalmera
