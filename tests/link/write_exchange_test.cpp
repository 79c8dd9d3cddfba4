#include "link_fixture.h"

#include "link/link_texts.h"
#include "link/serial_link.h"
#include "link/unfinished_write.h"
#include "link/write_exchange.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace yalmera;
using namespace yalmera::test;

namespace {

const QByteArray OneChannelStream = hexBytes("14010801C800464B64788C9BAAC7D2F0000100"
                                             "00C806000000"
                                             "00") +
                                    hexBytes("BE0111CE81115E01C8C80000010104FF0000");

WriteRequest requestFor(const DeviceImage& image, const QString& port)
{
    AppState state;
    state.acceptCheck(image, 0);
    return writeRequest(state, port);
}

std::vector<int> recordGauges(const std::vector<int>& gauges)
{
    // 0, 33, 66, 100, 0 belong to the header; the records follow, then the final 100.
    return std::vector<int>(gauges.begin() + 5, gauges.end());
}

} // namespace

TEST(WriteExchange, OneChannelTemplateArrivesByteForByteWithTheGaugeSteps)
{
    const WriteRequest request = requestFor(oneChannelTemplateImage(), QString());
    ASSERT_EQ(request.stream, OneChannelStream);

    StationOnPty station;
    ASSERT_TRUE(station.ok());
    RecordingObserver observer;
    const WriteResult result =
        runWriteExchange(requestFor(oneChannelTemplateImage(), station.path()), observer);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(result.bytesSent, 44);
    EXPECT_EQ(result.repliesReceived, 44);
    EXPECT_EQ(observer.gauges, (std::vector<int>{0, 33, 66, 100, 0, 100, 100}));
    EXPECT_EQ(observer.events.first(), QStringLiteral("phase Writing"));
    EXPECT_EQ(observer.events.last(), QStringLiteral("phase Idle"));
    const StationRecord& held = station.stopAndInspect();
    EXPECT_EQ(held.received(), OneChannelStream);
    EXPECT_EQ(held.heldWriteStream(), OneChannelStream);
}

TEST(WriteExchange, RecordGaugeIsTheShareOfRecordsSentTiesToEven)
{
    const std::pair<int, std::vector<int>> cases[] = {
        {3, {33, 67, 100, 100}},
        {8, {12, 25, 38, 50, 62, 75, 88, 100, 100}},
        {0, {100}},
    };
    for (const auto& [count, expected] : cases) {
        StationOnPty station;
        RecordingObserver observer;
        const WriteResult result =
            runWriteExchange(requestFor(channelsImage(count), station.path()), observer);
        EXPECT_TRUE(result.ok()) << count;
        EXPECT_EQ(result.bytesSent, 26 + 18 * count);
        EXPECT_EQ(recordGauges(observer.gauges), expected) << count;
    }
}

TEST(WriteExchange, UncheckedPlanIsRefusedWithoutTouchingThePort)
{
    StationOnPty station;
    WriteRequest request = requestFor(oneChannelTemplateImage(), station.path());
    request.dataChecked = false;
    RecordingObserver observer;
    const WriteResult result = runWriteExchange(request, observer);
    EXPECT_EQ(result.outcome, ExchangeOutcome::Refused);
    EXPECT_EQ(result.message.text,
              QStringLiteral("Введенные данные не будут переданы, так как они не проверены."));
    EXPECT_EQ(result.message.kind, MessageKind::Notice);
    EXPECT_TRUE(observer.events.isEmpty());
    EXPECT_TRUE(station.stopAndInspect().received().isEmpty());
}

TEST(WriteExchange, PortThatCannotBeOpenedIsShownAndTheWindowIsIdleAgain)
{
    RecordingObserver observer;
    const WriteResult result = runWriteExchange(
        requestFor(oneChannelTemplateImage(), QStringLiteral("/dev/yalmera-none-write")), observer);
    EXPECT_EQ(result.outcome, ExchangeOutcome::OpenFailed);
    EXPECT_EQ(lineOf(result.message, 0), QStringLiteral("ie_BadId - Specified comport doesn't exist"));
    EXPECT_EQ(result.bytesSent, 0);
    EXPECT_EQ(observer.events, (QStringList{QStringLiteral("phase Writing"), QStringLiteral("phase Idle")}));
}

