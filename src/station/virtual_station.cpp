#include "virtual_station.h"

#include "link/read_stream.h"

#include <algorithm>

namespace yalmera::station {

namespace {

// The plan of a write stream, in the image layout the read stream is made from.
struct HeldPlan
{
    DeviceImage image;
    quint8 moduleType = 0;
    quint8 typeCode = 0;
};

HeldPlan heldPlan(QByteArrayView stream)
{
    HeldPlan plan;
    if (stream.size() < DeviceImage::HeaderSize)
        return plan;
    const auto at = [&stream](qsizetype i) { return static_cast<quint8>(stream[i]); };
    DeviceImage& image = plan.image;
    image.brightnessCode = at(DeviceImage::BrightnessOffset);
    image.volume = at(DeviceImage::VolumeOffset);
    image.keyBeep = at(DeviceImage::KeyBeepOffset);
    image.specialChannelIndex = at(DeviceImage::SpecialChannelOffset);
    for (int k = 0; k < 10; ++k)
        image.toneCodes[static_cast<std::size_t>(k)] = at(DeviceImage::ToneCodesOffset + k);
    image.idCode =
        static_cast<quint16>(at(DeviceImage::IdCodeOffset) << 8 | at(DeviceImage::IdCodeOffset + 1));
    image.fvCode = at(DeviceImage::FvCodeOffset);
    image.minVolume = at(DeviceImage::MinVolumeOffset);
    image.dcsPolarity = at(DeviceImage::DcsPolarityOffset);
    image.functionFlags = at(DeviceImage::FunctionFlagsOffset);
    plan.moduleType = at(DeviceImage::ModuleTypeOffset);
    plan.typeCode = at(DeviceImage::TypeCodeOffset);
    // The station has room for 99 channels; it keeps the records it received, at most 99.
    const qsizetype available = (stream.size() - DeviceImage::HeaderSize) / ChannelRecord::Size;
    const int count = static_cast<int>(
        std::min<qsizetype>({at(DeviceImage::ChannelCountOffset), DeviceImage::MaxRecords, available}));
    image.channelCount = static_cast<quint8>(count);
    for (int i = 0; i < count; ++i) {
        for (int b = 0; b < ChannelRecord::Size; ++b)
            image.records[static_cast<std::size_t>(i)].bytes[static_cast<std::size_t>(b)] =
                at(DeviceImage::RecordsOffset + ChannelRecord::Size * i + b);
    }
    return plan;
}

} // namespace

qsizetype writeStreamLength(QByteArrayView header)
{
    if (header.size() < DeviceImage::HeaderSize)
        return -1;
    return DeviceImage::HeaderSize +
           qsizetype{ChannelRecord::Size} * static_cast<quint8>(header[DeviceImage::ChannelCountOffset]);
}

VirtualStation::VirtualStation(quint32 serialNumber) : m_serialNumber(serialNumber & 0xFFFFFF) {}

QString VirtualStation::preload(QByteArrayView writeStream)
{
    if (writeStream.isEmpty() || static_cast<quint8>(writeStream[0]) != WriteCommand)
        return QStringLiteral("a write stream starts with the byte 0x14");
    const qsizetype length = writeStreamLength(writeStream);
    if (length < 0)
        return QStringLiteral("a write stream has a header of 26 bytes");
    if (static_cast<quint8>(writeStream[DeviceImage::ChannelCountOffset]) > DeviceImage::MaxRecords)
        return QStringLiteral("a station holds at most 99 channels");
    if (writeStream.size() != length)
        return QStringLiteral("the header announces %1 bytes, the file holds %2")
            .arg(length)
            .arg(writeStream.size());
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
    const HeldPlan plan = heldPlan(m_held);
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
