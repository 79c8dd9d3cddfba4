#include "cli_support.h"

#include "interrupt_stop.h"
#include "session/app_state.h"
#include "session/fleet_exchange.h"
#include "session/station_exchanges.h"
#include "station_fleet.h"
#include "station_records.h"

#include <QFileInfo>

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class VerifyCommand
{
    Q_DECLARE_TR_FUNCTIONS(VerifyCommand)
};

QString helpText()
{
    const QString text = VerifyCommand::tr(
        "Usage: yalmera-cli verify PLAN.ini --port PORT [--port PORT ...] [--trace FILE]\n"
        "                          [--journal FILE]\n"
        "\n"
        "Reads each station, as \"Чтение данных \" does, and compares what it holds with the plan\n"
        "file, field by field, without writing anything: the plan is read and checked as\n"
        "\"Контроль\" does, and both sides are compared as the station's bytes say them, so a value\n"
        "written another way in the file (145000 for 145000,000) is no difference. What the\n"
        "station keeps no byte for (the serial number, the power values \"P_1\"..\"P_4\", lines that\n"
        "are no key line) is not compared, and the output says so once. Every difference is\n"
        "printed in words on stdout: a settings key, or a channel and the column's caption, with\n"
        "the plan's value and the station's. Several ports are read at once; a summary line per\n"
        "station follows. Each read adds a line \"сверка\" to the journal (\"не совпадает\" and the\n"
        "differences when the station differs) and keeps what the station holds in the backups\n"
        "folder beside it. Ctrl-C (or SIGTERM, SIGHUP) stops every read at its next byte.\n"
        "\n"
        "Options:\n"
        "  --port PORT       COM1, COM2, a port name such as ttyUSB0 (see 'yalmera-cli ports') or a\n"
        "                    device path; repeated for several stations\n"
        "  --trace FILE      record every byte sent and received in FILE (replaced); with several\n"
        "                    ports each station's in FILE with the port's name before the\n"
        "                    extension (trace.txt: trace-ttyUSB0.txt)\n"
        "  --journal FILE    the journal to add to (default: journal.csv in the user's\n"
        "                    application-data folder, or $YALMERA_JOURNAL)\n"
        "  -h, --help        this text\n"
        "\n"
        "Exit codes: 0 every station holds the plan; 1 a station differs, or the check refused the\n"
        "plan; 2 usage or file error (nothing read); 3 station link failure; 4 compared, but the\n"
        "journal, backup or trace could not be written; 130 stopped by Ctrl-C (143 by SIGTERM,\n"
        "129 by SIGHUP). With several ports the worst station's: %1.\n"
        "Messages on stderr.");
    return text.arg(fleetExitOrder());
}

// What a station holds against the plan: on stdout, its differences in words; the keys no station
// keeps a byte for are said once (notComparedSaid).
void sayComparison(const CommandLine& commandLine, const FleetStationResult& result,
                   const StationOutcome& outcome, bool& notComparedSaid)
{
    if (!result.completed()) {
        commandLine.message(QStringLiteral("%1: %2").arg(result.port, outcome.text));
        return;
    }
    const QString station = QStringLiteral("%1 (%2)").arg(result.port, result.serialNumber);
    if (result.comparison.same()) {
        printOut(VerifyCommand::tr("%1: holds the plan").arg(station));
    } else {
        printOut(VerifyCommand::tr("%1: %n difference(s):", nullptr,
                                   static_cast<int>(result.comparison.differences.size()))
                     .arg(station));
        for (const PlanDifference& difference : result.comparison.differences)
            printOut(QStringLiteral("  ") +
                     differenceLine(difference, VerifyCommand::tr("plan"), VerifyCommand::tr("station")));
    }
    if (!notComparedSaid && !result.comparison.notCompared.isEmpty()) {
        printOut(VerifyCommand::tr("Not compared (the station keeps no byte for them): %1")
                     .arg(result.comparison.notCompared.join(QStringLiteral("; "))));
        notComparedSaid = true;
    }
}

} // namespace

int runVerify(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("verify"), helpText());
    const QCommandLineOption port = commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
    const QCommandLineOption trace = commandLine.addOption({QStringLiteral("trace")}, QStringLiteral("FILE"));
    const QCommandLineOption journal =
        commandLine.addOption({QStringLiteral("journal")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QList<FleetStation> stations = fleetStations(commandLine.values(port));
    if (const QString refusal = fleetRefusal(stations); !refusal.isEmpty())
        return commandLine.usageError(refusal);
    const QString planPath = commandLine.positional().first();

    AppState state;
    if (const auto exit = loadCheckedPlan(commandLine, planPath, state))
        return *exit;
    StationRecords records(commandLine);
    if (!records.prepare(commandLine.value(journal), fleetTracePaths(commandLine.value(trace), stations),
                         {{CommandLine::planFileWords(), planPath}}))
        return ExitUsage;

    FleetRequest request;
    request.operation = FleetOperation::Audit;
    request.read = readRequest(state, {});
    request.planFile = QFileInfo(planPath).absoluteFilePath();
    request.plan = {state.settings(), state.table(), state.stationType().typeCode,
                    moduleCode(state.moduleType())};
    request.checkedImage = state.image();
    request.band = state.stationType();
    FleetOutcomeWords words;
    words.same = VerifyCommand::tr("holds the plan");
    words.differs = VerifyCommand::tr("differs (%1)");
    const InterruptStop interrupt;
    bool notComparedSaid = false;
    const FleetRun run =
        runStationFleet(request, stations, records, words, interrupt,
                        [&](const FleetStationResult& result, const StationOutcome& outcome) {
                            sayComparison(commandLine, result, outcome, notComparedSaid);
                        });
    if (run.results.size() > 1)
        printFleetSummary(run.results, run.outcomes);
    return fleetExitCode(records, interrupt, run.outcomes);
}

} // namespace yalmera::cli