TEST(WriteExchange, SilentStationShowsAkAndTheNextByteFindsTheLinkClosed)
{
    // Silent from the command byte on, inside the header, inside the records.
    const std::pair<int, std::vector<int>> cases[] = {
        {0, {0}},
        {10, {0, 33}},
        {30, {0, 33, 66, 100, 0}},
        {26 + 18 + 5, {0, 33, 66, 100, 0, 50}},
        // A missed reply to the byte that ends a step still moves the gauge: the window learns of
        // the silence only when the next byte finds the link closed.
        {5, {0, 33}},
        {25, {0, 33, 66, 100, 0}},
        {26 + 17, {0, 33, 66, 100, 0, 50}},
    };
    for (const auto& [answered, gauges] : cases) {
        StationOnPty station({}, answered);
        RecordingObserver observer;
        const WriteResult result = runWriteExchange(requestFor(channelsImage(2), station.path()), observer);
        EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut) << answered;
        // The byte that went unanswered, counted from the command byte.
        EXPECT_TRUE(result.message.text.startsWith(
            u"ie_NOpen - device not open\nПорт %1, ожидание ответа на байт %2: "_qs.arg(station.path())
                .arg(answered + 1)));
        EXPECT_EQ(result.bytesSent, answered + 1);
        EXPECT_EQ(result.repliesReceived, answered);
        EXPECT_EQ(observer.gauges, gauges) << answered;
        EXPECT_EQ(observer.phases.back(), ExchangePhase::NoAnswer);
        EXPECT_EQ(std::count(observer.phases.begin(), observer.phases.end(), ExchangePhase::Idle), 0);
        // Nothing more was sent after the unanswered byte.
        EXPECT_EQ(station.stopAndInspect().received().size(), answered + 1);
    }
}

TEST(WriteExchange, UnansweredLastByteIsAFailureNotACompleteWrite)
{
    StationOnPty station({}, 43);
    RecordingObserver observer;
    const WriteResult result =
        runWriteExchange(requestFor(oneChannelTemplateImage(), station.path()), observer);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(result.message.text, texts::link::LastByteUnanswered);
    EXPECT_EQ(result.bytesSent, 44);
    EXPECT_EQ(observer.gauges, (std::vector<int>{0, 33, 66, 100, 0}));
    EXPECT_EQ(observer.phases, (std::vector<ExchangePhase>{ExchangePhase::Writing, ExchangePhase::NoAnswer}));
}

