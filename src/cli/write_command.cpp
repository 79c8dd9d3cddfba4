#include "cli_support.h"

#include "files/save_target.h"
#include "interrupt_stop.h"
#include "link/write_exchange.h"
#include "report/protocol_document.h"
#include "report/protocol_file.h"
#include "session/app_state.h"
#include "session/exchange_journal.h"
#include "session/station_exchanges.h"
#include "station_fleet.h"
#include "station_progress.h"
#include "station_records.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>

namespace yalmera::cli {

namespace {

// In the context of WriteCommand's texts (translations/yalmera-cli_ru.ts).
QString helpText()
{
    const QString text = QCoreApplication::translate(
        "WriteCommand",
        "Usage: yalmera-cli write PLAN.ini --port PORT [--verify] [--serial S [--protocol DIR]]\n"
        "                         [--trace FILE] [--journal FILE]\n"
        "       yalmera-cli write PLAN.ini --port PORT[=S] --port PORT[=S] ... [--verify]\n"
        "                         [--protocol DIR] [--trace FILE] [--journal FILE]\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "and, when the plan passes, writes its image into the station as \"Запись данных \" does,\n"
        "byte by byte, each acknowledged by the station. Progress is shown on stderr. The write\n"
        "and the read of --verify each add a line to the journal; the plan read back is kept in\n"
        "the backups folder beside it. Ctrl-C (or SIGTERM, SIGHUP) stops the write at its next\n"
        "byte. A station gives up a broken write after a second of silence: until then the\n"
        "next write or read on the port waits (up to 1.25 s after the broken write's last byte).\n"
        "\n"
        "Several --port options write the same plan into every station at once, each on its\n"
        "own port with its own journal lines, trace and protocol; a station that fails stops\n"
        "none of the others, and Ctrl-C stops all of them at their next byte. Progress is a line\n"
        "per station (redrawn in place on a terminal, a line per step otherwise); at the end a\n"
        "summary line per station on stdout: port, serial number, outcome, time. PORT=S gives\n"
        "the station's serial number; without it the serial the station reports to --verify\n"
        "names its protocol.\n"
        "\n"
        "Options:\n"
        "  --port PORT       COM1, COM2 (the first and second serial port), a port name such as\n"
        "                    ttyUSB0 (see 'yalmera-cli ports'), or a device path such as /dev/pts/3;\n"
        "                    PORT=S also gives the station's serial number; repeated for several\n"
        "                    stations\n"
        "  --verify          read the station back afterwards and compare it with what was written\n"
        "  --serial S        the station's serial number, for the journal and the protocol (one\n"
        "                    station only)\n"
        "  --protocol DIR    once written (and verified), save the protocol \"Протокол S.docx\"\n"
        "                    in DIR (made when missing; an earlier protocol gets no overwrite,\n"
        "                    the new one a number); needs the serial number: --serial, PORT=S,\n"
        "                    or with several ports --verify\n"
        "  --trace FILE      record every byte sent and received in FILE (replaced); with several\n"
        "                    ports each station's in FILE with the port's name (the last part of\n"
        "                    its path) before the extension: trace.txt gives trace-ttyUSB0.txt\n"
        "  --journal FILE    the journal to add to (default: journal.csv in the user's\n"
        "                    application-data folder, or $YALMERA_JOURNAL)\n"
        "  -h, --help        this text\n"
        "\n"
        "Exit codes: 0 written (and verified, protocol saved); 1 the check refused the plan; 2\n"
        "usage or file error (nothing sent); 3 station link failure (port, silence, a station\n"
        "still sending when the write begins, a station holding something else after --verify);\n"
        "4 written, but the journal, backup, trace or protocol could not be written; 130 stopped by\n"
        "Ctrl-C (143 by SIGTERM, 129 by SIGHUP).\n"
        "With several ports the worst station's: %1.\n"
        "Messages on stderr.");
    return text.arg(fleetExitOrder());
}

// One write as the command line runs it, in steps named after what they do. A step that ends the
// command returns its exit code.
class WriteCommand
{
    Q_DECLARE_TR_FUNCTIONS(WriteCommand)

public:
    WriteCommand() : m_commandLine(QStringLiteral("write"), helpText()), m_records(m_commandLine) {}

