#include "cli_support.h"

#include "files/save_target.h"
#include "image/app_state.h"
#include "image/data_check.h"
#include "interrupt_stop.h"
#include "link/exchange_journal.h"
#include "link/link_texts.h"
#include "link/write_exchange.h"
#include "report/protocol_document.h"
#include "report/protocol_file.h"
#include "station_progress.h"
#include "station_records.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace yalmera::cli {

namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli write PLAN.ini --port PORT [--verify] [--serial S [--protocol DIR]]\n"
        "                         [--trace FILE] [--journal FILE]\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "and, when the plan passes, writes its image into the station as \"Запись данных \" does,\n"
        "byte by byte, each acknowledged by the station. Progress is shown on stderr. The write\n"
        "and the read of --verify each add a line to the journal; the plan read back is kept in\n"
        "the backups folder beside it. Ctrl-C (or SIGTERM, SIGHUP) stops the write at its next\n"
        "byte. A station gives up a broken write after a second of silence: until then the\n"
        "next write or read on the port waits (up to 1.25 s after the broken write's last byte).\n"
        "\n"
        "Options:\n"
        "  --port PORT       COM1, COM2 (the first and second serial port), a port name such as\n"
        "                    ttyUSB0 (see 'yalmera-cli ports'), or a device path such as /dev/pts/3\n"
        "  --verify          read the station back afterwards and compare it with what was written\n"
        "  --serial S        the station's serial number, for the journal and the protocol\n"
        "  --protocol DIR    once written (and verified), save the protocol \"Протокол S.docx\"\n"
        "                    in DIR (made when missing; an earlier protocol gets no overwrite,\n"
        "                    the new one a number); needs --serial\n"
        "  --trace FILE      record every byte sent and received in FILE (replaced)\n"
        "  --journal FILE    the journal to add to (default: journal.csv in the user's\n"
        "                    application-data folder, or $YALMERA_JOURNAL)\n"
        "  -h, --help        this text\n"
        "\n"
        "Exit codes: 0 written (and verified, protocol saved); 1 the check refused the plan; 2\n"
        "usage or file error (nothing sent); 3 station link failure (port, silence, a station\n"
        "still sending when the write begins, a station holding something else after --verify);\n"
        "4 written, but the journal, backup, trace or protocol could not be written; 130 stopped by\n"
        "Ctrl-C (143 by SIGTERM, 129 by SIGHUP).\n"
        "Messages on stderr.");
}

} // namespace

