#pragma once

#include "cli_support.h"
#include "session/fleet_exchange.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace yalmera::cli {

// The stations of "--port PORT" or "--port PORT=SERIAL" options, in the order given.
QList<FleetStation> fleetStations(const QStringList& portOptions);
// Why the stations cannot be served (no port, an empty one, a port given twice); empty when they
// can.
QString fleetRefusal(const QList<FleetStation>& stations);

// Each station's trace when --trace FILE is given with several ports: FILE with the port's name
// (the last part of its path) before the extension, "trace.txt" giving "trace-ttyUSB0.txt".
QStringList fleetTracePaths(const QString& tracePath, const QList<FleetStation>& stations);

// How a station of the fleet ended, in words, and its exit code.
struct StationOutcome
{
    QString text;
    int exitCode = 0;
};
// The station's outcome in the command's words (fleetOutcomeText) and its exit code (exitCodeOf).
StationOutcome stationOutcome(const FleetRequest& request, const FleetStationResult& result,
                              const FleetOutcomeWords& words, int interruptedExit);
// The exit code of a station that ended so: a stop's is interruptedExit, the signal's.
int exitCodeOf(FleetEnd end, int interruptedExit = ExitInterrupted);

class InterruptStop;
class StationRecords;

// A fleet command's run: the exchanges of every station with their progress on stderr (a table of
// one line per station redrawn in place on a terminal; in a log or a pipe one plain line per
// station as each step begins and ends), each station's journal lines, traces and stop taken
// from records and interrupt. Then, station by station, what its records could not keep is said
// on stderr ("PORT: text"), and sayStation says the rest.
struct FleetRun
{
    QList<FleetStationResult> results;
    QList<StationOutcome> outcomes;
};
FleetRun
runStationFleet(FleetRequest request, QList<FleetStation> stations, StationRecords& records,
                const FleetOutcomeWords& words, const InterruptStop& interrupt,
                const std::function<void(const FleetStationResult&, const StationOutcome&)>& sayStation = {});
// One port: the station served by the same runner as a fleet of one, but with the one-station
// progress line per step on stderr (ended before the step's records are kept, so that a word of a
// wait for the journal stands on a line of its own). sayStep is called as each step's records are
// kept, with the result so far.
using SayStep = std::function<void(FleetStep step, const FleetStationResult& result)>;
FleetStationResult runOneStation(FleetRequest request, FleetStation station, StationRecords& records,
                                 const InterruptStop& interrupt, const SayStep& sayStep);

// A fleet command's exit code: a signal's when one came (also while the journal was held, which
// ended no exchange), otherwise the worst station's.
int fleetExitCode(StationRecords& records, const InterruptStop& interrupt,
                  const QList<StationOutcome>& outcomes);

// The summary on stdout, one line per station: port, serial number, outcome, time.
void printFleetSummary(const QList<FleetStationResult>& results, const QList<StationOutcome>& outcomes);

// The worst of the stations' exit codes in FleetEnd's order: a stop by a signal (130, 143, 129),
// then 3 (link failure, or a write that did not verify), 2 (a plan read but not saved), 1
// (refused, or an audit that differs), 4 (a record not written), 0.
int worstExitCode(const QList<StationOutcome>& outcomes);
// That order as the help texts give it: "a stop, then 3, 2, 1, 4, 0".
QString fleetExitOrder();

} // namespace yalmera::cli
