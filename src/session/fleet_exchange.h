#pragma once

#include "image/plan_comparison.h"
#include "image/read_back.h"
#include "link/exchange_report.h"
#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "model/station_type.h"
#include "model/user_message.h"
#include "session/station_exchanges.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace yalmera {

class ByteTrace;

// Several stations served at once, one exchange per port, each on a thread of its own with its
// own port lock, journal line and trace: a depot writing one plan into a fleet, reading a fleet
// into a folder, or checking a fleet against the approved plan. A station that fails never stops
// the others; a set stop flag ends every exchange at its next byte. Each station's records
// (journal lines, backup, saved plan, protocol) are kept on its own thread as it ends, so what
// one did is journalled even when another is still running, and no window's thread ever waits
// for a file. Used alike by the command line and the window; what they say of a station's end
// is worded here once (fleetOutcomeText, fleetEnd).

struct FleetStation
{
    QString port;
    QString serialNumber;             // as the user gave it; empty: none
    std::shared_ptr<ByteTrace> trace; // the station's own trace; none when null
};

enum class FleetOperation {
    Write, // the checked plan into every station; with verify, read back and compared
    Read,  // every station's plan into outputFolder, named by the station's serial number (one
           // station: into outputFile)
    Audit, // every station read and compared with the plan, nothing written
};

// A written station's protocol as saved: the file, or why it was not.
struct FleetProtocol
{
    QString path;
    UserMessage error;
};
// Makes and saves the protocol of a station that holds the plan, named by its serial number. Called
// on the station's thread, one station at a time.
using SaveProtocol = std::function<FleetProtocol(const QString& serialNumber)>;

// What every station of a fleet exchange gets, copied when it starts.
struct FleetRequest
{
    FleetOperation operation = FleetOperation::Write;
    WriteRequest write;  // Write: the checked plan's stream and model (port and trace per station)
    bool verify = false; // Write: read back and compare with what was written
    ReadRequest read;    // Read, Audit and a write's verify: the model
    QString journalPath;
    // How each station's journal lines wait for another program holding the journal; the stop
    // flag of the run ends the wait too.
    JournalWait journalWait;
    QString planFile;     // Write, Audit: the plan file, for the journal
    QString outputFolder; // Read: where each station's plan is saved
    // Read, one station: the plan file it is saved as instead, a file it replaces kept as .bak; its
    // journal line names it whatever becomes of the save.
    QString outputFile;
    // Audit: the plan compared with, the image the data check built from it, and its band.
    ComparedPlan plan;
    DeviceImage checkedImage;
    StationType band;
    // Write: the protocol of every station that holds the plan; none when empty.
    SaveProtocol saveProtocol;
};

// Where a station of the fleet stands: which exchange runs, the window's phase and gauge.
enum class FleetStep { Writing, Verifying, Reading, Ended };

struct FleetStationResult
{
    QString port;
    // The given serial number, or (without one) the one the station reported when it was read.
    QString serialNumber;
    // The first exchange that did not complete (Completed when all did) and why.
    ExchangeOutcome outcome = ExchangeOutcome::Completed;
    UserMessage message;
    FleetStep failedStep = FleetStep::Ended; // the exchange that did not complete
    bool lastByteUnanswered = false;         // as WriteResult
    int bytesAcknowledged = 0;               // Write: replies received
    // Write with verify: the station holds something else than was written (writtenDifferences).
    QStringList writtenDifferences;
    // Audit: the plan against the station.
    PlanComparison comparison;
    std::optional<ReadBack> readBack;  // Read, a write's verify: what the station holds
    QString savedPlan;                 // Read: the plan file saved
    UserMessage saveFailure;           // Read: why it could not be saved
    ExchangeRecord written;            // Write: the write's journal line
    QString protocol;                  // Write: the protocol saved
    UserMessage protocolFailure;       // Write: why the protocol could not be saved
    QList<UserMessage> recordFailures; // journal lines and backups that could not be written
    qint64 milliseconds = 0;           // from the start to the end of the station's exchanges

    bool completed() const { return outcome == ExchangeOutcome::Completed; }
    // Completed, and the station holds what it should (write verified, audit the same) and its
    // plan was saved (read).
    bool holdsPlan() const;
};

// How a station of the fleet ended, worst first: the command line's exit code is the worst
// station's in this order, and the window sums a run up in it.
enum class FleetEnd {
    Stopped,     // stopped on request (Ctrl-C, a signal, "Стоп")
    LinkFailed,  // the link failed, or the station holds something else than was written
    NotSaved,    // read, but its plan could not be saved
    Refused,     // the exchange was refused, or the station differs from the plan
    NotRecorded, // done, but a journal line, backup or protocol was not written
    Done,
};
FleetEnd fleetEnd(const FleetStationResult& result);
// How an exchange that ended so ends its station, when nothing after it went wrong.
FleetEnd exchangeEnd(ExchangeOutcome outcome);

// Why a station's exchange did not complete, in words: the exchange's message after the plain
// words for a station that fell silent, and for a port refused for want of rights the way in.
QString fleetFailureText(const FleetStationResult& result);

// The words of a station's outcome in the language of the one who shows it: the command line's
// translated texts, the window's own.
struct FleetOutcomeWords
{
    QString written;          // Write
    QString verified;         // Write with verify
    QString holdsOther;       // Write with verify: the station holds something else
    QString saved;            // Read: %1 the plan file
    QString notSaved;         // Read: %1 why it was not saved
    QString same;             // Audit: the station holds the plan
    QString differs;          // Audit: %1 the number of differences
    QString protocolSaved;    // after a write's words; may be empty
    QString protocolNotSaved; // %1 why, when it has a place for it
    QString notRecorded;      // %1 the records not written; empty: not said
};
// How the station ended, in one line: fleetFailureText when its exchange did not complete.
QString fleetOutcomeText(const FleetRequest& request, const FleetStationResult& result,
                         const FleetOutcomeWords& words);

// A station's time as the tables of stations give it: seconds to a tenth, in words that hold %1 (or
// %L1) for the number, its decimal sign the locale's ("2,8 с", "2.8 s").
QString secondsText(qint64 milliseconds, const QString& words, const QLocale& locale = QLocale());

// What a fleet exchange reports as it runs. Each station's calls come from that station's own
// thread, in order; different stations' calls may come at the same time.
class FleetObserver
{
public:
    virtual ~FleetObserver() = default;
    virtual void stationStep(int station, FleetStep step) = 0;
    virtual void stationPhase(int station, ExchangePhase phase) = 0;
    virtual void stationGauge(int station, int value) = 0;
    virtual void stationEnded(int station, const FleetStationResult& result) = 0;
    // A step's exchange has ended; its records are kept next. For a progress line to end first.
    virtual void stationExchangeEnded(int /*station*/, FleetStep /*step*/) {}
    // A step's records are kept (result.recordFailures says what was not): the result so far.
    virtual void stationRecorded(int /*station*/, FleetStep /*step*/, const FleetStationResult& /*result*/) {}
    // The station's replies come late enough to lengthen its write: said once, early.
    virtual void stationLatency(int /*station*/, const LatencyNotice& /*notice*/) {}
};

// Runs the exchanges of every station in parallel and returns, in the stations' order, once all
// have ended. A write's verify does not begin after a stop: the station ends Cancelled at that
// step, with no line for a read that never began.
QList<FleetStationResult> runFleetExchange(const FleetRequest& request, const QList<FleetStation>& stations,
                                           FleetObserver& observer, const std::atomic<bool>* stop = nullptr);

} // namespace yalmera
