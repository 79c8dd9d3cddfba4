#include "cli_support.h"

#include "image/app_state.h"
#include "image/data_check.h"
#include "link/write_exchange.h"
#include "station_progress.h"

#include <memory>

namespace yalmera::cli {

namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli write PLAN.ini --port PORT [--verify]\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "and, when the plan passes, writes its image into the station as \"Запись данных \" does,\n"
        "byte by byte, each acknowledged by the station. Progress is shown on stderr.\n"
        "\n"
        "Options:\n"
        "  --port PORT   COM1, COM2 (the first and second serial port), a port name such as\n"
        "                ttyUSB0, or a device path such as /dev/pts/3\n"
        "  --verify      read the station back afterwards and compare it with what was written\n"
        "  -h, --help    this text\n"
        "\n"
        "Exit codes: 0 written (and verified); 1 the check refused the plan; 2 usage or file\n"
        "error; 3 station link failure (port, silence, a station still sending when the write\n"
        "begins, a station holding something else after --verify). Messages on stderr.");
}

} // namespace

int runWrite(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("write"), helpText());
    const QCommandLineOption port = commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
    const QCommandLineOption verify = commandLine.addOption({QStringLiteral("verify")});
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QString portName = commandLine.value(port);
    if (portName.isEmpty())
        return commandLine.usageError(QStringLiteral("no port given (--port PORT)"));
    AppState state;
    if (!loadPlanFile(commandLine, commandLine.positional().first(), state))
        return ExitUsage;
    const CheckResult check = runDataCheck(state);
    if (!check.passed) {
        printErr(QStringLiteral("%1: %2").arg(commandLine.name(), check.message.text));
        return ExitRefused;
    }

    // The exchange blocks its thread for the whole write, as it does under the window.
    const WriteRequest request = WriteRequest::fromState(state, portName);
    const std::unique_ptr<ExchangeObserver> progress = makeTerminalProgress(QStringLiteral("Запись"));
    WriteResult written;
    runOffThisThread([&] { written = runWriteExchange(request, *progress); });
    endTerminalProgress(*progress);
    if (!written.ok())
        return linkFailureExit(commandLine.name(), written.outcome, written.message, portName);
    printOut(QStringLiteral("%1 channel(s) written, %2 bytes acknowledged")
                 .arg(state.image().channelCount)
                 .arg(written.repliesReceived));
    if (!commandLine.isSet(verify))
        return ExitSuccess;

    const ReadResult readBack = readStationShowingProgress({portName, state.stationType()});
    if (!readBack.ok())
        return linkFailureExit(commandLine.name(), readBack.outcome, readBack.message, portName);
    const ReadBack& held = *readBack.readBack;
    const QStringList diff = streamDifferences(
        Stream::Write, {state.image(), moduleCode(state.moduleType()), state.stationType().typeCode, 0},
        {held.image, held.moduleType, held.typeCode, 0});
    if (!diff.isEmpty()) {
        printErr(QStringLiteral("%1: the station holds a different plan than was written:")
                     .arg(commandLine.name()));
        for (const QString& line : diff)
            printErr(QStringLiteral("  ") + line);
        return ExitLink;
    }
    printOut(
        QStringLiteral("Verified: station %1 holds the plan written").arg(readBack.readBack->serialNumber));
    return ExitSuccess;
}

} // namespace yalmera::cli
