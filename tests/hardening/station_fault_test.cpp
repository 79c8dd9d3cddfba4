// The station exchanges against stations that fall silent at every byte, answer late, vanish or
// send too much. Every case must end with the window's status and buttons back, the link closed,
// and the plan in memory and on disk as it was.

#include "hardening_fixture.h"

#include "image/read_back.h"
#include "link/link_texts.h"
#include "link/read_exchange.h"
#include "link/serial_link.h"
#include "link/write_exchange.h"
#include "session/station_exchanges.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <functional>
#include <mutex>

namespace yalmera::hardening {
namespace {

using namespace std::chrono_literals;

// Cases of a sweep run side by side: each waits out a real silence limit, so the sweep's time is
// spent waiting, not computing.
constexpr int SweepWorkers = 6;

// Runs body(i) for i = 0 .. count-1 on a few worker threads.
void forEachInParallel(int count, const std::function<void(int)>& body)
{
    std::atomic<int> next{0};
    std::vector<QThread*> workers;
    for (int w = 0; w < SweepWorkers; ++w) {
        workers.push_back(QThread::create([&] {
            for (int i = next++; i < count; i = next++)
                body(i);
        }));
        workers.back()->start();
    }
    for (QThread* worker : workers) {
        worker->wait();
        delete worker;
    }
}

// Whether the port opens again at once: the exchange closed it and left no lock behind.
QString reopenFailure(const QString& port)
{
    SerialLink link;
    link.setPortChoice(port);
    link.configure(Yalmera4K17);
    const UserMessage failure = link.openSelected();
    link.close();
    return failure.text;
}

// What the window does with a finished read: only a complete, acceptable stream replaces the plan.
void takeReadResult(AppState& state, const ReadResult& result)
{
    if (result.ok())
        applyReadBack(state, *result.readBack);
}

// The plan is saved to disk before the faults and compared byte for byte after them.
class SavedPlan
{
public:
    explicit SavedPlan(const AppState& state)
    {
        m_path = m_dir.filePath(QStringLiteral("plan.ini"));
        const UserMessage saved =
            files::writePlanFile(m_path, state.settings(), state.table(), state.stationType().typeCode,
                                 moduleCode(state.moduleType()));
        EXPECT_TRUE(saved.isEmpty()) << saved.text.toStdString();
        m_bytes = readFileBytes(m_path);
        EXPECT_FALSE(m_bytes.isEmpty());
    }
    bool unchanged() const { return readFileBytes(m_path) == m_bytes; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_bytes;
};

// ---- Silence at every byte position -------------------------------------------------------------

struct WriteSweepCase
{
    int answered = 0; // replies the station sent before falling silent
    WriteResult result;
    LastReport report;
    qsizetype stationReceived = 0;
    QString reopenFailure;
};

class SilenceSweep : public ::testing::TestWithParam<int>
{
};

TEST_P(SilenceSweep, WriteEndsWithAKAtEveryByteAndNothingMoreIsSent)
{
    const int channels = GetParam();
    const AppState state = checkedTemplateState(channels);
    const PlanSnapshot before = PlanSnapshot::of(state);
    const SavedPlan disk(state);
    const int total = headerSize(Stream::Write) + ChannelRecord::Size * channels;
    ASSERT_EQ(state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode).size(),
              total);

    std::vector<WriteSweepCase> cases(static_cast<std::size_t>(total));
    forEachInParallel(total, [&](int n) {
        WriteSweepCase& c = cases[static_cast<std::size_t>(n)];
        c.answered = n;
        StationThread station({}, n);
        if (!station.ok())
            return;
        c.result = runWriteExchange(writeRequest(state, station.path()), c.report);
        c.reopenFailure = reopenFailure(station.path());
        c.stationReceived = station.stopAndInspect().received().size();
    });

