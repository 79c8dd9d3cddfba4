#pragma once

// The platform part of SerialLink: one serial device, raw, at 1200 baud 8N1 without handshake.
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
};

class SerialPort
{
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device (a name as portDeviceName gives it) at 1200 baud, 8 data bits, no parity,
    // 1 stop bit, no hardware or software handshake, with DTR and RTS raised.
    PortOpenResult open(const QString& device);
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

} // namespace yalmera::detail
