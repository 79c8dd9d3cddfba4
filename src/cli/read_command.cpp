#include "cli_support.h"

#include "files/plan_file.h"
#include "files/save_target.h"
#include "interrupt_stop.h"
#include "link/read_exchange.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"
#include "station_fleet.h"
#include "station_progress.h"
#include "station_records.h"

#include <QDir>
#include <QFileInfo>

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class ReadCommand
{
    Q_DECLARE_TR_FUNCTIONS(ReadCommand)
};

QString helpText()
{
    const QString text = ReadCommand::tr(
        "Usage: yalmera-cli read --port PORT -o PLAN.ini [--band 144-174|30-60] [--trace FILE]\n"
        "                        [--journal FILE]\n"
        "       yalmera-cli read --port PORT --port PORT ... -o DIR [--band ...] [--trace FILE]\n"
        "                        [--journal FILE]\n"
        "\n"
        "Reads the plan a station holds, as \"Чтение данных \" does, and saves it as a channel-plan\n"
        "file whose \"Тип\" and \"ТипВУ\" are the station's band code and module type. The\n"
        "frequencies are decoded with the band the station's code names (0: 144-174 MHz, 1 or 2:\n"
        "30-60 MHz); only a station whose code names no band is decoded with the band given\n"
        "(the band selected in the program), 144-174 MHz unless told otherwise. Prints the band\n"
        "found. Nothing is written when the read fails. The output file is checked before the\n"
        "read begins; a file it replaces is kept as PLAN.ini.bak, or when that is taken as\n"
        "PLAN.ini.2.bak, .3.bak, ... (a .bak is never replaced). Every read adds a line to the\n"
        "journal, and a plan read is also kept in the backups folder beside it.\n"
        "Ctrl-C (or SIGTERM, SIGHUP) stops the read at its next byte.\n"
        "With several ports the stations are read at once, each plan saved in the folder DIR\n"
        "(made when missing) as SERIAL.ini, the station's serial number, or when that is taken\n"
        "as SERIAL_2.ini, _3, ... (nothing is replaced); one line per station shows the progress\n"
        "and a summary line per station (port, serial, outcome, time) follows.\n"
        "\n"
        "Options:\n"
        "  --port PORT          COM1, COM2 (the first and second serial port), a port name such\n"
        "                       as ttyUSB0 (see 'yalmera-cli ports'), or a device path such as\n"
        "                       /dev/pts/3\n"
        "  -o, --output FILE    the plan file to write (several ports: the folder)\n"
        "  --band BAND          144-174 (default) or 30-60, for a station whose code names\n"
        "                       no band\n"
        "  --trace FILE         record every byte sent and received in FILE (replaced); with\n"
        "                       several ports each station's in FILE with the port's name before\n"
        "                       the extension (trace.txt: trace-ttyUSB0.txt)\n"
        "  --journal FILE       the journal to add to (default: journal.csv in the user's\n"
        "                       application-data folder, or $YALMERA_JOURNAL)\n"
        "  -h, --help           this text\n"
        "\n"
        "Exit codes: 0 the plan was saved; 1 the station's data were refused (none or more than\n"
        "99 channels, a code in no list); 2 usage or file error; 3 station link failure (port,\n"
        "silence, a station still sending when the read begins); 4 saved, but the journal,\n"
        "backup or trace could not be written; 130 stopped by Ctrl-C (143 by SIGTERM, 129 by\n"
        "SIGHUP). With several ports the worst station's: %1.\n"
        "Messages on stderr.");
    return text.arg(fleetExitOrder());
}

// What the command line asks for.
struct ReadOptions
{
    QList<FleetStation> stations;
    QString output;      // one port: the plan file; several: the folder
    QString journalPath; // empty: the default
    QString tracePath;   // empty: none
};

