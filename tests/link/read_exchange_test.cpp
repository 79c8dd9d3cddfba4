#include "link_fixture.h"

#include "link/link_texts.h"
#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using namespace yalmera;
using namespace yalmera::test;

namespace {

ReadRequest readFrom(const QString& port, Band band = Band::Mhz144to174)
{
    ReadRequest request;
    request.port = port;
    request.model = &stationModel(band);
    return request;
}

QByteArray writeStreamOf(const DeviceImage& image, quint8 moduleType = 0, quint8 typeCode = 0)
{
    return image.writeStream(moduleType, typeCode);
}

// A peer that answers the read command with fixed bytes, once.
class ScriptedPeer
{
public:
    explicit ScriptedPeer(QByteArray answer) : m_answer(std::move(answer))
    {
        m_thread = std::thread([this] {
            const QByteArray command = m_pty.receive(1, 3000);
            m_command = command;
            if (!command.isEmpty())
                m_pty.send(m_answer);
        });
    }
    ~ScriptedPeer() { m_thread.join(); }
    QString path() const { return m_pty.path(); }

private:
    TestPty m_pty;
    QByteArray m_answer;
    QByteArray m_command;
    std::thread m_thread;
};

} // namespace

TEST(ReadExchange, ExampleStationIsReadIntoAPlanAsideAndTheGaugeFalls)
{
    DeviceImage example = oneChannelTemplateImage();
    example.records[0].setRxFrequencyWord({0x11, 0xDB, 0x01});
    example.records[0].setTxFrequencyWord({0x11, 0x6A, 0x81});
    StationOnPty station(writeStreamOf(example));
    ASSERT_TRUE(station.ok());
    RecordingObserver observer;
    const ReadResult result = runReadExchange(readFrom(station.path()), observer);
    ASSERT_TRUE(result.ok()) << result.message.text.toStdString();
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(result.bytesReceived, 46);
    EXPECT_EQ(result.readBack->settings.lines().size(), 27);
    EXPECT_EQ(result.readBack->settings.lines()[1], QStringLiteral("Серийный номер=012345"));
    EXPECT_EQ(result.readBack->table.cell(Column::RxFrequency, 1), QStringLiteral("145000,00"));
    EXPECT_EQ(result.readBack->image.records[0], example.records[0]);
    EXPECT_EQ(observer.events, (QStringList{QStringLiteral("phase ReadRequest"), QStringLiteral("gauge 100"),
                                            QStringLiteral("phase Reading"), QStringLiteral("gauge 0"),
                                            QStringLiteral("gauge 0"), QStringLiteral("phase Idle")}));
    EXPECT_EQ(station.stopAndInspect().received(), QByteArray(1, char(0x1E)));
}

TEST(ReadExchange, GaugeFallsByTheRoundedStepAndNeverBelowZero)
{
    const std::pair<int, std::vector<int>> cases[] = {
        {3, {100, 67, 34, 1, 0}},
        {8, {100, 88, 76, 64, 52, 40, 28, 16, 4, 0}},
        {40, {}},
    };
    for (const auto& [count, expected] : cases) {
        StationOnPty station(writeStreamOf(channelsImage(count)));
        RecordingObserver observer;
        const ReadResult result = runReadExchange(readFrom(station.path()), observer);
        ASSERT_TRUE(result.ok()) << count;
        EXPECT_EQ(result.readBack->table.rowCount(), count + 1);
        if (count == 40) {
            // Step 2 for 40 channels: 100, 98, ..., 20, then 0.
            ASSERT_EQ(observer.gauges.size(), 42u);
            EXPECT_EQ(observer.gauges[1], 98);
            EXPECT_EQ(observer.gauges[40], 20);
            EXPECT_EQ(observer.gauges.back(), 0);
        } else {
            EXPECT_EQ(observer.gauges, expected) << count;
        }
    }
}

TEST(ReadExchange, SilenceAnywhereEndsWithAkAndNoPlan)
{
    // Silent at once, inside the header, after the tone codes, inside the records.
    for (int sent : {0, 5, 20, 28 + 18 + 7}) {
        StationOnPty station(writeStreamOf(channelsImage(3)), sent);
        RecordingObserver observer;
        const ReadResult result = runReadExchange(readFrom(station.path()), observer);
        EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut) << sent;
        EXPECT_FALSE(result.readBack.has_value());
        EXPECT_TRUE(result.message.isEmpty());
        EXPECT_EQ(result.bytesReceived, sent);
        EXPECT_EQ(observer.phases.back(), ExchangePhase::NoAnswer);
        EXPECT_EQ(std::count(observer.phases.begin(), observer.phases.end(), ExchangePhase::Idle), 0);
        EXPECT_NE(observer.gauges.back(), 0); // the gauge keeps its last value
    }
}

