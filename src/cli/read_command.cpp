#include "cli_support.h"

#include "files/plan_file.h"
#include "image/app_state.h"
#include "link/read_exchange.h"
#include "station_progress.h"

namespace yalmera::cli {

namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli read --port PORT -o PLAN.ini [--band 144-174|30-60]\n"
        "\n"
        "Reads the plan a station holds, as \"Чтение данных \" does, and saves it as a channel-plan\n"
        "file whose \"Тип\" and \"ТипВУ\" are the station's band code and module type. The\n"
        "frequencies are decoded with the band the station's code names (0: 144-174 MHz, 1 or 2:\n"
        "30-60 MHz); only a station whose code names no band is decoded with the band given\n"
        "(the band selected in the program), 144-174 MHz unless told otherwise. Prints the band\n"
        "found. Nothing is written when the read fails.\n"
        "\n"
        "Options:\n"
        "  --port PORT          COM1, COM2 (the first and second serial port), a port name such\n"
        "                       as ttyUSB0, or a device path such as /dev/pts/3\n"
        "  -o, --output FILE    the plan file to write\n"
        "  --band BAND          144-174 (default) or 30-60, for a station whose code names\n"
        "                       no band\n"
        "  -h, --help           this text\n"
        "\n"
        "Exit codes: 0 the plan was saved; 1 the station's data were refused (none or more than\n"
        "99 channels, a code in no list); 2 usage or file error; 3 station link failure (port,\n"
        "silence, a station still sending when the read begins). Messages on stderr.");
}

} // namespace

int runRead(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("read"), helpText());
    const QCommandLineOption port = commandLine.addOption({QStringLiteral("port")}, QStringLiteral("PORT"));
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    const QCommandLineOption band = commandLine.addOption({QStringLiteral("band")}, QStringLiteral("BAND"));
    if (const auto exit = commandLine.parse(arguments))
        return *exit;
    if (commandLine.value(port).isEmpty())
        return commandLine.usageError(QStringLiteral("no port given (--port PORT)"));
    const QString outputPath = commandLine.value(output);
    if (outputPath.isEmpty())
        return commandLine.usageError(QStringLiteral("no output file given (-o PLAN.ini)"));

    AppState state;
    const QString givenBand = commandLine.isSet(band) ? commandLine.value(band) : QStringLiteral("144-174");
    const auto chosen = bandFromText(givenBand);
    if (!chosen)
        return commandLine.usageError(QStringLiteral("unknown band '%1' (144-174 or 30-60)").arg(givenBand));
    state.selectBand(*chosen);

    const ReadResult result = readStationShowingProgress({commandLine.value(port), state.stationType()});
    if (!result.ok())
        return linkFailureExit(commandLine.name(), result.outcome, result.message, commandLine.value(port));

    const bool bandChosen = applyReadBack(state, *result.readBack);
    const UserMessage saved =
        files::writePlanFile(outputPath, state.settings(), state.table(), state.stationType().typeCode,
                             moduleCode(state.moduleType()));
    if (!saved.isEmpty())
        return commandLine.fileError(outputPath, saved.text);
    printOut(QStringLiteral("Station %1: %2 (%3 MHz, type code %4%5), %6 channel(s) saved to %7")
                 .arg(result.readBack->serialNumber, state.stationType().modelCaption(),
                      bandText(state.stationType().band))
                 .arg(state.stationType().typeCode)
                 .arg(bandChosen ? QString() : QStringLiteral(", which names no band: decoded as selected"))
                 .arg(state.table().channelCount())
                 .arg(outputPath));
    return ExitSuccess;
}

} // namespace yalmera::cli