    int run(const QStringList& arguments)
    {
        if (const auto exit = readOptions(arguments))
            return *exit;
        if (const auto exit = loadCheckedPlan(m_commandLine, m_planPath, m_state))
            return *exit;
        if (const auto exit = refuseWhatCannotBeKept())
            return *exit;
        // A signal stops the exchanges at their next byte.
        const InterruptStop interrupt;
        return m_stations.size() > 1 ? writeFleet(interrupt) : writeStation(interrupt);
    }

private:
    std::optional<int> readOptions(const QStringList& arguments)
    {
        const QCommandLineOption port =
            m_commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
        const QCommandLineOption verify = m_commandLine.addOption({QStringLiteral("verify")});
        const QCommandLineOption serial =
            m_commandLine.addOption({QStringLiteral("serial")}, QStringLiteral("S"));
        const QCommandLineOption protocol =
            m_commandLine.addOption({QStringLiteral("protocol")}, QStringLiteral("DIR"));
        const QCommandLineOption trace =
            m_commandLine.addOption({QStringLiteral("trace")}, QStringLiteral("FILE"));
        const QCommandLineOption journal =
            m_commandLine.addOption({QStringLiteral("journal")}, QStringLiteral("FILE"));
        if (const auto exit = m_commandLine.parse(arguments, 1))
            return exit;
        m_stations = fleetStations(m_commandLine.values(port));
        if (const QString refusal = fleetRefusal(m_stations); !refusal.isEmpty())
            return m_commandLine.usageError(refusal);
        m_port = m_stations.first().port;
        m_protocol = m_commandLine.isSet(protocol);
        m_protocolFolder = m_commandLine.value(protocol);
        m_verify = m_commandLine.isSet(verify);
        m_serialNumber = m_commandLine.value(serial);
        if (m_commandLine.isSet(serial) &&
            (m_stations.size() > 1 || !m_stations.first().serialNumber.isEmpty()))
            return m_commandLine.usageError(
                tr("--serial names one station; give each port its own as --port PORT=SERIAL"));
        if (m_stations.size() == 1 && !m_stations.first().serialNumber.isEmpty())
            m_serialNumber = m_stations.first().serialNumber;
        const bool everySerialGiven =
            std::none_of(m_stations.cbegin(), m_stations.cend(),
                         [](const FleetStation& s) { return s.serialNumber.isEmpty(); });
        if (m_protocol && m_stations.size() == 1 && m_serialNumber.isEmpty())
            return m_commandLine.usageError(tr("--protocol needs the serial number (--serial S)"));
        if (m_protocol && m_stations.size() > 1 && !m_verify && !everySerialGiven)
            return m_commandLine.usageError(
                tr("--protocol needs each station's serial number: --verify (as the station reports it) or "
                   "--port PORT=SERIAL"));
        m_planPath = m_commandLine.positional().first();
        m_journalPath = m_commandLine.value(journal);
        m_tracePath = m_commandLine.value(trace);
        return std::nullopt;
    }

    // Whatever cannot be made or kept is known before the station is touched.
    std::optional<int> refuseWhatCannotBeKept()
    {
        if (m_protocol) {
            if (const UserMessage refusal = report::protocolRefusal(m_state, report::ProtocolRequest::Create);
                !refusal.isEmpty())
                return m_commandLine.refusal(refusal.text);
            // Made only once the station is written: a failed write leaves no empty folder behind.
            if (const QString refusal = files::folderRefusal(m_protocolFolder); !refusal.isEmpty())
                return m_commandLine.fileError(m_protocolFolder, refusal);
        }
        if (!m_records.prepare(m_journalPath, fleetTracePaths(m_tracePath, m_stations),
                               {{CommandLine::planFileWords(), m_planPath}}))
            return ExitUsage;
        return std::nullopt;
    }

    // What every station gets: the checked plan, its file for the journal and, with --protocol,
    // the protocol of each that holds the plan.
    FleetRequest fleetRequest() const
    {
        FleetRequest request;
        request.operation = FleetOperation::Write;
        request.write = writeRequest(m_state, {});
        request.verify = m_verify;
        request.read = readRequest(m_state, {});
        request.planFile = QFileInfo(m_planPath).absoluteFilePath();
        if (m_protocol)
            request.saveProtocol = report::stationProtocols(m_state, m_protocolFolder);
        return request;
    }

