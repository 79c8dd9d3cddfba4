#include "serial_link.h"

#include "link/byte_trace.h"
#include "link/link_texts.h"
#include "link/low_latency.h"
#include "link/port_lock.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace yalmera {

namespace {

using Clock = std::chrono::steady_clock;

#ifdef Q_OS_WIN
constexpr QStringView FirstPort = u"COM1";
constexpr QStringView SecondPort = u"COM2";
#else
constexpr QStringView FirstPort = u"/dev/ttyS0";
constexpr QStringView SecondPort = u"/dev/ttyS1";
#endif

// Whole milliseconds still to wait, rounded up so a wait never ends before its deadline.
int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, 60'000));
}

} // namespace

QString portDeviceName(const QString& choice)
{
    const QString name = choice.trimmed();
    if (name.compare(u"COM1", Qt::CaseInsensitive) == 0)
        return FirstPort.toString();
    if (name.compare(u"COM2", Qt::CaseInsensitive) == 0)
        return SecondPort.toString();
    return name;
}

QList<PortChoice> serialPorts()
{
    QList<PortChoice> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const auto usbId = [](bool has, quint16 id) {
            return has ? QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper() : QString();
        };
        ports.append({info.portName(), info.description(), info.systemLocation(), info.manufacturer(),
                      usbId(info.hasVendorIdentifier(), info.vendorIdentifier()),
                      usbId(info.hasProductIdentifier(), info.productIdentifier()), info.serialNumber()});
    }
    return ports;
}

QList<PortChoice> otherSerialPorts()
{
    QList<PortChoice> ports;
    const QString first = FirstPort.toString();
    const QString second = SecondPort.toString();
    for (const PortChoice& port : serialPorts()) {
        if (port.location == first || port.location == second || port.name == first || port.name == second)
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

void SerialLink::configure()
{
    // Applied by the port when it opens; a closed port only keeps them.
    m_port.setBaudRate(QSerialPort::Baud1200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // No limit on our side: the driver's own queue takes what arrives between two waits.
    m_port.setReadBufferSize(0);
}

UserMessage SerialLink::openSelected()
{
    close();
    m_lastError.clear();
    const QString device = portDeviceName(m_portChoice);
    m_port.setPortName(device);
    bool opened = m_port.open(QIODevice::ReadWrite);
    if (!opened && m_port.error() == QSerialPort::PermissionError) {
        // Qt refuses a port whose lock file a killed program left behind (for 30 s when the file
        // is empty, for good once such leftovers pile up): clear what no live process holds.
        m_port.clearError();
        clearAbandonedPortLock(device);
        opened = m_port.open(QIODevice::ReadWrite);
    }
    if (!opened) {
        const QSerialPort::SerialPortError error = m_port.error();
        QString text;
        switch (error) {
        case QSerialPort::DeviceNotFoundError:
            text = texts::link::BadId.toString();
            break;
        case QSerialPort::OpenError:
            text = texts::link::AlreadyOpen.toString();
            break;
        case QSerialPort::PermissionError: {
            // Both a port held by another program (lock file, exclusive mode) and a device we
            // may not use end here. Only a device we could use is "already open".
#ifdef Q_OS_WIN
            text = texts::link::AlreadyOpen.toString();
#else
            const QFileInfo info(m_port.portName().startsWith(u'/')
                                     ? m_port.portName()
                                     : QStringLiteral("/dev/") + m_port.portName());
            text = info.isReadable() && info.isWritable() ? texts::link::AlreadyOpen.toString()
                                                          : m_port.errorString();
#endif
            break;
        }
        default:
            text = m_port.errorString();
            break;
        }
        m_port.clearError();
        return UserMessage::failure(text);
    }
    // A pseudo-terminal has no modem lines and refuses both with UnsupportedOperationError:
    // the line works all the same.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    requestLowLatency(m_port.handle());
    return {};
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

void SerialLink::flushInput()
{
    if (!m_port.isOpen())
        return;
    // Our buffer and the driver's queue alike.
    m_port.clear(QSerialPort::Input);
    m_port.clearError();
}

void SerialLink::flushOutput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Output);
    m_port.clearError();
}

UserMessage SerialLink::putByte(quint8 byte)
{
    if (!m_port.isOpen())
        return UserMessage::failure(texts::link::NotOpen.toString());
    const char c = static_cast<char>(byte);
    if (m_port.write(&c, 1) != 1) {
        noteLineError();
        return UserMessage::failure(m_lastError);
    }
    if (m_trace)
        m_trace->sent(byte);
    // Hands the byte to the driver now; without an event loop it would wait for the next wait.
    m_port.flush();
    if (m_port.error() == QSerialPort::WriteError || m_port.error() == QSerialPort::ResourceError) {
        noteLineError();
        return UserMessage::failure(m_lastError);
    }
    return {};
}

bool SerialLink::byteReady()
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
    if (!m_port.waitForReadyRead(0)) {
        const QSerialPort::SerialPortError error = m_port.error();
        if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
            noteLineError();
        else
            m_port.clearError();
    }
    return m_port.isOpen() && m_port.bytesAvailable() > 0;
}

quint8 SerialLink::getByte()
{
    char c = 0;
    if (!m_port.isOpen() || !m_port.getChar(&c))
        return 0;
    if (m_trace)
        m_trace->received(static_cast<quint8>(c));
    return static_cast<quint8>(c);
}

bool SerialLink::awaitQuietLine(const std::atomic<bool>* stop)
{
    const Clock::time_point giveUp = Clock::now() + QuietLineBound;
    Clock::time_point quietUntil = Clock::now() + QuietLineTime;
    for (;;) {
        if (stop && *stop)
            return false;
        if (!m_port.isOpen())
            return true;
        if (m_port.bytesAvailable() > 0) {
            const QByteArray stale = m_port.readAll();
            for (qsizetype i = 0; m_trace && i < stale.size(); ++i)
                m_trace->discarded(static_cast<quint8>(stale[i]));
            const Clock::time_point now = Clock::now();
            if (now > giveUp)
                return false;
            quietUntil = now + QuietLineTime;
        }
        const int waitMs = millisecondsUntil(quietUntil);
        if (waitMs <= 0)
            return true;
        if (!m_port.waitForReadyRead(waitMs)) {
            const QSerialPort::SerialPortError error = m_port.error();
            if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
                noteLineError();
                return true;
            }
            m_port.clearError();
        }
    }
}

void SerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void SerialLink::setRts(bool on)
{
    if (!m_port.isOpen())
        return;
    m_port.setRequestToSend(on);
    m_port.clearError();
}

std::optional<quint8> SerialLink::receiveByte(std::chrono::milliseconds silenceLimit)
{
    const Clock::time_point deadline = Clock::now() + silenceLimit;
    for (;;) {
        if (!m_port.isOpen())
            return std::nullopt;
        if (m_port.bytesAvailable() > 0)
            return getByte();
        const int waitMs = millisecondsUntil(deadline);
        if (waitMs <= 0)
            return std::nullopt;
        if (!m_port.waitForReadyRead(waitMs)) {
            const QSerialPort::SerialPortError error = m_port.error();
            if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
                // The other side is gone (a closed pseudo-terminal, an unplugged adapter): no
                // byte will come, and the port would report the same error in a tight loop.
                noteLineError();
                return std::nullopt;
            }
            m_port.clearError();
        }
    }
}

bool SerialLink::waitReply()
{
    if (receiveByte(ReplySilenceLimit))
        return true;
    setRts(false);
    close();
    return false;
}

void SerialLink::noteLineError()
{
    m_lastError = m_port.errorString();
    close();
}

} // namespace yalmera
