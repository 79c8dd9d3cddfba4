#include "station_fleet.h"

#include "cli_support.h"
#include "interrupt_stop.h"
#include "station_progress.h"
#include "station_records.h"

#include <QFileInfo>

#include <algorithm>
#include <mutex>

namespace yalmera::cli {

namespace {

// The own texts of the commands for several stations (translations/yalmera-cli_ru.ts).
class StationFleet
{
    Q_DECLARE_TR_FUNCTIONS(StationFleet)
};

// "%L1" in the Russian words: the number as the user's language writes it.
QString secondsText(qint64 milliseconds)
{
    return yalmera::secondsText(milliseconds, StationFleet::tr("%1 s"));
}

using OutcomeOf = std::function<StationOutcome(const FleetStationResult&)>;

// One line per station on stderr. On a terminal that takes the escape sequences the whole table
// is redrawn in place (cursor up, erase line) at every change; elsewhere each step's start and
// each station's end is a line.
class FleetProgress final : public FleetObserver
{
public:
    FleetProgress(const QList<FleetStation>& stations, OutcomeOf outcome)
        : m_outcome(std::move(outcome)), m_inPlace(takesEscapeSequences(StandardStream::Err))
    {
        for (const FleetStation& station : stations) {
            m_rows.append({station.port, {}, {}, 0, {}});
            m_width = std::max(m_width, station.port.size());
        }
        for (const FleetStep step : {FleetStep::Writing, FleetStep::Verifying, FleetStep::Reading})
            m_stepWidth = std::max(m_stepWidth, stepText(step).size());
    }
    void stationStep(int station, FleetStep step) override
    {
        const std::lock_guard lock(m_mutex);
        Row& row = m_rows[station];
        row.step = stepText(step);
        row.gauge = 0;
        if (m_inPlace)
            draw();
        else if (step != FleetStep::Ended)
            line(row.port, row.step);
    }
    void stationPhase(int station, ExchangePhase phase) override
    {
        const std::lock_guard lock(m_mutex);
        m_rows[station].status = statusText(phase).toString();
        if (m_inPlace)
            draw();
    }
    void stationGauge(int station, int value) override
    {
        const std::lock_guard lock(m_mutex);
        Row& row = m_rows[station];
        if (row.gauge == value)
            return;
        row.gauge = value;
        if (m_inPlace)
            draw();
    }
    void stationEnded(int station, const FleetStationResult& result) override
    {
        const std::lock_guard lock(m_mutex);
        Row& row = m_rows[station];
        row.end = QStringLiteral("%1 (%2)").arg(m_outcome(result).text, secondsText(result.milliseconds));
        if (m_inPlace)
            draw();
        else
            line(row.port, row.end);
    }

private:
    struct Row
    {
        QString port;
        QString step;
        QString status;
        int gauge = 0;
        QString end;
    };

    void line(const QString& port, const QString& text)
    {
        writeText(StandardStream::Err, terminalSafe(QStringLiteral("%1: %2\n").arg(port, text)));
    }

    void draw()
    {
        constexpr int Width = 30;
        QString text;
        if (m_drawn)
            text += QStringLiteral("\x1b[%1A").arg(m_rows.size());
        for (const Row& row : m_rows) {
            text += QStringLiteral("\r\x1b[2K") + terminalSafe(row.port.leftJustified(m_width)) + u' ';
            if (!row.end.isEmpty()) {
                text += terminalSafe(row.end) + u'\n';
                continue;
            }
            const int filled = (row.gauge * Width + 50) / 100;
            text += QStringLiteral("%1 [%2%3] %4% %5\n")
                        .arg(row.step.leftJustified(m_stepWidth), QString(filled, u'#'),
                             QString(Width - filled, u'.'))
                        .arg(row.gauge, 3)
                        .arg(row.status);
        }
        writeText(StandardStream::Err, text);
        m_drawn = true;
    }

