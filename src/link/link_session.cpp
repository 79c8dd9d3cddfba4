#include "link_session.h"

#include "link/byte_trace.h"

namespace yalmera {

LinkSession::LinkSession(const QString& port, ExchangeObserver& observer, ExchangePhase phase,
                         ByteTrace* trace)
    : m_observer(observer), m_phase(phase), m_trace(trace)
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
    m_link.configure();
    return m_link.openSelected();
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
