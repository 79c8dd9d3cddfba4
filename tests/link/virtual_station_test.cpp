#include "link_fixture.h"

#include "image/read_back.h"
#include "link/read_exchange.h"
#include "station/virtual_station.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::test;
using station::VirtualStation;

namespace {

QByteArray feed(VirtualStation& station, const QByteArray& bytes)
{
    QByteArray answer;
    for (char c : bytes)
        answer += station.receive(static_cast<quint8>(c));
    return answer;
}

} // namespace

TEST(VirtualStation, AcknowledgesEveryWriteByteAndKeepsTheCompletePlan)
{
    VirtualStation station;
    EXPECT_EQ(station.readStream().size(), 28); // holds nothing: no channels
    const QByteArray stream = channelsImage(2).writeStream(1, 0);
    const QByteArray acks = feed(station, stream);
    EXPECT_EQ(acks, QByteArray(stream.size(), char(VirtualStation::Acknowledge)));
    EXPECT_EQ(station.heldWriteStream(), stream);
    EXPECT_FALSE(station.isTakingWrite());

    // A read command inside a write is data; outside it asks for the read stream.
    EXPECT_EQ(feed(station, QByteArray(1, char(ReadCommand))),
              encodeReadStream(channelsImage(2), 0x012345, 1, 0));
    // Other bytes mean nothing outside a write.
    EXPECT_TRUE(feed(station, hexBytes("00FF55")).isEmpty());
}

TEST(VirtualStation, AnAbandonedWriteLeavesThePreviousPlan)
{
    VirtualStation station(0xABCDEF);
    const QByteArray first = channelsImage(1).writeStream(0, 0);
    ASSERT_TRUE(station.preload(first).isEmpty());
    feed(station, channelsImage(3).writeStream(0, 0).left(40));
    EXPECT_TRUE(station.isTakingWrite());
    station.abandonPartialWrite();
    EXPECT_EQ(station.heldWriteStream(), first);
    EXPECT_EQ(feed(station, QByteArray(1, char(ReadCommand))).left(3), hexBytes("ABCDEF"));
}

TEST(VirtualStation, PreloadAcceptsOnlyCompleteWriteStreams)
{
    VirtualStation station;
    const QByteArray good = channelsImage(2).writeStream(0, 0);
    EXPECT_TRUE(station.preload(good).isEmpty());
    EXPECT_FALSE(station.preload(good.left(good.size() - 1)).isEmpty());
    EXPECT_FALSE(station.preload(good + "x").isEmpty());
    EXPECT_FALSE(station.preload(good.mid(1)).isEmpty());
    EXPECT_FALSE(station.preload(QByteArray()).isEmpty());
    QByteArray tooMany = good;
    tooMany[headerField(HeaderField::ChannelCount).writeOffset] = 100;
    EXPECT_FALSE(station.preload(tooMany).isEmpty());
    EXPECT_EQ(station.heldWriteStream(), good);
}

TEST(VirtualStation, FallsSilentAfterTheGivenNumberOfBytesSent)
{
    VirtualStation station;
    ASSERT_TRUE(station.preload(channelsImage(3).writeStream(0, 0)).isEmpty());
    station.setSilentAfter(30);
    EXPECT_EQ(feed(station, QByteArray(1, char(ReadCommand))).size(), 30);
    EXPECT_TRUE(feed(station, QByteArray(1, char(ReadCommand))).isEmpty());
    EXPECT_TRUE(feed(station, QByteArray(1, char(WriteCommand))).isEmpty());
    EXPECT_EQ(station.bytesSent(), 30);
}

TEST(VirtualStation, PacedStationTakesAtLeastTheLineTime)
{
    // 28 header bytes and one record after the command byte: 47 byte times of 1/120 s.
    station::ServerOptions paced;
    paced.pace = true;
    StationOnPty station(channelsImage(1).writeStream(0, 0), -1, paced);
    RecordingObserver observer;
    QElapsedTimer timer;
    timer.start();
    const ReadResult result = runReadExchange({station.path(), &stationModel(Band::Mhz144to174)}, observer);
    ASSERT_TRUE(result.ok());
    EXPECT_GE(timer.nsecsElapsed(), 47LL * 1'000'000'000 / 120);
    // The first byte on time: after the command's and its own byte times (16.7 ms), give or take a
    // busy machine's wake-ups. Under Wine it comes some 12 ms later (its serial layer).
#ifndef Q_OS_WIN
    EXPECT_LT(*result.replyLatencyMs, 8.0);
#endif
}
