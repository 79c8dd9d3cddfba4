#include "virtual_station.h"

#include "image/read_back.h"

#include <algorithm>

namespace yalmera::station {

namespace {

constexpr int CountOffset = headerField(HeaderField::ChannelCount).offset(Stream::Write);

} // namespace

qsizetype writeStreamLength(QByteArrayView header)
{
    if (header.size() < headerSize(Stream::Write))
        return -1;
    return streamSize(Stream::Write, static_cast<quint8>(header[CountOffset]));
}

VirtualStation::VirtualStation(quint32 serialNumber) : m_serialNumber(serialNumber & 0xFFFFFF) {}

QString VirtualStation::preload(QByteArrayView writeStream)
{
    if (writeStream.isEmpty() || static_cast<quint8>(writeStream[0]) != WriteCommand)
        return tr("a write stream starts with the byte 0x14");
    const qsizetype length = writeStreamLength(writeStream);
    if (length < 0)
        return tr("a write stream has a header of 26 bytes");
    if (static_cast<quint8>(writeStream[CountOffset]) > MaxRecords)
        return tr("a station holds at most 99 channels");
    if (writeStream.size() != length)
        return tr("the header announces %1 bytes, the file holds %2").arg(length).arg(writeStream.size());
    m_held = writeStream.toByteArray();
    return {};
}

QByteArray VirtualStation::receive(quint8 byte)
{
    m_received.append(static_cast<char>(byte));
    if (m_takingWrite) {
        m_incoming.append(static_cast<char>(byte));
        const qsizetype length = writeStreamLength(m_incoming);
        if (length >= 0 && m_incoming.size() >= length) {
            m_held = m_incoming;
            m_incoming.clear();
            m_takingWrite = false;
        }
        return limitOutput(QByteArray(1, static_cast<char>(Acknowledge)));
    }
    if (byte == WriteCommand) {
        m_takingWrite = true;
        m_incoming = QByteArray(1, static_cast<char>(byte));
        return limitOutput(QByteArray(1, static_cast<char>(Acknowledge)));
    }
    if (byte == ReadCommand)
        return limitOutput(readStream());
    return {}; // anything else outside a write means nothing to the station
}

void VirtualStation::abandonPartialWrite()
{
    m_takingWrite = false;
    m_incoming.clear();
}

QByteArray VirtualStation::readStream() const
{
    // A station that was never written holds an empty plan.
    const StreamContents plan = readWriteStream(m_held).value_or(StreamContents{});
    return encodeReadStream(plan.image, m_serialNumber, plan.moduleType, plan.typeCode);
}

QByteArray VirtualStation::limitOutput(QByteArray bytes)
{
    if (m_silentAfter >= 0) {
        const qint64 room = std::max<qint64>(0, m_silentAfter - m_sent);
        if (bytes.size() > room)
            bytes.truncate(static_cast<qsizetype>(room));
    }
    m_sent += bytes.size();
    return bytes;
}

} // namespace yalmera::station
