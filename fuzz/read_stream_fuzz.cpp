// The read-stream decoder on arbitrary streams. The first input byte chooses the band (bit 0),
// the rest is what the station sent. A stream is refused with a message or decoded into a plan
// that fits the program (at most 99 channels, every code from its list), that applies to a fresh
// state without touching the record slots it does not carry, and that encodes back to the bytes
// it came from.

#include "fuzz_check.h"

#include "image/read_back.h"
#include "session/app_state.h"

using namespace yalmera;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr int CountOffset = headerField(HeaderField::ChannelCount).readOffset;
    constexpr int UnusedOffset = headerField(HeaderField::Unused).readOffset;
    if (size < 1 || size > 4096)
        return 0;
    const StationType band = StationType::forBand((data[0] & 1) ? Band::Mhz30to60 : Band::Mhz144to174);
    const QByteArray stream = fuzz::bytesOf(data + 1, size - 1);

    const ReadStreamDecode decoded = decodeReadStream(stream, band);
    FUZZ_CHECK(decoded.ok() == decoded.refusal.isEmpty());
    if (stream.size() > CountOffset)
        FUZZ_CHECK(checkReadStreamHeader(stream).isEmpty() ==
                   (static_cast<quint8>(stream[CountOffset]) <= DeviceImage::MaxRecords));
    if (!decoded.ok())
        return 0;

    const ReadBack& readBack = *decoded.readBack;
    const int count = readBack.image.channelCount;
    FUZZ_CHECK(count == static_cast<quint8>(stream[CountOffset]));
    FUZZ_CHECK(count <= DeviceImage::MaxRecords);
    FUZZ_CHECK(stream.size() >= streamSize(Stream::Read, count));
    FUZZ_CHECK(readBack.settings.lines().size() == 27);
    FUZZ_CHECK(readBack.serialNumber.size() == 6);

    // Encoded again: the same bytes, but for the two unused ones.
    bool ok = false;
    const quint32 serial = readBack.serialNumber.toUInt(&ok, 16);
    FUZZ_CHECK(ok);
    QByteArray expected = stream.left(streamSize(Stream::Read, count));
    expected[UnusedOffset] = 0;
    expected[UnusedOffset + 1] = 0;
    FUZZ_CHECK(encodeReadStream(readBack.image, serial, readBack.moduleType, readBack.typeCode) == expected);

    AppState state;
    const DeviceImage untouched = state.image();
    state.acceptCheck(state.image(), state.settingsDigitCount());
    applyReadBack(state, readBack);
    FUZZ_CHECK(state.table().rowCount() == count + 1);
    FUZZ_CHECK(state.table().rowCount() <= MaxChannels + 1);
    for (int row = 1; row < state.table().rowCount(); ++row)
        FUZZ_CHECK(state.table().hasFlags(row));
    FUZZ_CHECK(state.settings() == readBack.settings);
    FUZZ_CHECK(!state.dataChecked());
    FUZZ_CHECK(moduleCode(state.moduleType()) == readBack.moduleType);
    FUZZ_CHECK(state.stationType().typeCode == readBack.typeCode);
    FUZZ_CHECK(state.stationType().band == Band::Mhz144to174); // a read never changes the band
    FUZZ_CHECK(state.image().channelCount == count);
    FUZZ_CHECK(state.image().idCode == untouched.idCode);
    for (int i = 0; i < DeviceImage::MaxRecords; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        FUZZ_CHECK(state.image().records[slot] ==
                   (i < count ? readBack.image.records[slot] : untouched.records[slot]));
    }
    return 0;
}