TEST(ReadExchange, StreamsThatCannotBeHeldAreRefusedAndExtraBytesAreDropped)
{
    DeviceImage example = oneChannelTemplateImage();
    // More channels than a plan holds, or none at all (a station never written).
    for (const int count : {120, 0}) {
        QByteArray header = encodeReadStream(example, 1, 0, 0);
        header[readAt(HeaderField::ChannelCount)] = static_cast<char>(count);
        ScriptedPeer peer(header);
        RecordingObserver observer;
        const ReadResult result = runReadExchange(readFrom(peer.path()), observer);
        EXPECT_EQ(result.outcome, ExchangeOutcome::Refused);
        EXPECT_TRUE(
            result.message.text.startsWith(QStringLiteral("Станция передала число каналов %1").arg(count)));
        EXPECT_FALSE(result.readBack.has_value());
        EXPECT_EQ(observer.gauges, (std::vector<int>{100, 0}));
        EXPECT_EQ(observer.phases.back(), ExchangePhase::Idle);
    }
    QByteArray badCode = encodeReadStream(example, 1, 0, 0);
    badCode[ReadRecords + inRecord(RecordField::RxCode)] = static_cast<char>(77);
    {
        ScriptedPeer peer(badCode);
        RecordingObserver observer;
        const ReadResult result = runReadExchange(readFrom(peer.path()), observer);
        EXPECT_EQ(result.outcome, ExchangeOutcome::Refused);
        EXPECT_TRUE(result.message.text.contains(QStringLiteral("CTCSS 77")));
    }
    {
        ScriptedPeer peer(encodeReadStream(example, 1, 0, 0) + hexBytes("DEADBEEF"));
        RecordingObserver observer;
        const ReadResult result = runReadExchange(readFrom(peer.path()), observer);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.bytesReceived, 46);
        EXPECT_EQ(result.readBack->image.records[0], example.records[0]);
    }
}

TEST(ReadExchange, MissingPortIsShownAndTheWindowIsIdleAgain)
{
    RecordingObserver observer;
    const ReadResult result = runReadExchange(readFrom(QStringLiteral("/dev/yalmera-none-read")), observer);
    EXPECT_EQ(result.outcome, ExchangeOutcome::OpenFailed);
    EXPECT_EQ(lineOf(result.message, 0), QStringLiteral("ie_BadId - Specified comport doesn't exist"));
    EXPECT_EQ(observer.events,
              (QStringList{QStringLiteral("phase ReadRequest"), QStringLiteral("phase Idle")}));
}

TEST(StationRoundTrip, WriteThenReadGivesBackTheSamePlan)
{
    StationOnPty station;
    AppState written;
    DeviceImage image = channelsImage(12);
    image.dcsPolarity = SwitchOff;
    image.records[4].setValue(RecordField::ChannelFlags, 0xB6); // DCS mode
    image.records[4].setValue(RecordField::RxCode, 8);
    image.records[4].setValue(RecordField::ExtraFlags, 0xFB);
    written.selectModule(ModuleType::Zorpik);
    written.acceptCheck(image, 0);
    RecordingObserver writeObserver;
    ASSERT_TRUE(runWriteExchange(writeRequest(written, station.path()), writeObserver).ok());

    // Read through the objects the window uses, applying on this thread once complete.
    AppState state;
    state.editSettings() = GeneralSettings(GeneralSettings::templateLines());
    ReadExchange exchange;
    QEventLoop loop;
    std::optional<ReadResult> result;
    QObject::connect(&exchange, &ReadExchange::finished, &loop, [&](const ReadResult& r) {
        result = r;
        if (r.ok())
            applyReadBack(state, *r.readBack);
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(exchange.start(readFrom(station.path())));
    loop.exec();
    ASSERT_TRUE(result && result->ok());

    EXPECT_EQ(moduleCode(state.moduleType()), 3);
    EXPECT_EQ(state.table().cell(Column::DcsRx, 5), QStringLiteral("047"));
    EXPECT_EQ(state.table().cell(Column::TxOff, 5), QStringLiteral("OFF"));
    EXPECT_EQ(state.table().cell(Column::ChannelNumber, 12), QStringLiteral("12"));
    EXPECT_EQ(result->readBack->image, written.image());
    // Applied: every field and record but IdCode, which only the check writes into the image.
    DeviceImage expected = written.image();
    expected.idCode = 0;
    EXPECT_EQ(state.image(), expected);
    EXPECT_EQ(state.settings().textValue(u"Id_номер", {}), QStringLiteral("0001"));
    EXPECT_FALSE(state.dataChecked());
}
