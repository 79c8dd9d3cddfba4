#include "fleet_exchange.h"

#include "files/journal.h"
#include "files/plan_file.h"
#include "image/read_back.h"
#include "link/link_texts.h"
#include "link/serial_link.h"
#include "session/app_state.h"
#include "session/exchange_journal.h"

#include <QElapsedTimer>
#include <QThread>

#include <memory>
#include <vector>

namespace yalmera {

namespace {

// The fleet observer seen by one station's exchanges as the ExchangeObserver they report to.
class StationObserver final : public ExchangeObserver
{
public:
    StationObserver(FleetObserver& fleet, int station) : m_fleet(fleet), m_station(station) {}
    void gaugeChanged(int value) override { m_fleet.stationGauge(m_station, value); }
    void phaseChanged(ExchangePhase phase) override { m_fleet.stationPhase(m_station, phase); }
    void step(FleetStep step) { m_fleet.stationStep(m_station, step); }

private:
    FleetObserver& m_fleet;
    int m_station;
};

void takeFailures(FleetStationResult& result, const ExchangeRecord& record)
{
    result.recordFailures.append(record.failures);
}

void takeRead(FleetStationResult& result, const ReadResult& read, FleetStep step)
{
    result.outcome =
        read.ok() ? ExchangeOutcome::Completed
                  : (read.outcome == ExchangeOutcome::Completed ? ExchangeOutcome::Refused : read.outcome);
    result.message = read.message;
    if (!read.ok())
        result.failedStep = step;
    if (read.readBack && result.serialNumber.isEmpty())
        result.serialNumber = read.readBack->serialNumber;
}

ReadRequest stationRead(const FleetRequest& request, const FleetStation& station)
{
    ReadRequest read = request.read;
    read.port = station.port;
    read.trace = station.trace;
    return read;
}

// The journal's wait of a station: the run's stop flag ends it too.
JournalWait journalWait(const FleetRequest& request, const std::atomic<bool>* stop)
{
    JournalWait wait = request.journalWait;
    if (stop)
        wait.stop = stop;
    return wait;
}

void writeStation(const FleetRequest& request, const FleetStation& station, StationObserver& observer,
                  const std::atomic<bool>* stop, FleetStationResult& result)
{
    const JournalWait wait = journalWait(request, stop);
    WriteRequest write = request.write;
    write.port = station.port;
    write.trace = station.trace;
    observer.step(FleetStep::Writing);
    const WriteResult written = runWriteExchange(write, observer, stop);
    result.outcome = written.outcome;
    result.message = written.message;
    result.lastByteUnanswered = written.lastByteUnanswered;
    result.bytesAcknowledged = written.repliesReceived;
    if (!written.ok())
        result.failedStep = FleetStep::Writing;
    result.written =
        recordWrite(request.journalPath, write, written, request.planFile, station.serialNumber, wait);
    takeFailures(result, result.written);
    if (!written.ok() || !request.verify)
        return;
    observer.step(FleetStep::Verifying);
    const ReadRequest read = stationRead(request, station);
    const ReadResult readBack = runReadExchange(read, observer, stop);
    takeRead(result, readBack, FleetStep::Verifying);
    if (readBack.ok())
        result.writtenDifferences = writtenDifferences(write.stream, *readBack.readBack);
    takeFailures(result, recordVerify(request.journalPath, read, readBack, request.planFile,
                                      result.writtenDifferences, wait));
}

void readStation(const FleetRequest& request, const FleetStation& station, StationObserver& observer,
                 const std::atomic<bool>* stop, FleetStationResult& result)
{
    observer.step(FleetStep::Reading);
    const ReadRequest read = stationRead(request, station);
    const ReadResult readBack = runReadExchange(read, observer, stop);
    takeRead(result, readBack, FleetStep::Reading);
    if (readBack.ok()) {
        // The plan as "read" saves it: the station's band code and module type.
        AppState state;
        state.selectBand(read.model->band.band);
        applyReadBack(state, *readBack.readBack);
        const files::SavedPlanFile saved = files::savePlanUnderFreeName(
            request.outputFolder, files::fileNamePart(readBack.readBack->serialNumber), state.settings(),
            state.table(), state.stationType().typeCode, moduleCode(state.moduleType()));
        result.savedPlan = saved.path;
        if (!saved.reason.isEmpty())
            result.saveFailure = UserMessage::failure(saved.reason);
    }
    takeFailures(result, recordRead(request.journalPath, read, readBack, result.savedPlan,
                                    journalWait(request, stop)));
}

void auditStation(const FleetRequest& request, const FleetStation& station, StationObserver& observer,
                  const std::atomic<bool>* stop, FleetStationResult& result)
{
    observer.step(FleetStep::Reading);
    const ReadRequest read = stationRead(request, station);
    const ReadResult readBack = runReadExchange(read, observer, stop);
    takeRead(result, readBack, FleetStep::Reading);
    QStringList words;
    if (readBack.ok()) {
        result.comparison =
            compareWithStation(request.plan, request.checkedImage, request.band, *readBack.readBack);
        words = journalDifferenceTexts(result.comparison);
    }
    takeFailures(result, recordAudit(request.journalPath, read, readBack, request.planFile, words,
                                     journalWait(request, stop)));
}

} // namespace

bool FleetStationResult::holdsPlan() const
{
    return completed() && writtenDifferences.isEmpty() && comparison.same() && saveFailure.isEmpty();
}

FleetEnd fleetEnd(const FleetStationResult& result, bool protocolFailed)
{
    switch (result.outcome) {
    case ExchangeOutcome::Completed:
        break;
    case ExchangeOutcome::Cancelled:
        return FleetEnd::Stopped;
    case ExchangeOutcome::Refused:
        return FleetEnd::Refused;
    case ExchangeOutcome::OpenFailed:
    case ExchangeOutcome::TimedOut:
    case ExchangeOutcome::LinkFailed:
        return FleetEnd::LinkFailed;
    }
    if (!result.writtenDifferences.isEmpty())
        return FleetEnd::LinkFailed;
    if (!result.saveFailure.isEmpty())
        return FleetEnd::NotSaved;
    if (!result.comparison.same())
        return FleetEnd::Refused;
    return result.recordFailures.isEmpty() && !protocolFailed ? FleetEnd::Done : FleetEnd::NotRecorded;
}

QString fleetFailureText(const FleetStationResult& result)
{
    QString text = messageLine(result.message);
    // As the one-station commands say it: the plain words first.
    if (result.failedStep == FleetStep::Writing && result.outcome == ExchangeOutcome::TimedOut &&
        !result.lastByteUnanswered)
        text = QStringLiteral("%1 (%2)").arg(texts::link::WriteStationSilent, text);
    else if (text.isEmpty() && result.outcome == ExchangeOutcome::TimedOut)
        text = texts::link::StationSilent.toString();
    if (result.outcome == ExchangeOutcome::OpenFailed) {
        if (const QString hint = portAccessHint(result.port); !hint.isEmpty())
            text += QStringLiteral(" (%1)").arg(hint);
    }
    return text;
}

QList<FleetStationResult> runFleetExchange(const FleetRequest& request, const QList<FleetStation>& stations,
                                           FleetObserver& observer, const std::atomic<bool>* stop)
{
    QList<FleetStationResult> results(stations.size());
    std::vector<std::unique_ptr<QThread>> threads;
    threads.reserve(static_cast<std::size_t>(stations.size()));
    for (int i = 0; i < stations.size(); ++i) {
        // Each thread writes only its own result; the list is not resized while they run.
        FleetStationResult& result = results[i];
        const FleetStation& station = stations[i];
        threads.emplace_back(QThread::create([&request, &station, &observer, &result, stop, i] {
            QElapsedTimer clock;
            clock.start();
            StationObserver stationObserver(observer, i);
            result.port = station.port;
            result.serialNumber = station.serialNumber;
            switch (request.operation) {
            case FleetOperation::Write:
                writeStation(request, station, stationObserver, stop, result);
                break;
            case FleetOperation::Read:
                readStation(request, station, stationObserver, stop, result);
                break;
            case FleetOperation::Audit:
                auditStation(request, station, stationObserver, stop, result);
                break;
            }
            result.milliseconds = clock.elapsed();
            stationObserver.step(FleetStep::Ended);
            observer.stationEnded(i, result);
        }));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread>& thread : threads)
        thread->wait();
    return results;
}

} // namespace yalmera