    const QString notOpen = texts::link::NotOpen.toString();
    const QString lastUnanswered = texts::link::LastByteUnanswered.toString();
    for (const WriteSweepCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << channels << " channels, silent after " << c.answered << " replies");
        EXPECT_EQ(c.result.outcome, ExchangeOutcome::TimedOut);
        // The byte the station left unanswered went out; the next one found the link closed.
        EXPECT_EQ(test::lineOf(c.result.message, 0), c.answered == total - 1 ? lastUnanswered : notOpen);
        EXPECT_EQ(c.result.lastByteUnanswered, c.answered == total - 1);
        EXPECT_EQ(c.result.bytesSent, c.answered + 1);
        EXPECT_EQ(c.result.repliesReceived, c.answered);
        EXPECT_EQ(c.stationReceived, c.answered + 1);
        EXPECT_EQ(c.report.phase, ExchangePhase::NoAnswer);
        EXPECT_TRUE(c.report.ended());
        EXPECT_EQ(c.reopenFailure, QString());
    }
    EXPECT_EQ(PlanSnapshot::of(state), before);
    EXPECT_TRUE(disk.unchanged());
}

struct ReadSweepCase
{
    int sent = 0; // stream bytes the station sent before falling silent
    ReadResult result;
    LastReport report;
    bool planUnchanged = false;
    QString reopenFailure;
};

TEST_P(SilenceSweep, ReadEndsWithAKAtEveryByteAndThePlanStays)
{
    const int channels = GetParam();
    // The user's plan differs from the station's, so a wrongly applied read would show.
    const AppState userPlan = checkedTemplateState(3, QStringLiteral("160000"), QStringLiteral("25"));
    const SavedPlan disk(userPlan);
    const AppState stationPlan = checkedTemplateState(channels);
    const QByteArray held = stationPlan.image().writeStream(0, 0);
    const int total = streamSize(Stream::Read, channels);

    std::vector<ReadSweepCase> cases(static_cast<std::size_t>(total));
    forEachInParallel(total, [&](int k) {
        ReadSweepCase& c = cases[static_cast<std::size_t>(k)];
        c.sent = k;
        StationThread station(held, k);
        if (!station.ok())
            return;
        AppState state = userPlan;
        c.result = runReadExchange(readRequest(state, station.path()), c.report);
        takeReadResult(state, c.result);
        c.planUnchanged = PlanSnapshot::of(state) == PlanSnapshot::of(userPlan);
        c.reopenFailure = reopenFailure(station.path());
    });

    for (const ReadSweepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << channels << " channels, silent after " << c.sent << " bytes");
        EXPECT_EQ(c.result.outcome, ExchangeOutcome::TimedOut);
        EXPECT_EQ(c.result.message, UserMessage());
        EXPECT_FALSE(c.result.readBack.has_value());
        EXPECT_EQ(c.result.bytesReceived, c.sent);
        EXPECT_EQ(c.report.phase, ExchangePhase::NoAnswer);
        EXPECT_TRUE(c.report.ended());
        EXPECT_TRUE(c.planUnchanged);
        EXPECT_EQ(c.reopenFailure, QString());
    }
    EXPECT_TRUE(disk.unchanged());
}

INSTANTIATE_TEST_SUITE_P(OneAndTenChannels, SilenceSweep, ::testing::Values(1, 10),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "Channels";
                         });

// ---- A station that answers late ----------------------------------------------------------------

// Silence limits: 200 ms for write replies and read header bytes, 100 ms for record bytes. The
// margins of 40 ms either side keep the cases apart on a busy machine.
constexpr auto JustUnderReply = 160ms;
constexpr auto JustOverReply = 240ms;
constexpr auto JustUnderRecord = 60ms;
constexpr auto JustOverRecord = 140ms;

QString delayOption(std::chrono::milliseconds delay)
{
    return QStringLiteral("--reply-delay=%1").arg(delay.count());
}

