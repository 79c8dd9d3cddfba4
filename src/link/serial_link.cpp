#include "serial_link.h"

#include "link/byte_trace.h"
#include "link/link_texts.h"

#include <QStringList>

#include <algorithm>

namespace yalmera {

namespace {

using Clock = std::chrono::steady_clock;

// How often a long wait for a quiet line looks at the stop flag.
constexpr std::chrono::milliseconds StopLookInterval{50};

// Whole milliseconds still to wait, rounded up so a wait never ends before its deadline.
std::chrono::milliseconds timeUntil(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return std::chrono::milliseconds::zero();
    return std::min(std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(60'000));
}

} // namespace

QList<PortChoice> otherSerialPorts()
{
    QList<PortChoice> ports;
    const QString first = portDeviceName(QStringLiteral("COM1"));
    const QString second = portDeviceName(QStringLiteral("COM2"));
    for (const PortChoice& port : serialPorts()) {
        const QString device = portDeviceName(port.name);
        if (port.location == first || port.location == second || device == first || device == second)
            continue;
        ports.append(port);
    }
    return ports;
}

QString portDetails(const PortChoice& port)
{
    QStringList parts;
    for (const QString& text : {port.description, port.manufacturer}) {
        if (!text.trimmed().isEmpty() && !parts.contains(text.trimmed()))
            parts.append(text.trimmed());
    }
    if (!port.vendorId.isEmpty() || !port.productId.isEmpty())
        parts.append(QStringLiteral("USB %1:%2").arg(port.vendorId, port.productId));
    if (!port.serialNumber.trimmed().isEmpty())
        parts.append(QStringLiteral("S/N ") + port.serialNumber.trimmed());
    return parts.join(QStringLiteral(", "));
}

SerialLink::SerialLink() = default;

SerialLink::~SerialLink()
{
    close();
}

UserMessage SerialLink::openSelected()
{
    close();
    m_lastError.clear();
    const detail::PortOpenResult opened = m_port.open(portDeviceName(m_portChoice), m_model->timings.baud);
    m_holderKilled = opened.holderKilled;
    switch (opened.failure) {
    case detail::OpenFailure::None:
        return {};
    case detail::OpenFailure::NotFound:
        return UserMessage::failure(texts::link::BadId.toString());
    case detail::OpenFailure::InUse:
        return UserMessage::failure(texts::link::AlreadyOpen.toString());
    case detail::OpenFailure::Other:
        break;
    }
    return UserMessage::failure(opened.text);
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

void SerialLink::flushInput()
{
    if (!m_port.isOpen())
        return;
    m_received.clear();
    m_receivedAt = 0;
    m_port.purgeInput();
}

void SerialLink::flushOutput()
{
    if (m_port.isOpen())
        m_port.purgeOutput();
}

UserMessage SerialLink::putByte(quint8 byte)
{
    if (!m_port.isOpen())
        return UserMessage::failure(texts::link::NotOpen.toString());
    if (!m_port.write(static_cast<char>(byte))) {
        noteLineError();
        return UserMessage::failure(m_lastError);
    }
    if (m_trace)
        m_trace->sent(byte);
    return {};
}

bool SerialLink::byteReady()
{
    if (m_receivedAt < m_received.size())
        return true;
    return m_port.isOpen() && takeArrived(std::chrono::milliseconds::zero()) &&
           m_receivedAt < m_received.size();
}

quint8 SerialLink::getByte()
{
    if (m_receivedAt >= m_received.size())
        return 0;
    const auto byte = static_cast<quint8>(m_received[m_receivedAt++]);
    if (m_receivedAt == m_received.size()) {
        m_received.clear();
        m_receivedAt = 0;
    }
    if (m_trace)
        m_trace->received(byte);
    return byte;
}

bool SerialLink::awaitQuietLine(const std::atomic<bool>* stop, Clock::time_point notBefore)
{
    const std::chrono::milliseconds quiet = m_model->timings.quietLine;
    const Clock::time_point giveUp = std::max(Clock::now(), notBefore) + m_model->longestReadTime();
    Clock::time_point quietUntil = std::max(Clock::now() + quiet, notBefore);
    for (;;) {
        if (stop && *stop)
            return false;
        if (!m_port.isOpen())
            return true;
        if (m_receivedAt < m_received.size()) {
            for (qsizetype i = m_receivedAt; m_trace && i < m_received.size(); ++i)
                m_trace->discarded(static_cast<quint8>(m_received[i]));
            m_received.clear();
            m_receivedAt = 0;
            const Clock::time_point now = Clock::now();
            if (now > giveUp)
                return false;
            quietUntil = std::max(now + quiet, notBefore);
        }
        const std::chrono::milliseconds wait = timeUntil(quietUntil);
        if (wait.count() <= 0)
            return true;
        // In steps, so that a stop request is answered within one.
        if (!takeArrived(std::min(wait, StopLookInterval)))
            return true; // a failed line is quiet; the next byte sent finds it closed
    }
}

void SerialLink::close()
{
    m_port.close();
    m_received.clear();
    m_receivedAt = 0;
}

void SerialLink::setRts(bool on)
{
    if (m_port.isOpen())
        m_port.setRts(on);
}

std::optional<quint8> SerialLink::receiveByte(std::chrono::milliseconds silenceLimit)
{
    const Clock::time_point deadline = Clock::now() + silenceLimit;
    for (;;) {
        if (m_receivedAt < m_received.size())
            return getByte();
        if (!m_port.isOpen())
            return std::nullopt;
        const std::chrono::milliseconds wait = timeUntil(deadline);
        if (wait.count() <= 0 || !takeArrived(wait))
            return std::nullopt;
    }
}

bool SerialLink::waitReply()
{
    if (receiveByte(m_model->timings.replySilence))
        return true;
    setRts(false);
    close();
    return false;
}

bool SerialLink::takeArrived(std::chrono::milliseconds wait)
{
    const std::optional<QByteArray> arrived = m_port.read(wait);
    if (!arrived) {
        noteLineError();
        return false;
    }
    if (m_receivedAt == m_received.size()) {
        m_received.clear();
        m_receivedAt = 0;
    }
    m_received.append(*arrived);
    return true;
}

void SerialLink::noteLineError()
{
    m_lastError = m_port.errorString();
    close();
}

} // namespace yalmera
