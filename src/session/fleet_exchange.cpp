#include "fleet_exchange.h"

#include "files/journal.h"
#include "files/plan_file.h"
#include "files/save_target.h"
#include "image/read_back.h"
#include "link/link_texts.h"
#include "link/serial_link.h"
#include "session/app_state.h"
#include "session/exchange_journal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <memory>
#include <mutex>
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
    void latencyNoticed(const LatencyNotice& notice) override { m_fleet.stationLatency(m_station, notice); }
    void step(FleetStep step) { m_fleet.stationStep(m_station, step); }
    void exchangeEnded(FleetStep step) { m_fleet.stationExchangeEnded(m_station, step); }
    void recorded(FleetStep step, const FleetStationResult& result)
    {
        m_fleet.stationRecorded(m_station, step, result);
    }

private:
    FleetObserver& m_fleet;
    int m_station;
};

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

// One station's exchanges and records, on its own thread; it writes only its own result.
class StationRun
{
public:
    StationRun(const FleetRequest& request, const FleetStation& station, StationObserver& observer,
               const std::atomic<bool>* stop, std::mutex& protocols, FleetStationResult& result)
        : m_request(request), m_station(station), m_observer(observer), m_stop(stop), m_protocols(protocols),
          m_result(result), m_wait(request.journalWait)
    {
        // The run's stop flag ends a journal line's wait too.
        if (stop)
            m_wait.stop = stop;
    }

    void write()
    {
        WriteRequest write = m_request.write;
        write.port = m_station.port;
        write.trace = m_station.trace;
        m_observer.step(FleetStep::Writing);
        const WriteResult written = runWriteExchange(write, m_observer, m_stop);
        m_observer.exchangeEnded(FleetStep::Writing);
        m_result.outcome = written.outcome;
        m_result.message = written.message;
        m_result.lastByteUnanswered = written.lastByteUnanswered;
        m_result.bytesAcknowledged = written.repliesReceived;
        if (!written.ok())
            m_result.failedStep = FleetStep::Writing;
        m_result.written = recordWrite(m_request.journalPath, write, written, m_request.planFile,
                                       m_station.serialNumber, m_wait);
        keep(m_result.written);
        m_observer.recorded(FleetStep::Writing, m_result);
        if (written.ok() && m_request.verify)
            verify(write.stream);
        keepProtocol();
    }

    void readPlan()
    {
        const StationRead readBack = read(FleetStep::Reading);
        m_result.readBack = readBack.result.readBack;
        if (readBack.result.ok())
            savePlan(*readBack.result.readBack);
        const QString named = m_request.outputFile.isEmpty()
                                  ? m_result.savedPlan
                                  : QFileInfo(m_request.outputFile).absoluteFilePath();
        keep(recordRead(m_request.journalPath, readBack.request, readBack.result, named, m_wait));
        m_observer.recorded(FleetStep::Reading, m_result);
    }

    void audit()
    {
        const StationRead readBack = read(FleetStep::Reading);
        QStringList words;
        if (readBack.result.ok()) {
            m_result.comparison = compareWithStation(m_request.plan, m_request.checkedImage, m_request.band,
                                                     *readBack.result.readBack);
            words = journalDifferenceTexts(m_result.comparison);
        }
        keep(recordAudit(m_request.journalPath, readBack.request, readBack.result, m_request.planFile, words,
                         m_wait));
        m_observer.recorded(FleetStep::Reading, m_result);
    }

private:
    struct StationRead
    {
        ReadRequest request;
        ReadResult result;
    };

    // The read each operation has: of a fleet read, of an audit, or of a write's verify.
    StationRead read(FleetStep step)
    {
        m_observer.step(step);
        StationRead read{m_request.read, {}};
        read.request.port = m_station.port;
        read.request.trace = m_station.trace;
        read.result = runReadExchange(read.request, m_observer, m_stop);
        m_observer.exchangeEnded(step);
        takeRead(m_result, read.result, step);
        return read;
    }

    // Reads the station back and compares it with the stream written. A stop that came meanwhile
    // (while the write's line waited for the journal) ends the station before its read begins.
    void verify(const QByteArray& written)
    {
        if (m_stop && m_stop->load()) {
            m_result.outcome = ExchangeOutcome::Cancelled;
            m_result.message = UserMessage::failure(texts::link::Cancelled.toString());
            m_result.failedStep = FleetStep::Verifying;
            return;
        }
        const StationRead readBack = read(FleetStep::Verifying);
        m_result.readBack = readBack.result.readBack;
        if (readBack.result.ok())
            m_result.writtenDifferences = writtenDifferences(written, *readBack.result.readBack);
        keep(recordVerify(m_request.journalPath, readBack.request, readBack.result, m_request.planFile,
                          m_result.writtenDifferences, m_wait));
        m_observer.recorded(FleetStep::Verifying, m_result);
    }

    // The plan as "read" saves it: the station's band code and module type; one station's into the
    // file named, the one it replaces kept first.
    void savePlan(const ReadBack& readBack)
    {
        AppState state;
        state.selectBand(m_request.read.model->band.band);
        applyReadBack(state, readBack);
        const QString& path = m_request.outputFile;
        if (path.isEmpty()) {
            const files::SavedPlanFile saved = files::savePlanUnderFreeName(
                m_request.outputFolder, files::fileNamePart(readBack.serialNumber), state.settings(),
                state.table(), state.stationType().typeCode, moduleCode(state.moduleType()));
            m_result.savedPlan = saved.path;
            if (!saved.reason.isEmpty())
                m_result.saveFailure = UserMessage::failure(saved.reason);
        } else if (const QString kept = files::keepPrevious(path); !kept.isEmpty()) {
            m_result.saveFailure = UserMessage::failure(kept);
        } else {
            m_result.saveFailure =
                files::writePlanFile(path, state.settings(), state.table(), state.stationType().typeCode,
                                     moduleCode(state.moduleType()));
            m_result.savedPlan = m_result.saveFailure.isEmpty() ? path : QString();
        }
    }