TEST(LateStation, RepliesJustUnderTheLimitCompleteTheWriteAndTheReadBackMatches)
{
    const AppState state = checkedTemplateState(1);
    StationProcess station({delayOption(JustUnderReply)});
    ASSERT_FALSE(station.path().isEmpty());

    LastReport report;
    const WriteResult written = runWriteExchange(writeRequest(state, station.path()), report);
    EXPECT_EQ(written.outcome, ExchangeOutcome::Completed) << written.message.text.toStdString();
    EXPECT_EQ(written.repliesReceived, 44);
    EXPECT_EQ(report.phase, ExchangePhase::Idle);
    EXPECT_TRUE(report.ended());

    // The read's first byte comes just as late.
    LastReport readReport;
    const ReadResult read = runReadExchange(readRequest(state, station.path()), readReport);
    ASSERT_TRUE(read.ok()) << read.message.text.toStdString();
    EXPECT_EQ(read.readBack->image.records[0], state.image().records[0]);
    EXPECT_EQ(readReport.phase, ExchangePhase::Idle);
}

TEST(LateStation, ReplyJustOverTheLimitEndsTheWriteAtItsFirstByte)
{
    const AppState state = checkedTemplateState(1);
    const PlanSnapshot before = PlanSnapshot::of(state);
    StationProcess station({delayOption(JustOverReply)});
    ASSERT_FALSE(station.path().isEmpty());

    LastReport report;
    const WriteResult result = runWriteExchange(writeRequest(state, station.path()), report);
    EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(test::lineOf(result.message, 0), texts::link::NotOpen);
    EXPECT_EQ(result.bytesSent, 1);
    EXPECT_EQ(result.repliesReceived, 0);
    EXPECT_EQ(report.phase, ExchangePhase::NoAnswer);
    EXPECT_TRUE(report.ended());
    EXPECT_EQ(reopenFailure(station.path()), QString());
    EXPECT_EQ(PlanSnapshot::of(state), before);
}

TEST(LateStation, FirstReadByteJustOverTheLimitEndsTheReadWithNothingTaken)
{
    AppState state = checkedTemplateState(2, QStringLiteral("150000"));
    const PlanSnapshot before = PlanSnapshot::of(state);
    StationProcess station({delayOption(JustOverReply)});
    ASSERT_FALSE(station.path().isEmpty());

    LastReport report;
    const ReadResult result = runReadExchange(readRequest(state, station.path()), report);
    takeReadResult(state, result);
    EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(result.bytesReceived, 0);
    EXPECT_EQ(report.phase, ExchangePhase::NoAnswer);
    EXPECT_TRUE(report.ended());
    EXPECT_EQ(reopenFailure(station.path()), QString());
    EXPECT_EQ(PlanSnapshot::of(state), before);
}

// A station that pauses inside its read stream: in the header (limit 200 ms) and between records
// (limit 100 ms). Paused just under the limit the read completes; just over, it ends with "AK"
// and the bytes up to the pause.
struct PauseCase
{
    const char* name;
    int pauseAfterBytes;
    std::chrono::milliseconds pause;
    bool completes;
};

void PrintTo(const PauseCase& pc, std::ostream* os)
{
    *os << pc.name;
}

class PausingStation : public ::testing::TestWithParam<PauseCase>
{
};

TEST_P(PausingStation, ReadCompletesOnlyWhenEveryPauseIsWithinItsLimit)
{
    const PauseCase& pc = GetParam();
    const AppState stationPlan = checkedTemplateState(2);
    const QByteArray stream = encodeReadStream(stationPlan.image(), 0x012345, 0, 0);
    ScriptedPeer peer({{0ms, stream.left(pc.pauseAfterBytes)}, {pc.pause, stream.mid(pc.pauseAfterBytes)}});
    ASSERT_TRUE(peer.ok());

    AppState state = checkedTemplateState(1, QStringLiteral("170000"));
    const PlanSnapshot before = PlanSnapshot::of(state);
    LastReport report;
    const ReadResult result = runReadExchange(readRequest(state, peer.path()), report);
    takeReadResult(state, result);
    EXPECT_TRUE(report.ended());
    if (pc.completes) {
        ASSERT_TRUE(result.ok()) << result.message.text.toStdString();
        EXPECT_EQ(result.bytesReceived, stream.size());
        EXPECT_EQ(report.phase, ExchangePhase::Idle);
        EXPECT_EQ(state.table().channelCount(), 2);
    } else {
        EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
        EXPECT_EQ(result.bytesReceived, pc.pauseAfterBytes);
        EXPECT_EQ(report.phase, ExchangePhase::NoAnswer);
        EXPECT_EQ(PlanSnapshot::of(state), before);
    }
}

