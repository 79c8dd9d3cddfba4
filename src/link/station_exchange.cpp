#include "station_exchange.h"

#include <QThread>

namespace yalmera {

namespace {

// Forwards the exchange's reports to the object's signals, from the worker thread.
class SignalObserver final : public ExchangeObserver
{
public:
    explicit SignalObserver(StationExchange& exchange) : m_exchange(exchange) {}
    void gaugeChanged(int value) override { emit m_exchange.gaugeChanged(value); }
    void phaseChanged(ExchangePhase phase) override { emit m_exchange.phaseChanged(phase); }
    void latencyNoticed(const LatencyNotice& notice) override { emit m_exchange.latencyNoticed(notice.text); }

private:
    StationExchange& m_exchange;
};

} // namespace

StationExchange::StationExchange(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<yalmera::ExchangePhase>();
}

StationExchange::~StationExchange()
{
    requestStop();
    waitFinished();
}

bool StationExchange::isRunning() const
{
    return m_busy;
}

void StationExchange::requestStop()
{
    m_stop = true;
}

bool StationExchange::waitFinished(int timeoutMs)
{
    if (!m_thread)
        return true;
    if (m_thread == QThread::currentThread())
        return false; // called from the worker itself
    const bool done = timeoutMs < 0 ? m_thread->wait() : m_thread->wait(QDeadlineTimer(timeoutMs));
    if (done) {
        delete m_thread;
        m_thread = nullptr;
    }
    return done;
}

bool StationExchange::startWorker(std::function<Deliver(ExchangeObserver&, const std::atomic<bool>&)> work)
{
    // From the worker itself (a slot connected directly to finished) the thread could be neither
    // waited for nor replaced.
    if (m_busy || (m_thread && m_thread == QThread::currentThread()))
        return false;
    waitFinished(); // the previous worker has delivered its result and is about to end
    m_stop = false;
    m_busy = true;
    m_thread = QThread::create([this, work = std::move(work)] {
        SignalObserver observer(*this);
        const Deliver deliver = work(observer, m_stop);
        m_busy = false;
        deliver();
    });
    m_thread->start();
    return true;
}

} // namespace yalmera