    OutcomeOf m_outcome;
    bool m_inPlace;
    std::mutex m_mutex;
    QList<Row> m_rows;
    qsizetype m_width = 0;
    qsizetype m_stepWidth = 0; // the longest step's, so that the gauges line up in either language
    bool m_drawn = false;
};

// One station's progress: a line per step, as the station-link window's gauge and status field.
class StepProgress final : public FleetObserver
{
public:
    explicit StepProgress(SayStep sayStep) : m_sayStep(std::move(sayStep)) {}
    void stationStep(int, FleetStep step) override
    {
        if (step != FleetStep::Ended)
            m_line = makeTerminalProgress(stepText(step));
    }
    void stationPhase(int, ExchangePhase phase) override
    {
        if (m_line)
            m_line->phaseChanged(phase);
    }
    void stationGauge(int, int value) override
    {
        if (m_line)
            m_line->gaugeChanged(value);
    }
    void stationLatency(int, const LatencyNotice& notice) override
    {
        if (m_line)
            m_line->latencyNoticed(notice);
    }
    void stationExchangeEnded(int, FleetStep) override
    {
        if (m_line)
            endTerminalProgress(*m_line);
    }
    void stationRecorded(int, FleetStep step, const FleetStationResult& result) override
    {
        m_sayStep(step, result);
    }
    void stationEnded(int, const FleetStationResult&) override {}

private:
    SayStep m_sayStep;
    std::unique_ptr<ExchangeObserver> m_line;
};

constexpr int FleetEndCount = static_cast<int>(FleetEnd::Done) + 1;

// The place of an exit code in FleetEnd's order, 0 the worst: every code no station ends with
// otherwise is a signal's.
int exitRank(int code)
{
    for (int end = 1; end < FleetEndCount; ++end) {
        if (exitCodeOf(static_cast<FleetEnd>(end)) == code)
            return end;
    }
    return 0;
}

} // namespace

int exitCodeOf(FleetEnd end, int interruptedExit)
{
    switch (end) {
    case FleetEnd::Stopped:
        return interruptedExit;
    case FleetEnd::LinkFailed:
        return ExitLink;
    case FleetEnd::NotSaved:
        return ExitUsage;
    case FleetEnd::Refused:
        return ExitRefused;
    case FleetEnd::NotRecorded:
        return ExitJournal;
    case FleetEnd::Done:
        break;
    }
    return ExitSuccess;
}

QList<FleetStation> fleetStations(const QStringList& portOptions)
{
    QList<FleetStation> stations;
    for (const QString& option : portOptions) {
        const qsizetype equals = option.indexOf(u'=');
        stations.append({equals < 0 ? option : option.left(equals),
                         equals < 0 ? QString() : option.mid(equals + 1), nullptr});
    }
    return stations;
}

QString fleetRefusal(const QList<FleetStation>& stations)
{
    if (stations.isEmpty() || std::any_of(stations.cbegin(), stations.cend(),
                                          [](const FleetStation& s) { return s.port.isEmpty(); }))
        return StationFleet::tr("no port given (--port PORT)");
    for (qsizetype i = 0; i < stations.size(); ++i) {
        for (qsizetype j = i + 1; j < stations.size(); ++j) {
            if (stations[i].port == stations[j].port)
                return StationFleet::tr("port %1 is given twice; each station needs its own")
                    .arg(stations[i].port);
        }
    }
    return {};
}

QStringList fleetTracePaths(const QString& tracePath, const QList<FleetStation>& stations)
{
    if (tracePath.isEmpty())
        return {};
    if (stations.size() == 1)
        return {tracePath};
    const QFileInfo trace(tracePath);
    const QString suffix = trace.suffix().isEmpty() ? QString() : u'.' + trace.suffix();
    const QString stem = tracePath.left(tracePath.size() - suffix.size());
    QStringList paths;
    for (const FleetStation& station : stations)
        paths.append(QStringLiteral("%1-%2%3").arg(stem, QFileInfo(station.port).fileName(), suffix));
    return paths;
}

StationOutcome stationOutcome(const FleetRequest& request, const FleetStationResult& result,
                              const FleetOutcomeWords& words, int interruptedExit)
{
    return {fleetOutcomeText(request, result, words), exitCodeOf(fleetEnd(result), interruptedExit)};
}

FleetRun
runStationFleet(FleetRequest request, QList<FleetStation> stations, StationRecords& records,
                const FleetOutcomeWords& words, const InterruptStop& interrupt,
                const std::function<void(const FleetStationResult&, const StationOutcome&)>& sayStation)
{
    request.journalPath = records.journalPath();
    // The progress lines are drawn on stderr meanwhile: no word of a wait among them.
    request.journalWait = records.journalWait(interrupt, false);
    for (qsizetype i = 0; i < stations.size(); ++i)
        stations[i].trace = records.trace(i);
    const OutcomeOf outcomeOf = [&](const FleetStationResult& result) {
        return stationOutcome(request, result, words, interrupt.exitCode());
    };
    FleetProgress progress(stations, outcomeOf);
    FleetRun run;
    run.results = runFleetExchange(request, stations, progress, interrupt.flag());
    for (const FleetStationResult& result : std::as_const(run.results)) {
        run.outcomes.append(outcomeOf(result));
        for (const UserMessage& failure : result.recordFailures)
            records.failed(QStringLiteral("%1: %2").arg(result.port, failure.text));
        if (sayStation)
            sayStation(result, run.outcomes.last());
    }
    return run;
}

FleetStationResult runOneStation(FleetRequest request, FleetStation station, StationRecords& records,
                                 const InterruptStop& interrupt, const SayStep& sayStep)
{
    request.journalPath = records.journalPath();
    request.journalWait = records.journalWait(interrupt);
    station.trace = records.trace();
    StepProgress progress(sayStep);
    return runFleetExchange(request, {station}, progress, interrupt.flag()).constFirst();
}

int fleetExitCode(StationRecords& records, const InterruptStop& interrupt,
                  const QList<StationOutcome>& outcomes)
{
    return records.exitCode(interrupt.interrupted() ? interrupt.exitCode() : worstExitCode(outcomes));
}

void printFleetSummary(const QList<FleetStationResult>& results, const QList<StationOutcome>& outcomes)
{
    QList<QStringList> rows{{StationFleet::tr("Port"), StationFleet::tr("Serial"),
                             StationFleet::tr("Outcome"), StationFleet::tr("Time")}};
    for (qsizetype i = 0; i < results.size(); ++i)
        rows.append({results[i].port,
                     results[i].serialNumber.isEmpty() ? QStringLiteral("-") : results[i].serialNumber,
                     outcomes[i].text, secondsText(results[i].milliseconds)});
    QList<qsizetype> widths(4, 0);
    for (const QStringList& row : rows) {
        for (int c = 0; c < 3; ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    for (const QStringList& row : rows)
        printOut(QStringLiteral("%1  %2  %3  %4")
                     .arg(row[0].leftJustified(widths[0]), row[1].leftJustified(widths[1]),
                          row[2].leftJustified(widths[2]), row[3]));
}

int worstExitCode(const QList<StationOutcome>& outcomes)
{
    int worst = ExitSuccess;
    for (const StationOutcome& outcome : outcomes) {
        if (exitRank(outcome.exitCode) < exitRank(worst))
            worst = outcome.exitCode;
    }
    return worst;
}

QString fleetExitOrder()
{
    QStringList codes;
    for (int end = 1; end < FleetEndCount; ++end)
        codes.append(QString::number(exitCodeOf(static_cast<FleetEnd>(end))));
    return StationFleet::tr("a stop, then %1").arg(codes.join(QStringLiteral(", ")));
}

} // namespace yalmera::cli
