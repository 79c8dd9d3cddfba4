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

QString portSummary(const PortChoice& port)
{
    QStringList about;
    for (const QString& alias : {QStringLiteral("COM1"), QStringLiteral("COM2")}) {
        const QString device = portDeviceName(alias);
        if ((port.location == device || port.name == device) &&
            port.name.compare(alias, Qt::CaseInsensitive) != 0)
            about.append(alias);
    }
    if (const QString details = portDetails(port); !details.isEmpty())
        about.append(details);
    return about.join(QStringLiteral(", "));
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
    m_bytesSent = 0;
    m_bytesReceived = 0;
    m_replyMissed = false;
    const int baud = m_model->timings.baud;
    const detail::PortOpenResult opened = m_port.open(portDeviceName(m_portChoice), baud);
    m_holderKilled = opened.holderKilled;
    const QString opening = texts::link::StepOpening.toString();
    switch (opened.failure) {
    case detail::OpenFailure::None:
        return {};
    case detail::OpenFailure::NotFound: {
        // The ports there are, as "yalmera-cli ports" lists them: most often the station's adapter
        // is simply another one than the window's first choice.
        QStringList present;
        for (const PortChoice& port : serialPorts()) {
            const QString summary = portSummary(port);
            present.append(summary.isEmpty() ? port.name : QStringLiteral("%1 (%2)").arg(port.name, summary));
        }
        const QString ports =
            present.isEmpty() ? texts::link::NoPortsPresent.toString()
                              : texts::link::PortsPresent.toString().arg(present.join(QStringLiteral(", ")));
        return failure(texts::link::BadId.toString(), opening,
                       texts::link::PortMissing.toString().arg(ports));
    }
    case detail::OpenFailure::InUse:
        return failure(texts::link::AlreadyOpen.toString(), opening, texts::link::PortBusy.toString());
    case detail::OpenFailure::Other:
        break;
    }
    if (opened.settingUp)
        return failure(opened.text, texts::link::StepSettingUp.toString().arg(baud),
                       texts::link::LineRefused.toString());
    return failure(opened.text, opening, texts::link::PortRefused.toString());
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
    const QString notOpen = texts::link::NotOpen.toString();
    if (!m_port.isOpen() && m_replyMissed) {
        const QString step = texts::link::StepAwaitingReply.toString().arg(m_bytesSent);
        if (!m_lastError.isEmpty())
            return failure(notOpen, step, texts::link::LineFailed.toString().arg(m_lastError));
        return failure(notOpen, step,
                       texts::link::NoReply.toString().arg(m_model->timings.replySilence.count()));
    }
    const QString step = texts::link::StepSending.toString().arg(m_bytesSent + 1);
    if (!m_port.isOpen())
        return failure(notOpen, step,
                       m_lastError.isEmpty() ? texts::link::PortNotOpened.toString()
                                             : texts::link::LineFailed.toString().arg(m_lastError));
    if (!m_port.write(static_cast<char>(byte))) {
        noteLineError();
        return failure(m_lastError, step, texts::link::ByteRefused.toString());
    }
    ++m_bytesSent;
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
    ++m_bytesReceived;
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
    m_replyMissed = true;
    return false;
}

UserMessage SerialLink::lineFailure() const
{
    if (m_lastError.isEmpty())
        return {};
    return UserMessage::failure(texts::link::FailureAt.toString().arg(
        m_portChoice.trimmed(), texts::link::StepReceiving.toString().arg(m_bytesReceived + 1),
        texts::link::LineFailed.toString().arg(m_lastError)));
}

UserMessage SerialLink::failure(const QString& ownText, const QString& step, const QString& what) const
{
    return UserMessage::failure(ownText + u'\n' +
                                texts::link::FailureAt.toString().arg(m_portChoice.trimmed(), step, what));
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