int runWrite(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("write"), helpText());
    const QCommandLineOption port = commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
    const QCommandLineOption verify = commandLine.addOption({QStringLiteral("verify")});
    const QCommandLineOption serial = commandLine.addOption({QStringLiteral("serial")}, QStringLiteral("S"));
    const QCommandLineOption protocol =
        commandLine.addOption({QStringLiteral("protocol")}, QStringLiteral("DIR"));
    const QCommandLineOption trace = commandLine.addOption({QStringLiteral("trace")}, QStringLiteral("FILE"));
    const QCommandLineOption journal =
        commandLine.addOption({QStringLiteral("journal")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QString portName = commandLine.value(port);
    if (portName.isEmpty())
        return commandLine.usageError(QStringLiteral("no port given (--port PORT)"));
    const QString protocolFolder = commandLine.value(protocol);
    if (commandLine.isSet(protocol) && !commandLine.isSet(serial))
        return commandLine.usageError(QStringLiteral("--protocol needs the serial number (--serial S)"));
    const QString planPath = commandLine.positional().first();
    AppState state;
    if (!loadPlanFile(commandLine, planPath, state))
        return ExitUsage;
    const CheckResult check = runDataCheck(state);
    if (!check.passed)
        return commandLine.refusal(check.message.text);

    // Whatever cannot be made or kept is known before the station is touched.
    if (commandLine.isSet(protocol)) {
        if (const UserMessage refusal = report::protocolRefusal(state, report::ProtocolRequest::Create);
            !refusal.isEmpty())
            return commandLine.refusal(refusal.text);
        // Made only once the station is written: a failed write leaves no empty folder behind.
        if (const QString refusal = files::folderRefusal(protocolFolder); !refusal.isEmpty())
            return commandLine.fileError(protocolFolder, refusal);
    }
    StationRecords records(commandLine);
    if (!records.prepare(commandLine.value(journal), commandLine.value(trace),
                         {{QStringLiteral("the plan file"), planPath}}))
        return ExitUsage;
    const QString planFile = QFileInfo(planPath).absoluteFilePath();
    const QString serialNumber = commandLine.value(serial);

    // The exchange blocks its thread for the whole write, as it does under the window.
    const InterruptStop interrupt;
    WriteRequest request = WriteRequest::fromState(state, portName);
    request.trace = records.trace();
    const std::unique_ptr<ExchangeObserver> progress = makeTerminalProgress(QStringLiteral("Запись"));
    WriteResult written;
    runOffThisThread([&] { written = runWriteExchange(request, *progress, interrupt.flag()); });
    endTerminalProgress(*progress);
    JournalEntry entry = writeJournalEntry(request, written);
    entry.planFile = planFile;
    entry.serialNumber = serialNumber;
    records.journal(entry);
    if (!written.ok()) {
        UserMessage message = written.message;
        // The window shows "AK" and the line's own error; here the plain words go first.
        if (written.outcome == ExchangeOutcome::TimedOut && message.text != texts::link::LastByteUnanswered)
            message.text = QStringLiteral("%1 (%2)").arg(texts::link::WriteStationSilent, message.text);
        return records.exitCode(
            linkFailureExit(commandLine.name(), written.outcome, message, portName, interrupt.exitCode()));
    }
    printOut(QStringLiteral("%1 channel(s) written, %2 bytes acknowledged")
                 .arg(state.image().channelCount)
                 .arg(written.repliesReceived));

    if (commandLine.isSet(verify)) {
        ReadRequest readRequest{portName, state.stationType(), records.trace()};
        const ReadResult readBack = readStationShowingProgress(readRequest, interrupt.flag());
        records.backup(readBack);
        const QStringList diff =
            readBack.ok() ? writtenDifferences(request.stream, *readBack.readBack) : QStringList();
        JournalEntry verified = verifyJournalEntry(readRequest, readBack, diff);
        verified.planFile = planFile;
        records.journal(verified);
        if (!readBack.ok())
            return records.exitCode(linkFailureExit(commandLine.name(), readBack.outcome, readBack.message,
                                                    portName, interrupt.exitCode()));
        if (!diff.isEmpty()) {
            commandLine.message(QStringLiteral("the station holds a different plan than was written:"));
            for (const QString& line : diff)
                printErr(QStringLiteral("  ") + line);
            return records.exitCode(ExitLink);
        }
        printOut(QStringLiteral("Verified: station %1 holds the plan written")
                     .arg(readBack.readBack->serialNumber));
    }

    if (commandLine.isSet(protocol)) {
        const report::SavedProtocol saved =
            report::saveProtocolDocx(report::buildProtocolDocument(state, serialNumber), protocolFolder);
        JournalEntry made = entry;
        made.time = QDateTime::currentDateTime();
        made.operation = texts::link::JournalProtocol.toString();
        made.outcome =
            journalOutcome(saved.error.isEmpty() ? ExchangeOutcome::Completed : ExchangeOutcome::Refused);
        made.message = saved.error.isEmpty() ? QDir::toNativeSeparators(saved.path) : saved.error.text;
        records.journal(made);
        // The station holds the plan all the same: done, but without its protocol.
        if (!saved.error.isEmpty()) {
            records.failed(QStringLiteral("%1: %2").arg(protocolFolder, saved.error.text));
            return records.exitCode(ExitSuccess);
        }
        printOut(QStringLiteral("Protocol saved to %1").arg(QDir::toNativeSeparators(saved.path)));
    }
    return records.exitCode(ExitSuccess);
}

} // namespace yalmera::cli
