#pragma once

#include "link/exchange_report.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class QThread;

namespace yalmera {

// Common part of the write and read exchange objects: a worker thread and the signals the window
// follows. The signals are emitted from the worker; connections to objects of the window's thread
// are queued, so they arrive there in the order they were emitted.
class StationExchange : public QObject
{
    Q_OBJECT
public:
    explicit StationExchange(QObject* parent = nullptr);
    // Asks a running exchange to stop and waits for its thread.
    ~StationExchange() override;

    bool isRunning() const;
    // Asks a running exchange to stop at its next byte; it ends with outcome Cancelled.
    void requestStop();
    // Blocks until the running exchange (if any) has ended.
    bool waitFinished(int timeoutMs = -1);

signals:
    void gaugeChanged(int value);
    void phaseChanged(yalmera::ExchangePhase phase);
    // LatencyNotice::text, for the window's status area.
    void latencyNoticed(const QString& text);

protected:
    // Runs work on a new worker thread with an observer that emits the signals above; false when
    // an exchange is still running. work returns what delivers its result (emits finished); it
    // runs once the exchange counts as ended, so a slot queued to finished may start the next (from
    // the worker itself, through a direct connection, nothing can start).
    using Deliver = std::function<void()>;
    bool startWorker(std::function<Deliver(ExchangeObserver&, const std::atomic<bool>&)> work);

private:
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_busy{false};
};

} // namespace yalmera
