#include "common/station_peers.h"
#include "image/plan_fixture.h"
#include "session/app_state.h"
#include "session/fleet_exchange.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

using namespace yalmera;

namespace {

// What a window would show of each station: its steps, how far its gauge went, its result.
class RecordingObserver final : public FleetObserver
{
public:
    explicit RecordingObserver(qsizetype stations)
        : steps(stations), highestGauges(stations, -1), ended(stations)
    {
    }
    void stationStep(int station, FleetStep step) override
    {
        const std::lock_guard lock(m_mutex);
        steps[station].append(step);
    }
    void stationPhase(int, ExchangePhase) override {}
    void stationGauge(int station, int value) override
    {
        const std::lock_guard lock(m_mutex);
        highestGauges[station] = std::max(highestGauges[station], value);
    }
    void stationEnded(int station, const FleetStationResult& result) override
    {
        const std::lock_guard lock(m_mutex);
        ended[station].append(result.port);
    }
    void stationRecorded(int, FleetStep step, const FleetStationResult&) override
    {
        if (stopAfterWrite && step == FleetStep::Writing)
            *stopAfterWrite = true;
    }

    QList<QList<FleetStep>> steps;
    QList<int> highestGauges;
    QList<QStringList> ended;
    std::atomic<bool>* stopAfterWrite = nullptr; // set once a write's records are kept

private:
    std::mutex m_mutex;
};

// A write of the state's plan, verified, journalled at journalPath.
FleetRequest writeAndVerify(const AppState& state, const QString& journalPath)
{
    FleetRequest request;
    request.write = writeRequest(state, {});
    request.verify = true;
    request.read = readRequest(state, {});
    request.journalPath = journalPath;
    return request;
}

} // namespace

TEST(FleetExchange, EachStationReportsItsOwnStepsAndResultAndAMissingPortSpoilsNoOther)
{
    AppState state = templateState(3);
    ASSERT_TRUE(runDataCheck(state).passed);
    QTemporaryDir folder;
    FleetRequest request = writeAndVerify(state, folder.filePath(QStringLiteral("journal.csv")));
    test::StationOnPty first;
    test::StationOnPty third;
    const QList<FleetStation> stations{
        {first.path(), QStringLiteral("К17М-00001"), nullptr},
        {folder.filePath(QStringLiteral("no-such-port")), {}, nullptr},
        {third.path(), {}, nullptr},
    };
    RecordingObserver observer(stations.size());
    const QList<FleetStationResult> results = runFleetExchange(request, stations, observer);

    ASSERT_EQ(results.size(), 3);
    for (const int i : {0, 2}) {
        EXPECT_TRUE(results[i].holdsPlan()) << i << ": " << results[i].message.text.toStdString();
        EXPECT_EQ(observer.steps[i],
                  QList<FleetStep>({FleetStep::Writing, FleetStep::Verifying, FleetStep::Ended}));
        EXPECT_EQ(observer.highestGauges[i], 100);
        EXPECT_TRUE(results[i].recordFailures.isEmpty());
    }
    EXPECT_EQ(results[0].serialNumber, QStringLiteral("К17М-00001")); // as given
    EXPECT_EQ(results[2].serialNumber, QStringLiteral("012345"));     // as the station reports it
    EXPECT_EQ(results[1].outcome, ExchangeOutcome::OpenFailed);
    EXPECT_EQ(results[1].failedStep, FleetStep::Writing);
    // On the table's one line: the link's text, the port and the step.
    EXPECT_TRUE(fleetFailureText(results[1])
                    .startsWith(u"ie_BadId - Specified comport doesn't exist — Порт %1, открытие: "_qs.arg(
                        stations[1].port)));
    EXPECT_EQ(observer.steps[1], QList<FleetStep>({FleetStep::Writing, FleetStep::Ended}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(observer.ended[i], QStringList{stations[i].port});
    EXPECT_EQ(first.stopAndInspect().heldWriteStream(), request.write.stream);
    EXPECT_EQ(third.stopAndInspect().heldWriteStream(), request.write.stream);
}

// A station that holds the plan gets its protocol, also when its journal line could not be
// written; the journal's failure is said all the same. One that does not hold it gets none.
TEST(FleetExchange, AStationHoldingThePlanGetsItsProtocolAlsoWhenItsJournalLineFailed)
{
    AppState state = templateState(3);
    ASSERT_TRUE(runDataCheck(state).passed);
    QTemporaryDir folder;
    FleetRequest request;
    request.write = writeRequest(state, {});
    request.read = readRequest(state, {});
    request.journalPath = folder.path(); // a folder: no line gets in
    QStringList protocols;
    request.saveProtocol = [&protocols](const QString& serialNumber) {
        protocols.append(serialNumber);
        return FleetProtocol{serialNumber + u".docx"_qs, {}};
    };
    test::StationOnPty station;
    const QList<FleetStation> stations{{station.path(), u"000042"_qs, nullptr},
                                       {folder.filePath(u"no-such-port"_qs), u"000043"_qs, nullptr}};
    RecordingObserver observer(stations.size());
    const QList<FleetStationResult> results = runFleetExchange(request, stations, observer);
    EXPECT_EQ(protocols, QStringList{u"000042"_qs});
    EXPECT_EQ(results[0].protocol, u"000042.docx"_qs);
    EXPECT_FALSE(results[0].recordFailures.isEmpty());
    EXPECT_EQ(fleetEnd(results[0]), FleetEnd::NotRecorded);
    // A protocol not saved is a record not kept too.
    FleetStationResult unsaved = results[0];
    unsaved.recordFailures.clear();
    unsaved.protocolFailure = UserMessage::failure(u"folder gone"_qs);
    EXPECT_EQ(fleetEnd(unsaved), FleetEnd::NotRecorded);
}

// A stop that comes once the write is journalled (while its line waited) ends the station before
// its verify's read begins.
TEST(FleetExchange, AStopAfterTheWriteEndsTheStationBeforeItsVerify)
{
    AppState state = templateState(3);
    ASSERT_TRUE(runDataCheck(state).passed);
    QTemporaryDir folder;
    FleetRequest request = writeAndVerify(state, folder.filePath(u"journal.csv"_qs));
    test::StationOnPty station;
    std::atomic<bool> stop{false};
    RecordingObserver observer(1);
    observer.stopAfterWrite = &stop;
    const QList<FleetStationResult> results =
        runFleetExchange(request, {{station.path(), {}, nullptr}}, observer, &stop);
    EXPECT_EQ(observer.steps[0], QList<FleetStep>({FleetStep::Writing, FleetStep::Ended}));
    EXPECT_EQ(results[0].outcome, ExchangeOutcome::Cancelled);
    EXPECT_EQ(results[0].failedStep, FleetStep::Verifying);
}
