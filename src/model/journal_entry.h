#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace yalmera {

// One line of the exchange journal: which station got which plan (or gave which), and how the
// exchange ended: what the exchange knows, with the plan file and the serial number the user gave.
struct JournalEntry
{
    QDateTime time;    // when the exchange ended
    QString operation; // texts::session::Journal* ("запись", "чтение", ...)
    QString port;      // as the user named it
    QString model;     // "Ялмера 4К-17"; empty when the band code names no band or none came
    std::optional<quint8> typeCode;
    std::optional<int> channelCount;
    QString planFile;
    QByteArray sha256; // of the stream sent or received, 32 bytes; empty when nothing was sent
    QString serialNumber;
    QString outcome;
    QString message;
    // The station's reply latency beyond the line's byte times (an adapter's latency timer);
    // none when no reply was timed.
    std::optional<double> replyLatencyMs;
};

// How long an append waits while another program holds the journal (one stopped in the middle of
// an append, a backup tool), and what ends the wait sooner. A line that does not get in is not
// lost: the failure carries it.
inline constexpr std::chrono::seconds DefaultJournalWait{30};
struct JournalWait
{
    std::chrono::milliseconds limit = DefaultJournalWait;
    // Set (Ctrl-C, SIGTERM, the window ending): no wait, or none any longer.
    const std::atomic<bool>* stop = nullptr;
    // Called when the journal is found held (waited 0) and then a few times a second while the
    // wait lasts, with the time waited: a command says that it waits, a window keeps painting.
    std::function<void(std::chrono::milliseconds waited)> waiting;
    // Shared by the copies of one wait (the appends of one command): once a wait ran out, the
    // appends after it try once and do not wait again.
    std::shared_ptr<std::atomic<bool>> ranOut = std::make_shared<std::atomic<bool>>(false);
};

} // namespace yalmera