    // The one rule of the protocol: every station that holds the plan gets it, also when one of its
    // journal lines failed, so that no written station goes without its document. One at a time:
    // two stations of one serial number must not take the same free name.
    void keepProtocol()
    {
        if (!m_request.saveProtocol || !m_result.holdsPlan())
            return;
        FleetProtocol saved;
        {
            const std::lock_guard lock(m_protocols);
            saved = m_request.saveProtocol(m_result.serialNumber);
        }
        m_result.protocol = saved.path;
        m_result.protocolFailure = saved.error;
        keep(recordProtocol(m_request.journalPath, m_result.written.entry, m_result.serialNumber, saved.path,
                            saved.error, m_wait));
    }

    void keep(const ExchangeRecord& record) { m_result.recordFailures.append(record.failures); }

    const FleetRequest& m_request;
    const FleetStation& m_station;
    StationObserver& m_observer;
    const std::atomic<bool>* m_stop;
    std::mutex& m_protocols;
    FleetStationResult& m_result;
    JournalWait m_wait;
};

} // namespace

bool FleetStationResult::holdsPlan() const
{
    return completed() && writtenDifferences.isEmpty() && comparison.same() && saveFailure.isEmpty();
}

FleetEnd exchangeEnd(ExchangeOutcome outcome)
{
    switch (outcome) {
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
    return FleetEnd::Done;
}

FleetEnd fleetEnd(const FleetStationResult& result)
{
    if (!result.completed())
        return exchangeEnd(result.outcome);
    if (!result.writtenDifferences.isEmpty())
        return FleetEnd::LinkFailed;
    if (!result.saveFailure.isEmpty())
        return FleetEnd::NotSaved;
    if (!result.comparison.same())
        return FleetEnd::Refused;
    return result.recordFailures.isEmpty() && result.protocolFailure.isEmpty() ? FleetEnd::Done
                                                                               : FleetEnd::NotRecorded;
}

QString fleetFailureText(const FleetStationResult& result)
{
    // As the one-station commands say it: the plain words first.
    const bool silentWrite = result.failedStep == FleetStep::Writing && !result.lastByteUnanswered;
    QString text = messageLine(exchangeMessage(result.message, result.outcome, silentWrite));
    if (result.outcome == ExchangeOutcome::OpenFailed) {
        if (const QString hint = portAccessHint(result.port); !hint.isEmpty())
            text += QStringLiteral(" (%1)").arg(hint);
    }
    return text;
}

namespace {

// The words with their %1 filled, when they have one.
QString filled(const QString& words, const QString& value)
{
    return words.contains(u"%1") ? words.arg(value) : words;
}

QString completedText(const FleetRequest& request, const FleetStationResult& result,
                      const FleetOutcomeWords& words)
{
    switch (request.operation) {
    case FleetOperation::Write:
        if (!result.writtenDifferences.isEmpty())
            return words.holdsOther;
        return request.verify ? words.verified : words.written;
    case FleetOperation::Read:
        if (!result.saveFailure.isEmpty())
            return words.notSaved.arg(result.saveFailure.text);
        return words.saved.arg(QDir::toNativeSeparators(result.savedPlan));
    case FleetOperation::Audit:
        if (!result.comparison.same())
            return words.differs.arg(result.comparison.differences.size());
        return words.same;
    }
    return {};
}

} // namespace

QString fleetOutcomeText(const FleetRequest& request, const FleetStationResult& result,
                         const FleetOutcomeWords& words)
{
    if (!result.completed())
        return fleetFailureText(result);
    QString text = completedText(request, result, words);
    if (!result.protocol.isEmpty())
        text += words.protocolSaved;
    else if (!result.protocolFailure.isEmpty())
        text += filled(words.protocolNotSaved, result.protocolFailure.text);
    if (!result.recordFailures.isEmpty() && !words.notRecorded.isEmpty()) {
        QStringList said;
        for (const UserMessage& failure : result.recordFailures)
            said.append(failure.text);
        text += words.notRecorded.arg(said.join(QStringLiteral("; ")));
    }
    return text;
}

QString secondsText(qint64 milliseconds, const QString& words, const QLocale& locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);
    return words.arg(numbers.toString(static_cast<double>(milliseconds) / 1000.0, 'f', 1));
}

QList<FleetStationResult> runFleetExchange(const FleetRequest& request, const QList<FleetStation>& stations,
                                           FleetObserver& observer, const std::atomic<bool>* stop)
{
    QList<FleetStationResult> results(stations.size());
    std::mutex protocols;
    std::vector<std::unique_ptr<QThread>> threads;
    threads.reserve(static_cast<std::size_t>(stations.size()));
    for (int i = 0; i < stations.size(); ++i) {
        // Each thread writes only its own result; the list is not resized while they run.
        FleetStationResult& result = results[i];
        const FleetStation& station = stations[i];
        threads.emplace_back(QThread::create([&request, &station, &observer, &result, &protocols, stop, i] {
            QElapsedTimer clock;
            clock.start();
            StationObserver stationObserver(observer, i);
            result.port = station.port;
            result.serialNumber = station.serialNumber;
            StationRun run(request, station, stationObserver, stop, protocols, result);
            switch (request.operation) {
            case FleetOperation::Write:
                run.write();
                break;
            case FleetOperation::Read:
                run.readPlan();
                break;
            case FleetOperation::Audit:
                run.audit();
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
