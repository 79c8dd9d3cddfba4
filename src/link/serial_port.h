#pragma once

// The platform part of SerialLink: one serial device, raw, 8N1 without handshake.
// serial_port_qt.cpp (Qt SerialPort, Linux and macOS) and serial_port_win32.cpp (the Windows
// communications functions) implement it; the build picks one. SerialLink keeps the waits, the
// receive buffer and the messages, so both platforms behave alike above this line.

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace yalmera::detail {

enum class OpenFailure {
    None,
    NotFound, // no such port
    InUse,    // another program holds it
    Other,    // the platform's own text says why
};

struct PortOpenResult
{
    OpenFailure failure = OpenFailure::None;
    QString text; // for OpenFailure::Other
    // OpenFailure::Other after the device opened: it refused the line's settings (a file, a
    // printer, a driver that is no serial port's).
    bool settingUp = false;
    // The port's lock was left by a killed program, which may have been in the middle of a write.
    bool holderKilled = false;
};

class SerialPort
{
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device (a name as portDeviceName gives it) for this program alone, under any of
    // its names (a symbolic link to it is the device itself), at baud, 8 data bits, no parity,
    // 1 stop bit, no hardware or software handshake, with DTR and RTS raised.
    PortOpenResult open(const QString& device, qint32 baud);
    void close();
    bool isOpen() const;

    // A port without modem lines (a pseudo-terminal) ignores it.
    void setRts(bool on);
    // Discards what the driver has received and not yet handed over.
    void purgeInput();
    // Discards what the driver has not yet transmitted.
    void purgeOutput();
    // Hands one byte to the driver. False when the line failed (errorString says why).
    bool write(char byte);
    // Returns as soon as at least one byte has arrived, with every byte that has, or with none
    // once wait has passed (at once for zero). Nothing when the line failed (errorString says
    // why); the caller then closes the port.
    std::optional<QByteArray> read(std::chrono::milliseconds wait);
    QString errorString() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A small file of the device's own that outlives the program (the unfinished write's record,
// named by kind), the same for every name of the device: on POSIX systems in the lock folder,
// shared by every user of the machine, when it may be written, otherwise in the user's
// application-data folder; on Windows in the user's local application-data folder. Reading
// never blocks and never follows a symbolic link; empty content removes the file. Failures are
// silent: the file is never a reason for an exchange to fail. serial_port_win32.cpp and
// port_lock.cpp implement them.
std::optional<QByteArray> readPortState(const QString& device, const QString& kind);
void writePortState(const QString& device, const QString& kind, const QByteArray& content);

} // namespace yalmera::detail