// Several ports: every station read at once into the folder.
int readFleet(const CommandLine& commandLine, const AppState& state, const ReadOptions& options)
{
    if (const QString refusal = files::folderRefusal(options.output); !refusal.isEmpty())
        return commandLine.fileError(options.output, refusal);
    StationRecords records(commandLine);
    if (!records.prepare(options.journalPath, fleetTracePaths(options.tracePath, options.stations), {}))
        return ExitUsage;
    FleetRequest request;
    request.operation = FleetOperation::Read;
    request.read = readRequest(state, {});
    request.outputFolder = options.output;
    FleetOutcomeWords words;
    words.saved = ReadCommand::tr("saved as %1");
    words.notSaved = ReadCommand::tr("read, not saved: %1");
    const InterruptStop interrupt;
    const FleetRun run = runStationFleet(request, options.stations, records, words, interrupt);
    printFleetSummary(run.results, run.outcomes);
    return fleetExitCode(records, interrupt, run.outcomes);
}

// What was read and saved, on stdout: the band as the state had it selected decodes a station
// whose code names none.
void sayPlanRead(AppState state, const ReadBack& readBack, const QString& outputPath)
{
    const bool bandChosen = applyReadBack(state, readBack);
    printOut(ReadCommand::tr("Station %1: %2 (%3 MHz, type code %4%5), %n channel(s) saved to %6", nullptr,
                             state.table().channelCount())
                 .arg(readBack.serialNumber, state.stationType().modelCaption(),
                      bandText(state.stationType().band))
                 .arg(state.stationType().typeCode)
                 .arg(bandChosen ? QString() : ReadCommand::tr(", which names no band: decoded as selected"))
                 .arg(outputPath));
}

// One port: the station's plan into the file, the file it replaces kept as .bak.
int readOne(const CommandLine& commandLine, const AppState& state, const ReadOptions& options)
{
    const QString& outputPath = options.output;
    // Checked first, so that 15 s of reading are not lost to a name that cannot be made.
    if (const QString refusal = files::saveRefusal(outputPath, files::Previous::KeptAsBak);
        !refusal.isEmpty())
        return commandLine.fileError(outputPath, refusal);
    StationRecords records(commandLine);
    if (!records.prepare(options.journalPath, options.tracePath, {{QStringLiteral("-o"), outputPath}}))
        return ExitUsage;
    FleetRequest request;
    request.operation = FleetOperation::Read;
    request.read = readRequest(state, {});
    request.outputFile = outputPath;
    const InterruptStop interrupt;
    const FleetStationResult result =
        runOneStation(request, options.stations.first(), records, interrupt,
                      [&](FleetStep, const FleetStationResult& read) {
                          // Whatever became of the output, what the station held is kept.
                          records.keepFailures(read.recordFailures);
                          if (!read.completed())
                              linkFailureExit(commandLine.name(), read.outcome, read.message, read.port,
                                              interrupt.exitCode());
                          else if (!read.saveFailure.isEmpty())
                              commandLine.fileError(outputPath, read.saveFailure.text);
                          else
                              sayPlanRead(state, *read.readBack, outputPath);
                      });
    return fleetExitCode(records, interrupt,
                         {{QString(), exitCodeOf(fleetEnd(result), interrupt.exitCode())}});
}

} // namespace

int runRead(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("read"), helpText());
    const QCommandLineOption port = commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    const QCommandLineOption band = commandLine.addOption({QStringLiteral("band")}, QStringLiteral("BAND"));
    const QCommandLineOption trace = commandLine.addOption({QStringLiteral("trace")}, QStringLiteral("FILE"));
    const QCommandLineOption journal =
        commandLine.addOption({QStringLiteral("journal")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments))
        return *exit;
    const ReadOptions options{fleetStations(commandLine.values(port)), commandLine.value(output),
                              commandLine.value(journal), commandLine.value(trace)};
    if (const QString refusal = fleetRefusal(options.stations); !refusal.isEmpty())
        return commandLine.usageError(refusal);
    if (options.output.isEmpty())
        return commandLine.usageError(ReadCommand::tr("no output file given (-o PLAN.ini)"));

    AppState state;
    const QString givenBand = commandLine.isSet(band) ? commandLine.value(band) : QStringLiteral("144-174");
    const auto chosen = bandFromText(givenBand);
    if (!chosen)
        return commandLine.usageError(ReadCommand::tr("unknown band '%1' (144-174 or 30-60)").arg(givenBand));
    state.selectBand(*chosen);
    return options.stations.size() > 1 ? readFleet(commandLine, state, options)
                                       : readOne(commandLine, state, options);
}

} // namespace yalmera::cli