TEST(UnfinishedWriteRecord, TheNextExchangeWaitsUntilTheStationHasGivenTheBrokenWriteUp)
{
    using namespace std::chrono;
    constexpr ExchangeTimings Timings = Yalmera4K17.timings;
    constexpr milliseconds Full = Timings.stationAbandon + Timings.abandonMargin;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    struct Case
    {
        const char* name;
        std::function<void(const UnfinishedWrite&)> left;
        bool holderKilled;
        std::optional<milliseconds> wait; // from now; none: no record
    };
    const Case cases[] = {
        {"nothing left", [](auto&) {}, false, std::nullopt},
        {"a killed program's lock", [](auto&) {}, true, Full},
        {"the writer killed", [](auto& r) { r.begin(); }, false, Full},
        {"stopped half a second ago", [&](auto& r) { r.leave(now - 500); }, false, Full - 500ms},
        {"stopped long ago", [&](auto& r) { r.leave(now - 60'000); }, false, 0ms},
        {"a clock set back since", [&](auto& r) { r.leave(now + 60'000); }, false, Full},
        {"ended complete",
         [&](auto& r) {
             r.leave(now);
             r.clear();
         },
         false, std::nullopt},
    };
    for (const Case& c : cases) {
        // A port of its own, by a name that no device has.
        const UnfinishedWrite record(
            QStringLiteral("yalmera-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(&c - cases),
            Timings);
        c.left(record);
        const auto freeAt = record.stationFreeAt(c.holderKilled);
        ASSERT_EQ(freeAt.has_value(), c.wait.has_value()) << c.name;
        if (c.wait) {
            EXPECT_NEAR(duration_cast<milliseconds>(*freeAt - steady_clock::now() - *c.wait).count(), 0, 150)
                << c.name;
        }
        record.clear();
    }
}

TEST(WriteExchange, SlowAnswersWithinTheLimitAreWaitedFor)
{
    station::ServerOptions slow;
    slow.replyDelay = std::chrono::milliseconds(20);
    StationOnPty station({}, -1, slow);
    RecordingObserver observer;
    const WriteResult result =
        runWriteExchange(requestFor(oneChannelTemplateImage(), station.path()), observer);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(station.stopAndInspect().heldWriteStream(), OneChannelStream);

    // An answer later than 200 ms is no answer.
    slow.replyDelay = std::chrono::milliseconds(260);
    StationOnPty late({}, -1, slow);
    RecordingObserver lateObserver;
    const WriteResult lateResult =
        runWriteExchange(requestFor(oneChannelTemplateImage(), late.path()), lateObserver);
    EXPECT_EQ(lateResult.outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(lateResult.bytesSent, 1);
    EXPECT_EQ(lineOf(lateResult.message, 0), texts::link::NotOpen);
}

TEST(WriteExchange, LateRepliesAreSaidOnceEarlyWithTheLatencyAndThePredictedTime)
{
    // Reply delay and latency timer (ms) of a paced station; whether the write says so.
    const std::tuple<int, int, bool> cases[] = {{0, 0, false}, {16, 0, true}, {0, 16, true}};
    for (const auto& [delay, tick, said] : cases) {
        SCOPED_TRACE(testing::Message() << delay << " ms late, " << tick << " ms tick");
        const station::ServerOptions late{.replyDelay = std::chrono::milliseconds(delay),
                                          .latencyTimer = std::chrono::milliseconds(tick),
                                          .pace = true};
        StationOnPty station({}, -1, late);
        RecordingObserver observer;
        QElapsedTimer timer;
        timer.start();
        const WriteResult result = runWriteExchange(requestFor(channelsImage(1), station.path()), observer);
        const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
        ASSERT_TRUE(result.ok() && result.replyLatencyMs);
        ASSERT_EQ(observer.notices.size(), said ? 1U : 0U);
        if (said) // on time, how little it is depends on the machine's load: only "not said" holds
            EXPECT_NEAR(*result.replyLatencyMs, 16.0, 3.0);
        for (const LatencyNotice& notice : observer.notices) {
            EXPECT_NEAR(notice.latencyMs, *result.replyLatencyMs, 0.01);
            EXPECT_NEAR(static_cast<double>(notice.predicted.count()) / 1000.0, seconds, seconds / 10);
            EXPECT_LE(notice.bytesDone * 3, result.bytesSent); // before a third of the write
            EXPECT_TRUE(notice.text.contains(u"опозданием %1 мс"_qs.arg(qRound(notice.latencyMs))));
        }
    }
}

TEST(WriteExchangeObject, RunsOffTheCallersThreadAndReportsInOrder)
{
    StationOnPty station;
    WriteExchange exchange;
    QStringList events;
    std::optional<WriteResult> result;
    QEventLoop loop;
    QObject::connect(&exchange, &StationExchange::gaugeChanged, &loop,
                     [&](int v) { events << QStringLiteral("gauge %1").arg(v); });
    QObject::connect(&exchange, &StationExchange::phaseChanged, &loop, [&](ExchangePhase p) {
        events << QStringLiteral("phase ") + RecordingObserver::phaseName(p);
    });
    QObject::connect(&exchange, &WriteExchange::finished, &loop, [&](const WriteResult& r) {
        result = r;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(exchange.start(requestFor(oneChannelTemplateImage(), station.path())));
    EXPECT_TRUE(exchange.isRunning());
    EXPECT_FALSE(exchange.start(requestFor(oneChannelTemplateImage(), station.path()))); // one at a time
    loop.exec();
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->ok());
    EXPECT_FALSE(exchange.isRunning());
    EXPECT_EQ(events, (QStringList{QStringLiteral("phase Writing"), QStringLiteral("gauge 0"),
                                   QStringLiteral("gauge 33"), QStringLiteral("gauge 66"),
                                   QStringLiteral("gauge 100"), QStringLiteral("gauge 0"),
                                   QStringLiteral("gauge 100"), QStringLiteral("gauge 100"),
                                   QStringLiteral("phase Idle")}));

    // The refusal arrives the same way, with nothing else before it.
    events.clear();
    result.reset();
    WriteRequest unchecked = requestFor(oneChannelTemplateImage(), station.path());
    unchecked.dataChecked = false;
    ASSERT_TRUE(exchange.start(unchecked));
    loop.exec();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, ExchangeOutcome::Refused);
    EXPECT_TRUE(events.isEmpty());
}