INSTANTIATE_TEST_SUITE_P(AroundTheSilenceLimits, PausingStation,
                         ::testing::Values(PauseCase{"HeaderPauseJustUnder", 10, JustUnderReply, true},
                                           PauseCase{"HeaderPauseJustOver", 10, JustOverReply, false},
                                           PauseCase{"BeforeFirstRecordJustUnder", 28, JustUnderRecord, true},
                                           PauseCase{"BeforeFirstRecordJustOver", 28, JustOverRecord, false},
                                           PauseCase{"BetweenRecordsJustUnder", 46, JustUnderRecord, true},
                                           PauseCase{"BetweenRecordsJustOver", 46, JustOverRecord, false},
                                           PauseCase{"InsideARecordJustOver", 50, JustOverRecord, false}),
                         [](const ::testing::TestParamInfo<PauseCase>& info) {
                             return std::string(info.param.name);
                         });

// ---- A station that vanishes --------------------------------------------------------------------

// Runs an exchange object to its end, keeping what the window would be left showing.
template <typename Exchange, typename Result> struct RunningExchange
{
    Exchange exchange;
    LastReport report;
    std::optional<Result> result;

    RunningExchange()
    {
        // Queued to this thread, as they reach the window.
        QObject::connect(&exchange, &StationExchange::gaugeChanged, &exchange, [this](int value) {
            report.gaugeChanged(value);
            ++gaugeReports;
        });
        QObject::connect(&exchange, &StationExchange::phaseChanged, &exchange,
                         [this](ExchangePhase phase) { report.phaseChanged(phase); });
        QObject::connect(&exchange, &Exchange::finished, &exchange, [this](const Result& r) { result = r; });
    }
    // Lets the queued reports and the result arrive.
    bool waitForResult(int timeoutMs = 20000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!result && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return result.has_value();
    }
    // Waits until at least n progress reports arrived (the exchange is well under way).
    void waitForGaugeReports(int n)
    {
        const QDeadlineTimer deadline(10000);
        while (gaugeReports < n && !result && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    int gaugeReports = 0;
};

TEST(VanishingStation, KilledDuringTheWriteLeavesAKAndButtonsAndTheNextStationWorks)
{
    const AppState state = checkedTemplateState(10);
    const PlanSnapshot before = PlanSnapshot::of(state);
    const SavedPlan disk(state);
    StationProcess station({QStringLiteral("--pace")});
    ASSERT_FALSE(station.path().isEmpty());

    RunningExchange<WriteExchange, WriteResult> run;
    ASSERT_TRUE(run.exchange.start(writeRequest(state, station.path())));
    run.waitForGaugeReports(5); // into the records: the header took about 0.6 s at line speed
    station.kill();
    ASSERT_TRUE(run.waitForResult());

    const WriteResult& result = *run.result;
    EXPECT_NE(result.outcome, ExchangeOutcome::Completed);
    EXPECT_LT(result.repliesReceived, 206);
    // The reply wait found the line gone ("ie_NOpen" at the next byte), or the byte could not go out.
    EXPECT_FALSE(result.message.text.isEmpty());
    EXPECT_EQ(result.message.kind, MessageKind::Failure);
    if (result.outcome == ExchangeOutcome::TimedOut) {
        EXPECT_EQ(test::lineOf(result.message, 0), texts::link::NotOpen.toString());
    }
    // Either way the port and the step are named, never the system's text alone.
    EXPECT_TRUE(test::lineOf(result.message, 1).startsWith(u"Порт %1, "_qs.arg(station.path())));
    EXPECT_EQ(run.report.phase, ExchangePhase::NoAnswer);
    EXPECT_TRUE(run.report.ended());
    EXPECT_FALSE(run.exchange.isRunning());
    EXPECT_EQ(PlanSnapshot::of(state), before);
    EXPECT_TRUE(disk.unchanged());

    // Nothing of the vanished line is left behind: another station takes the whole write at once.
    StationThread next;
    ASSERT_TRUE(next.ok());
    RunningExchange<WriteExchange, WriteResult> again;
    ASSERT_TRUE(again.exchange.start(writeRequest(state, next.path())));
    ASSERT_TRUE(again.waitForResult());
    EXPECT_TRUE(again.result->ok()) << again.result->message.text.toStdString();
    EXPECT_EQ(again.report.phase, ExchangePhase::Idle);
}

TEST(VanishingStation, KilledDuringTheReadLeavesThePlanAsItWas)
{
    const AppState stationPlan = checkedTemplateState(10);
    QTemporaryDir dir;
    const QString imagePath = dir.filePath(QStringLiteral("station.bin"));
    ASSERT_TRUE(writeFileBytes(imagePath, stationPlan.image().writeStream(0, 0)));
    StationProcess station({QStringLiteral("--pace"), QStringLiteral("--image"), imagePath});
    ASSERT_FALSE(station.path().isEmpty());

    AppState state = checkedTemplateState(4, QStringLiteral("150000"));
    const PlanSnapshot before = PlanSnapshot::of(state);
    const SavedPlan disk(state);
    RunningExchange<ReadExchange, ReadResult> run;
    ASSERT_TRUE(run.exchange.start(readRequest(state, station.path())));
    run.waitForGaugeReports(3); // the header and a record are in: about 0.4 s at line speed
    station.kill();
    ASSERT_TRUE(run.waitForResult());
    takeReadResult(state, *run.result);

    const ReadResult& result = *run.result;
    EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
    EXPECT_FALSE(result.readBack.has_value());
    EXPECT_GT(result.bytesReceived, 28);
    EXPECT_LT(result.bytesReceived, streamSize(Stream::Read, 10));
    EXPECT_EQ(run.report.phase, ExchangePhase::NoAnswer);
    EXPECT_TRUE(run.report.ended());
    EXPECT_EQ(PlanSnapshot::of(state), before);
    EXPECT_TRUE(disk.unchanged());
}

TEST(VanishingStation, LineClosedInTheMiddleOfTheStreamEndsTheRead)
{
    const AppState stationPlan = checkedTemplateState(3);
    const QByteArray stream = encodeReadStream(stationPlan.image(), 0x012345, 0, 0);
    // The pause lets the bytes reach the program: a hang-up discards what the line still holds.
    ScriptedPeer peer({{0ms, stream.left(40)}, {50ms, {}}}, 1, true);
    ASSERT_TRUE(peer.ok());

    AppState state = checkedTemplateState(1);
    const PlanSnapshot before = PlanSnapshot::of(state);
    LastReport report;
    const ReadResult result = runReadExchange(readRequest(state, peer.path()), report);
    takeReadResult(state, result);
    EXPECT_EQ(result.outcome, ExchangeOutcome::TimedOut);
    EXPECT_EQ(result.bytesReceived, 40);
    EXPECT_EQ(report.phase, ExchangePhase::NoAnswer);
    EXPECT_TRUE(report.ended());
    EXPECT_EQ(PlanSnapshot::of(state), before);
}

// ---- A station still sending when the exchange begins ------------------------------------------

TEST(StillSendingStation, ExchangesSpeakOnlyOnceTheLineIsQuietAndGiveUpAfterTheLongestStream)
{
    const AppState state = checkedTemplateState(2);
    const QByteArray stream =
        state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    // What the station still sends, a byte per 8 ms: the last records of a 10-channel stream that
    // a killed read left behind (0.5 s), or more than the longest stream (1810 bytes).
    const QByteArray tails[] = {encodeReadStream(checkedTemplateState(10).image(), 1, 0, 0).mid(150),
                                QByteArray(2100, '\x55')};
    struct Case
    {
        ExchangeOutcome outcome = ExchangeOutcome::Cancelled;
        UserMessage message;
        LastReport report;
        bool heard = true;
        QByteArray held;
    };
    std::vector<Case> cases(4); // read and write after the short tail, then after the endless one
    forEachInParallel(4, [&](int i) {
        Case& c = cases[static_cast<std::size_t>(i)];
        StationThread station(i % 2 == 0 ? stream : QByteArray(), -1, {}, tails[i / 2]);
        if (i % 2 == 0) {
            const ReadResult result = runReadExchange(readRequest(state, station.path()), c.report);
            // Complete only with the plan the station holds, not with the tail taken for it.
            const bool misread = result.ok() && !(result.readBack->image == state.image());
            c.outcome = misread ? ExchangeOutcome::Refused : result.outcome;
            c.message = result.message;
        } else {
            const WriteResult result = runWriteExchange(writeRequest(state, station.path()), c.report);
            c.outcome = result.outcome;
            c.message = result.message;
        }
        c.held = station.stopAndInspect().heldWriteStream();
        c.heard = station.heardDuringTail();
    });
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(testing::Message()
                     << (i % 2 == 0 ? "read" : "write") << (i < 2 ? ", short" : ", endless"));
        EXPECT_FALSE(cases[i].heard);
        EXPECT_EQ(cases[i].outcome, i < 2 ? ExchangeOutcome::Completed : ExchangeOutcome::LinkFailed);
        EXPECT_EQ(cases[i].message,
                  i < 2 ? UserMessage() : UserMessage::failure(texts::link::StillSending.toString()));
        EXPECT_EQ(cases[i].held, i < 3 ? stream : QByteArray());
        EXPECT_EQ(cases[i].report.phase, ExchangePhase::Idle);
        EXPECT_TRUE(cases[i].report.ended());
    }
}

// ---- A station that sends too much --------------------------------------------------------------

TEST(TalkativeStation, BytesAfterTheStreamAreDroppedAndDoNotReachTheNextRead)
{
    const AppState stationPlan = checkedTemplateState(2);
    const QByteArray stream = encodeReadStream(stationPlan.image(), 0x012345, 0, 0);
    const QByteArray garbage(64, '\x1E');
    // Some extra bytes come with the stream, more arrive after the read has ended.
    ScriptedPeer peer({{0ms, stream + garbage}, {50ms, garbage}}, 2);
    ASSERT_TRUE(peer.ok());

    const ReadStreamDecode expected = decodeReadStream(stream, stationPlan.stationType());
    ASSERT_TRUE(expected.ok());
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(testing::Message() << "read " << round);
        AppState state = checkedTemplateState(1);
        LastReport report;
        const ReadResult result = runReadExchange(readRequest(state, peer.path()), report);
        ASSERT_TRUE(result.ok()) << result.message.text.toStdString();
        EXPECT_EQ(result.bytesReceived, stream.size());
        EXPECT_EQ(*result.readBack, *expected.readBack);
        EXPECT_EQ(report.phase, ExchangePhase::Idle);
        EXPECT_TRUE(report.ended());
        QThread::msleep(100); // the late extra bytes arrive between the two reads
    }
}

TEST(TalkativeStation, ALineThatAnswersMoreThanItIsAskedFailsTheWrite)
{
    // The station answers each byte once; once the command byte is out, these peers pour out
    // replies regardless: two per byte, or one per byte but all at once, ahead of the bytes.
    const AppState state = checkedTemplateState(1);
    const QByteArray stream =
        state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    for (const int repliesPerByte : {2, 1}) {
        SCOPED_TRACE(testing::Message() << repliesPerByte << " replies per byte at once");
        ScriptedPeer peer({{0ms, QByteArray(repliesPerByte * stream.size(), '\x06')}});
        ASSERT_TRUE(peer.ok());
        LastReport report;
        const WriteResult result = runWriteExchange(writeRequest(state, peer.path()), report);
        EXPECT_EQ(result.outcome, ExchangeOutcome::LinkFailed);
        EXPECT_EQ(result.message, UserMessage::failure(texts::link::LineFlooded.toString()));
        EXPECT_LT(result.bytesSent, stream.size());
        EXPECT_EQ(report.phase, ExchangePhase::NoAnswer); // "AK"
        EXPECT_EQ(reopenFailure(peer.path()), QString());
    }
}

} // namespace
} // namespace yalmera::hardening
