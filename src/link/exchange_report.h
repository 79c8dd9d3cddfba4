#pragma once

#include "link/reply_latency.h"
#include "model/user_message.h"

#include <QMetaType>
#include <QString>

namespace yalmera {

// Where an exchange stands. The station-link window and the command-line tool turn it into their
// status texts and buttons; the exchange itself decides neither.
enum class ExchangePhase {
    Idle,        // nothing runs (the start, the end of an exchange that did not lose the station)
    Writing,     // the write exchange runs
    ReadRequest, // the read exchange opens the line and asks the station (the read may still be
                 // asked for again: the window keeps "Чтение данных " enabled)
    Reading,     // the station's stream flows in
    NoAnswer,    // the station fell silent; the exchange has given up (or is about to)
};

// How an exchange ended.
enum class ExchangeOutcome {
    Completed,  // every byte went through
    Refused,    // not started (plan not checked) or a read stream the program cannot hold
    OpenFailed, // the port could not be opened; nothing was sent
    TimedOut,   // the station fell silent, or its port vanished while the program waited ("AK")
    LinkFailed, // the line refused a byte, or the station went on sending before the command byte
    Cancelled,  // stopped on request (the window is being destroyed)
};

// What an exchange tells the window while it runs, in the order the window must show it. The
// exchanges call it on their own (worker) thread.
class ExchangeObserver
{
public:
    virtual ~ExchangeObserver() = default;
    virtual void gaugeChanged(int value) = 0; // 0..100
    virtual void phaseChanged(ExchangePhase phase) = 0;
    // The replies come noticeably late (said at most once per exchange, early).
    virtual void latencyNoticed(const LatencyNotice& notice) { Q_UNUSED(notice); }
};

} // namespace yalmera

Q_DECLARE_METATYPE(yalmera::ExchangePhase)
