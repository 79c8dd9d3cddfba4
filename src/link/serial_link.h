#pragma once

#include "image/station_model.h"
#include "link/serial_port.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

namespace yalmera {

class ByteTrace;

// The port a user names: "COM1" and "COM2" are the platform's first and second serial ports
// (Windows \\.\COM1 and \\.\COM2, elsewhere /dev/ttyS0 and /dev/ttyS1); anything else is a port
// name as the system lists it ("ttyUSB0", "COM7", which on Windows becomes \\.\COM7) or a device
// path ("/dev/pts/3").
QString portDeviceName(const QString& choice);

// Why a port that could not be opened is refused to the user, said where the system only says
// "Permission denied": on Linux serial devices belong to the group dialout, and a device that
// exists but that the user may not use gets the way in (the command and a new login). Empty on
// other systems and for any other port.
QString portAccessHint(const QString& choice);

struct PortChoice
{
    QString name;        // what portDeviceName accepts
    QString description; // for a list the user picks from; may be empty
    // What tells two USB adapters apart; each empty when the system does not say.
    QString location;     // the device ("/dev/ttyUSB0", "\\.\COM7")
    QString manufacturer; // the adapter's maker
    QString vendorId;     // USB vendor id, four hexadecimal digits ("0403")
    QString productId;    // USB product id, four hexadecimal digits ("6001")
    QString serialNumber; // the adapter's own serial number
};
// Every serial port the machine reports, COM1 and COM2 included. Pseudo-terminals are not
// reported by the system: the user types their path.
QList<PortChoice> serialPorts();
// The latency timer of the port's USB adapter, where the system tells it: the sysfs latency_timer
// on Linux, FTDI's D2XX library on Windows; none otherwise.
std::optional<int> adapterLatencyTimer(const PortChoice& port);
// Every serial port the machine reports besides the two that "COM1" and "COM2" name (USB
// adapters).
QList<PortChoice> otherSerialPorts();
// What the system says of a port, on one line: description, maker, "USB 0403:6001",
// "S/N A50285BI", each where known; empty when nothing is known.
QString portDetails(const PortChoice& port);
// What a list of ports for the user says of a port besides its name: "COM1" or "COM2" when that
// name reaches a port with another name of its own ("ttyS0"), then portDetails.
QString portSummary(const PortChoice& port);

// One serial line at the station model's line speed, 8N1 without handshake, open for the length
// of one exchange. Not thread-safe: create and use it on one thread (the exchange's worker
// thread). The waits block that thread until a byte arrives or the silence limit has passed.
class SerialLink
{
public:
    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // The port openSelected opens: "COM1", "COM2", a port name or a device path.
    void setPortChoice(const QString& choice) { m_portChoice = choice; }
    QString portChoice() const { return m_portChoice; }

    // The station model the next opening serves (one of StationModels, which live as long as the
    // program): its line speed (8 data bits, no parity, 1 stop bit, no hardware or software
    // handshake) and the limits of the waits below. Until then the default model's. Nothing else
    // carries over from an earlier exchange.
    void configure(const StationModel& model) { m_model = &model; }
    // Closes the link if open, then opens the chosen port with DTR and RTS raised. A lock file
    // that a killed program left on the port is cleared; only a live holder makes the port
    // "already open". Returns an empty message on success, otherwise the failure to show; the
    // link then stays closed. Every failure of the link (this one, putByte's, lineFailure) is
    // the serial layer's text or the system's, and below it the port, the step (which byte of the
    // exchange, counted from 1) and what to do; a missing port lists the ports there are.
    UserMessage openSelected();
    bool isOpen() const;
    // The last opening cleared a port lock that a killed program had left: that program may have
    // been in the middle of a write.
    bool holderWasKilled() const { return m_holderKilled; }

    // Discards every received byte not yet taken (driver and our buffer alike).
    void flushInput();
    // Discards every byte queued for sending and not yet handed to the driver.
    void flushOutput();

    // Queues one byte and hands it to the driver without waiting for its transmission.
    // On a closed link: "ie_NOpen - device not open", after a missed reply with the byte that
    // went unanswered.
    UserMessage putByte(quint8 byte);
    // Whether a received byte waits; never blocks.
    bool byteReady();
    // The oldest received byte; call only after byteReady() returned true.
    quint8 getByte();

    // Waits until no byte has arrived for the model's quiet-line time, and not before notBefore,
    // discarding what arrives meanwhile. False when bytes still arrive the model's longest stream
    // after the wait began (or after notBefore), or soon after *stop is set; the link then stays
    // open. A line that fails meanwhile counts as quiet: the next byte sent finds it closed.
    bool awaitQuietLine(const std::atomic<bool>* stop = nullptr,
                        std::chrono::steady_clock::time_point notBefore = {});

    // Closes the port; harmless on a closed link.
    void close();
    // Sets RTS of the open port. A port without modem lines (a pseudo-terminal) ignores it.
    void setRts(bool on);

    // Reports every byte sent, received or discarded to trace (none when null); the caller keeps
    // it alive while the link is in use.
    void setTrace(ByteTrace* trace) { m_trace = trace; }

    // One received byte, or nothing when silenceLimit passed without one (or the line failed).
    // Returns the moment a byte is there; never waits less than silenceLimit before giving up.
    std::optional<quint8> receiveByte(std::chrono::milliseconds silenceLimit);
    // The write's pacing wait: takes one reply byte of any value within the model's reply silence
    // and returns true. On silence it drops RTS, closes the link and returns false; the exchange
    // then shows "AK" and enables its buttons.
    bool waitReply();
    // Why the last wait returned nothing when the line failed rather than fell silent (a
    // vanished adapter); empty after silence.
    UserMessage lineFailure() const;

private:
    // ownText (the serial layer's or the system's) with the port, the step and what happened
    // below it.
    UserMessage failure(const QString& ownText, const QString& step, const QString& what) const;
    // Takes what the port has received within wait into the buffer. False when the line failed;
    // the link is then closed.
    bool takeArrived(std::chrono::milliseconds wait);
    void noteLineError();

    const StationModel* m_model = &Yalmera4K17;
    detail::SerialPort m_port;
    QByteArray m_received; // taken from the port, not yet handed over; from m_receivedAt on
    qsizetype m_receivedAt = 0;
    QString m_portChoice = QStringLiteral("COM2");
    QString m_lastError; // the system's text of the line's failure; empty while it works
    int m_bytesSent = 0; // since the port opened
    int m_bytesReceived = 0;
    bool m_replyMissed = false;
    bool m_holderKilled = false;
    ByteTrace* m_trace = nullptr;
};

} // namespace yalmera
