#include "image/device_image.h"
#include "image/field_codec.h"
#include "model/value_lists.h"

#include "common/stream_fixture.h"

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

struct WordCase
{
    double kHz;
    qint32 offset;
    qint32 modulus;
    std::int64_t steps;
    FrequencyWord bytes;
};

} // namespace

TEST(IdCode, PacksFourSymbolsFirstOnTop)
{
    EXPECT_EQ(packIdCode(u"0001"), 0x0001);
    EXPECT_EQ(packIdCode(u"12AB"), 0x12AB);
    EXPECT_EQ(packIdCode(u"*#00"), 0xFE00);
    EXPECT_EQ(packIdCode(u"1a#*"), 0x1AEF);
    EXPECT_EQ(packIdCode(u"12x4"), 0x1204);
    EXPECT_EQ(packIdCode(u"dDcC"), 0xDDCC);
    EXPECT_EQ(packIdCode(u"EF99"), 0x0099); // E and F are no symbols of the station
}

TEST(IdCode, ReadBackTextKeepsHashAndStar)
{
    EXPECT_EQ(idCodeText(0x0001), QStringLiteral("0001"));
    EXPECT_EQ(idCodeText(0x12AB), QStringLiteral("12AB"));
    EXPECT_EQ(idCodeText(0xFE00), QStringLiteral("*#00"));
    EXPECT_EQ(packIdCode(idCodeText(0x1AEF)), 0x1AEF);
}

TEST(DcsInverseTable, SymmetricPairsCoveringEveryCode)
{
    EXPECT_EQ(dcsInverse(firstPosition(DcsCodes, u"023")), 8); // "047"
    EXPECT_EQ(dcsInverse(8), 1);
    EXPECT_EQ(dcsInverse(0), 0);
    EXPECT_EQ(dcsInverse(85), 0);
    for (int p = 1; p <= 84; ++p) {
        const int twin = dcsInverse(p);
        EXPECT_GE(twin, 1) << p;
        EXPECT_NE(twin, p);
        EXPECT_EQ(dcsInverse(twin), p);
    }
    EXPECT_EQ(DcsCodes[dcsInverse(firstPosition(DcsCodes, u"654"))], u"743");
}

TEST(ToneCodes, TenthsOfHertzTiesToEven)
{
    EXPECT_EQ(toneCode(700), 70);
    EXPECT_EQ(toneCode(1989), 199);
    EXPECT_EQ(toneCode(2550), 255);
    EXPECT_EQ(toneCode(1005), 100);
    EXPECT_EQ(toneCode(1015), 102);
}

TEST(WriteStream, HeaderOrderRecordsAndTypeCodeThreeTimes)
{
    DeviceImage image;
    image.brightnessCode = 1;
    image.volume = 8;
    image.channelCount = 2;
    image.keyBeep = SwitchOn;
    image.specialChannelIndex = 1;
    for (int i = 0; i < 10; ++i)
        image.toneCodes[static_cast<std::size_t>(i)] = static_cast<quint8>(70 + i);
    image.idCode = 0x12AB;
    image.fvCode = 0x21;
    image.minVolume = 3;
    image.dcsPolarity = SwitchOff;
    image.functionFlags = 0x16;
    image.records[0].setValue(RecordField::ChannelNumber, 7);
    image.records[1].setValue(RecordField::Reserved, 0x5A);
    image.records[2].setValue(RecordField::ChannelNumber, 9); // beyond the count: not sent

    const QByteArray s = image.writeStream(3, 1);
    ASSERT_EQ(s.size(), 26 + 2 * 18);
    const auto at = [&s](int i) { return static_cast<quint8>(s[i]); };
    EXPECT_EQ(at(0), 0x14);
    EXPECT_EQ(at(3), 2);
    EXPECT_EQ(at(6), 70);
    EXPECT_EQ(at(15), 79);
    EXPECT_EQ(at(16), 0x12);
    EXPECT_EQ(at(17), 0xAB);
    EXPECT_EQ(at(18), 0x21);
    EXPECT_EQ(at(20), 100);
    EXPECT_EQ(at(21), 0x16);
    EXPECT_EQ(at(22), 3);
    EXPECT_EQ(at(23), 1);
    EXPECT_EQ(at(24), 1);
    EXPECT_EQ(at(25), 1);
    EXPECT_EQ(at(27), 7);
    EXPECT_EQ(at(26 + 18 + 17), 0x5A);
}

TEST(WriteStream, ACountAboveTheRecordSlotsIsSentAsTheRecordsThatFollow)
{
    DeviceImage image;
    image.channelCount = 120;
    const QByteArray s = image.writeStream(0, 0);
    EXPECT_EQ(s.size(), DeviceImage::MaxStreamSize);
    EXPECT_EQ(static_cast<quint8>(s[headerField(HeaderField::ChannelCount).writeOffset]), 99);
}
