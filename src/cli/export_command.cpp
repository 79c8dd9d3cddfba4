#include "cli_support.h"

#include "files/plan_csv.h"
#include "session/app_state.h"

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class ExportCommand
{
    Q_DECLARE_TR_FUNCTIONS(ExportCommand)
};

QString helpText()
{
    return ExportCommand::tr(
        "Usage: yalmera-cli export PLAN.ini -o PLAN.csv\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does and writes its channel table as the\n"
        "spreadsheet file of \"Экспорт CSV\": UTF-8 with a byte-order mark, \";\" between fields,\n"
        "the 18 column captions in the first row, one row per channel, the flags \"Скан.\",\n"
        "\"Id_Тон\" and \"Акт\" as \"да\" or \"нет\". The general settings stay in the plan file.\n"
        "A field holding \";\", \",\", a quote or a line break is quoted; a cell starting with \"=\",\n"
        "\"+\", \"-\", \"@\" or a single quote gets a single quote first, so that no spreadsheet runs\n"
        "it as a formula (import takes it away again). A cell that import would refuse (a control\n"
        "character, a character outside Windows-1251, more than 200 characters) is refused here.\n"
        "Prints the channel count and the file it saved.\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE   the spreadsheet file to write; an existing file is replaced only\n"
        "                      when the new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the file was written; 2 usage or file error.");
}

} // namespace

int runExport(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("export"), helpText());
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QString path = commandLine.value(output);
    if (path.isEmpty())
        return commandLine.usageError(ExportCommand::tr("no output file given (-o PLAN.csv)"));
    const QString planPath = commandLine.positional().first();
    if (!commandLine.eachFileItsOwn({{CommandLine::planFileWords(), planPath}, {QStringLiteral("-o"), path}}))
        return ExitUsage;
    AppState state;
    if (!loadPlanFile(commandLine, planPath, state))
        return ExitUsage;
    if (const UserMessage failure = files::writePlanCsv(path, state.table()); !failure.isEmpty())
        return commandLine.fileError(path, failure.text);
    printOut(
        ExportCommand::tr("Channel table (%n channel(s)) saved to %1", nullptr, state.table().channelCount())
            .arg(path));
    return ExitSuccess;
}

} // namespace yalmera::cli