    // One port: the write, its progress on stderr and each step said as it ends (the write, then
    // the read of --verify), then the protocol.
    int writeStation(const InterruptStop& interrupt)
    {
        FleetStation station = m_stations.first();
        station.serialNumber = m_serialNumber;
        const FleetStationResult result =
            runOneStation(fleetRequest(), station, m_records, interrupt,
                          [this, &interrupt](FleetStep step, const FleetStationResult& soFar) {
                              sayStep(step, soFar, interrupt);
                          });
        m_records.keepFailures(result.recordFailures);
        sayProtocol(result.protocol, result.protocolFailure);
        return fleetExitCode(m_records, interrupt,
                             {{QString(), exitCodeOf(fleetEnd(result), interrupt.exitCode())}});
    }

    void sayStep(FleetStep step, const FleetStationResult& result, const InterruptStop& interrupt)
    {
        m_records.keepFailures(result.recordFailures);
        if (!result.completed()) {
            // The window shows "AK" and the line's own error; here the plain words go first.
            const bool silentWrite = step == FleetStep::Writing && !result.lastByteUnanswered;
            linkFailureExit(m_commandLine.name(), result.outcome,
                            exchangeMessage(result.message, result.outcome, silentWrite), m_port,
                            interrupt.exitCode());
        } else if (step == FleetStep::Writing) {
            printOut(tr("%n channel(s) written, %1 bytes acknowledged", nullptr, m_state.image().channelCount)
                         .arg(result.bytesAcknowledged));
        } else if (!result.writtenDifferences.isEmpty()) {
            m_commandLine.message(tr("the station holds a different plan than was written:"));
            for (const QString& line : result.writtenDifferences)
                printErr(QStringLiteral("  ") + line);
        } else {
            printOut(tr("Verified: station %1 holds the plan written").arg(result.readBack->serialNumber));
        }
    }

    void sayProtocol(const QString& path, const UserMessage& error)
    {
        if (!error.isEmpty())
            m_records.failed(QStringLiteral("%1: %2").arg(m_protocolFolder, error.text));
        else if (!path.isEmpty())
            printOut(tr("Protocol saved to %1").arg(QDir::toNativeSeparators(path)));
    }

    // Several ports: the same plan into every station at once, each verified and given its
    // protocol as one station is; the exit code is the worst station's.
    int writeFleet(const InterruptStop& interrupt)
    {
        FleetOutcomeWords words;
        words.written = tr("written");
        words.verified = tr("written and verified");
        words.holdsOther = tr("written, but holds another plan");
        words.protocolNotSaved = tr(", protocol not saved");
        const FleetRun run = runStationFleet(fleetRequest(), m_stations, m_records, words, interrupt,
                                             [this](const FleetStationResult& result, const StationOutcome&) {
                                                 sayDifferences(result);
                                                 sayProtocol(result.protocol, result.protocolFailure);
                                             });
        printFleetSummary(run.results, run.outcomes);
        return fleetExitCode(m_records, interrupt, run.outcomes);
    }

    void sayDifferences(const FleetStationResult& result) const
    {
        if (result.writtenDifferences.isEmpty())
            return;
        m_commandLine.message(
            tr("%1: the station holds a different plan than was written:").arg(result.port));
        for (const QString& line : result.writtenDifferences)
            printErr(QStringLiteral("  ") + line);
    }

    CommandLine m_commandLine;
    StationRecords m_records;
    QList<FleetStation> m_stations;
    QString m_port; // the first station's
    QString m_planPath;
    QString m_serialNumber;
    QString m_journalPath; // as given; empty: the default
    QString m_tracePath;   // empty: none
    bool m_verify = false;
    bool m_protocol = false;
    QString m_protocolFolder;
    AppState m_state;
};

} // namespace

int runWrite(const QStringList& arguments)
{
    return WriteCommand().run(arguments);
}

} // namespace yalmera::cli
