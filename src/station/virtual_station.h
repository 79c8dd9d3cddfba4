#pragma once

#include "image/device_image.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

namespace yalmera::station {

// The protocol side of a simulated "Ялмера" station, without any I/O: bytes in, bytes to send out.
// A write stream (command 0x14, 26 header bytes, 18 per channel) is acknowledged byte by byte and
// kept once complete; the read command 0x1E is answered with the read stream of what it keeps.
class VirtualStation
{
    Q_DECLARE_TR_FUNCTIONS(VirtualStation)

public:
    static constexpr quint8 Acknowledge = 0x06;
    static constexpr quint32 DefaultSerialNumber = 0x012345;

    explicit VirtualStation(quint32 serialNumber = DefaultSerialNumber);

    // Takes a complete write stream as the held plan (the --image file). Returns an empty text on
    // success, otherwise why the bytes are no write stream.
    QString preload(QByteArrayView writeStream);

    // Sends nothing after the first limit bytes (a station that falls silent); negative: no limit.
    void setSilentAfter(qint64 limit) { m_silentAfter = limit; }

    // One byte from the line; returns what the station sends in answer (possibly nothing).
    QByteArray receive(quint8 byte);
    // The line was quiet long enough for the station to give up a write it was taking; the plan
    // it held before stays.
    void abandonPartialWrite();
    bool isTakingWrite() const { return m_takingWrite; }

    // The write stream of the plan held (command byte first), empty before any.
    const QByteArray& heldWriteStream() const { return m_held; }
    // Every byte received since creation, in order.
    const QByteArray& received() const { return m_received; }
    qint64 bytesSent() const { return m_sent; }

    // The read stream the station sends for what it holds.
    QByteArray readStream() const;

private:
    QByteArray limitOutput(QByteArray bytes);

    quint32 m_serialNumber;
    QByteArray m_held;
    QByteArray m_incoming;
    QByteArray m_received;
    bool m_takingWrite = false;
    qint64 m_silentAfter = -1;
    qint64 m_sent = 0;
};

// A write stream's length from its header, or -1 when fewer than 26 bytes are given.
qsizetype writeStreamLength(QByteArrayView header);

} // namespace yalmera::station
