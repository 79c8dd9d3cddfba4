#include "link_session.h"

#include "link/byte_trace.h"

namespace yalmera {

LinkSession::LinkSession(const QString& port, const StationModel& model, ExchangeObserver& observer,
                         ExchangePhase phase, ByteTrace* trace)
    : m_model(model), m_unfinished(portDeviceName(port), model.timings), m_observer(observer), m_phase(phase),
      m_trace(trace)
{
    m_link.setPortChoice(port);
    if (m_trace) {
        m_trace->beginExchange(
            phase == ExchangePhase::Writing ? ByteTrace::Exchange::Write : ByteTrace::Exchange::Read, port);
        m_trace->setPhase(phase);
        m_link.setTrace(m_trace);
    }
    m_observer.phaseChanged(m_phase);
}

LinkSession::~LinkSession()
{
    m_link.close();
    if (m_phase != ExchangePhase::NoAnswer)
        m_observer.phaseChanged(ExchangePhase::Idle);
}

UserMessage LinkSession::open()
{
    m_link.configure(m_model);
    UserMessage failure = m_link.openSelected();
    // Only now, with the port ours: no other program is writing to the station meanwhile.
    if (failure.isEmpty())
        m_stationFreeAt = m_unfinished.stationFreeAt(m_link.holderWasKilled());
    return failure;
}

bool LinkSession::awaitLineFree(const std::atomic<bool>* stop)
{
    if (!m_link.awaitQuietLine(stop, m_stationFreeAt.value_or(std::chrono::steady_clock::time_point{})))
        return false;
    // A line that failed meanwhile ends the wait early; the record then stays for the next try.
    if (m_stationFreeAt && std::chrono::steady_clock::now() >= *m_stationFreeAt) {
        m_unfinished.clear();
        m_stationFreeAt.reset();
    }
    return true;
}

void LinkSession::writeBegins()
{
    m_unfinished.begin();
}

void LinkSession::writeEnded(bool complete, qint64 lastByte)
{
    if (lastByte >= 0 && !complete)
        m_unfinished.leave(lastByte);
    else if (complete || !m_stationFreeAt)
        m_unfinished.clear(); // nothing sent, and no broken stream left from before
    // Otherwise a line that failed cut short the wait for an earlier broken stream: the record
    // stays, now without a time.
}

void LinkSession::enter(ExchangePhase phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    if (m_trace)
        m_trace->setPhase(phase);
    m_observer.phaseChanged(phase);
}

void LinkSession::closeFlushed()
{
    m_link.flushInput();
    m_link.flushOutput();
    m_link.close();
}

} // namespace yalmera
