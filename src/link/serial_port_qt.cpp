#include "serial_port.h"

#include "link/adapter_latency.h"
#include "link/link_texts.h"
#include "link/low_latency.h"
#include "link/port_lock.h"
#include "link/serial_link.h"
#include "model/system_error.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

#ifdef Q_OS_LINUX
#include <sys/ioctl.h>
#endif

#include <utility>

namespace yalmera::detail {

struct SerialPort::Private
{
    QSerialPort port;
    QString lastError;
    LatencyRestore restoreLatency; // after the port closes

    // The other side is gone (a closed pseudo-terminal, an unplugged adapter); the port would
    // report the same error in a tight loop.
    bool lineFailed(QSerialPort::SerialPortError transferError) const
    {
        return port.error() == transferError || port.error() == QSerialPort::ResourceError;
    }
    void noteFailure()
    {
        lastError = failureText();
        port.clearError();
    }
    // Why the port did not open, as the result tells it.
    void describeOpenFailure(PortOpenResult& result) const
    {
        switch (port.error()) {
        case QSerialPort::DeviceNotFoundError:
            result.failure = OpenFailure::NotFound;
            break;
        case QSerialPort::OpenError:
            result.failure = OpenFailure::InUse;
            break;
        case QSerialPort::PermissionError: {
            // Both a port held by another program (lock file, exclusive mode) and a device we
            // may not use end here. Only a device we could use is held by another program.
            const QFileInfo info(port.portName().startsWith(u'/')
                                     ? port.portName()
                                     : QStringLiteral("/dev/") + port.portName());
            result.failure = info.isReadable() && info.isWritable() ? OpenFailure::InUse : OpenFailure::Other;
            result.text = failureText();
            break;
        }
        default:
            result.failure = OpenFailure::Other;
            result.text = failureText();
            break;
        }
    }
    // The port's error in the program's words, by the port's own error code where it names a
    // common failure.
    QString failureText() const
    {
        switch (port.error()) {
        case QSerialPort::PermissionError:
            return systemErrorText(SystemFailure::NoPermission, port.errorString());
        case QSerialPort::ResourceError: // the adapter is gone
            return systemErrorText(SystemFailure::DeviceGone, port.errorString());
        default:
            return systemErrorText(port.errorString());
        }
    }
};

SerialPort::SerialPort() : d(std::make_unique<Private>()) {}

SerialPort::~SerialPort()
{
    close();
}

PortOpenResult SerialPort::open(const QString& device, qint32 baud)
{
    close();
    QSerialPort& port = d->port;
    PortOpenResult result;
    // Qt names its lock file after the port name: the device's own name, whatever link led to it.
    const QString resolved = resolvedDevice(device);
    // Qt would take a live program's lock in another format for stale and remove it.
    const PortLocks locks = checkPortLocks(resolved);
    result.holderKilled = locks.holderKilled;
    if (locks.held) {
        result.failure = OpenFailure::InUse;
        return result;
    }
    port.setPortName(resolved);
    // Applied by the port when it opens.
    port.setBaudRate(baud);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    // No limit on our side: the driver's own queue takes what arrives between two waits.
    port.setReadBufferSize(0);

    if (!port.open(QIODevice::ReadWrite)) {
        d->describeOpenFailure(result);
        port.clearError();
        return result;
    }
    if (!lockOpenDevice(static_cast<int>(port.handle()))) {
        port.close();
        port.clearError();
        result.failure = OpenFailure::InUse;
        return result;
    }
#ifdef Q_OS_LINUX
    // Qt puts the port in the kernel's exclusive mode, which ends with the device's last close. A
    // pseudo-terminal's other side (the virtual station) keeps it open: the mode a killed program
    // left would refuse every later program but root's for good. The flock above, which goes
    // with the killed program, keeps a second program of ours away all the same.
    if (resolved.startsWith(u"/dev/pts/"))
        ::ioctl(static_cast<int>(port.handle()), TIOCNXCL);
#endif
    // A pseudo-terminal has no modem lines and refuses both with UnsupportedOperationError:
    // the line works all the same.
    port.setDataTerminalReady(true);
    port.setRequestToSend(true);
    port.clearError();
    // Where the driver has no low-latency mode (or refuses it), an FTDI adapter's timer may
    // still be set through sysfs; it is put back when the port closes.
    if (!requestLowLatency(port.handle()))
        d->restoreLatency = sysfsLowerLatency(QStringLiteral("/sys"), QFileInfo(resolved).fileName());
    return result;
}

void SerialPort::close()
{
    if (d->port.isOpen())
        d->port.close();
    d->port.clearError();
    if (const LatencyRestore restore = std::exchange(d->restoreLatency, {}))
        restore();
}

bool SerialPort::isOpen() const
{
    return d->port.isOpen();
}

void SerialPort::setRts(bool on)
{
    d->port.setRequestToSend(on);
    d->port.clearError();
}

void SerialPort::purgeInput()
{
    // Qt's buffer and the driver's queue alike.
    d->port.clear(QSerialPort::Input);
    d->port.clearError();
}

void SerialPort::purgeOutput()
{
    d->port.clear(QSerialPort::Output);
    d->port.clearError();
}

bool SerialPort::write(char byte)
{
    QSerialPort& port = d->port;
    if (port.write(&byte, 1) != 1) {
        d->noteFailure();
        return false;
    }
    // Hands the byte to the driver now; without an event loop it would wait for the next wait.
    port.flush();
    if (d->lineFailed(QSerialPort::WriteError)) {
        d->noteFailure();
        return false;
    }
    return true;
}

std::optional<QByteArray> SerialPort::read(std::chrono::milliseconds wait)
{
    QSerialPort& port = d->port;
    if (port.bytesAvailable() == 0 && !port.waitForReadyRead(static_cast<int>(wait.count()))) {
        if (d->lineFailed(QSerialPort::ReadError)) {
            d->noteFailure();
            return std::nullopt;
        }
        port.clearError();
    }
    return port.readAll();
}

QString SerialPort::errorString() const
{
    return d->lastError;
}

} // namespace yalmera::detail

namespace yalmera {

namespace {

constexpr QStringView FirstPort = u"/dev/ttyS0";
constexpr QStringView SecondPort = u"/dev/ttyS1";

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

QString portAccessHint(const QString& choice)
{
#ifdef Q_OS_LINUX
    const QFileInfo device(portDeviceName(choice));
    if (device.exists() && !(device.isReadable() && device.isWritable()))
        return texts::link::NoPortAccessHint.toString();
#else
    Q_UNUSED(choice);
#endif
    return {};
}

std::optional<int> adapterLatencyTimer(const PortChoice& port)
{
    return detail::sysfsLatencyTimer(
        QStringLiteral("/sys"), QFileInfo(port.location.isEmpty() ? port.name : port.location).fileName());
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

} // namespace yalmera
