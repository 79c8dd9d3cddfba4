#include "cli_support.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "session/app_state.h"

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class ImportCommand
{
    Q_DECLARE_TR_FUNCTIONS(ImportCommand)
};

QString helpText()
{
    return ImportCommand::tr(
        "Usage: yalmera-cli import PLAN.csv --settings-from PLAN.ini -o NEW.ini\n"
        "\n"
        "Makes a channel-plan file from a spreadsheet file of the channel table, as \"Импорт CSV\"\n"
        "does: the channels from PLAN.csv, the general settings, \"Тип\" and \"ТипВУ\" as\n"
        "\"Чтение файла\" reads them from PLAN.ini. The spreadsheet file is UTF-8 (with or\n"
        "without a byte-order mark) or Windows-1251, \";\" between fields, the 18 column captions\n"
        "in the first row and 1 to 99 channel rows of 18 fields, the flag columns \"да\" or\n"
        "\"нет\". Every other cell is kept as text, as a plan file keeps it, for \"check\" to judge;\n"
        "only what a plan file cannot hold is refused: control characters (line breaks, tabs),\n"
        "characters outside Windows-1251, bytes that are no UTF-8 in a UTF-8 file, more than 200\n"
        "characters in a cell. One single quote at the start of a cell is taken away (export puts\n"
        "it before a text a spreadsheet would run as a formula). This is checked before NEW.ini is\n"
        "written; a refusal names the spreadsheet file's row and column. Prints the channel count\n"
        "and the files it took and saved.\n"
        "\n"
        "Options:\n"
        "  --settings-from FILE   the plan file whose general settings, band and module the new\n"
        "                         plan takes\n"
        "  -o, --output FILE      the plan file to write; an existing file is replaced only when\n"
        "                         the new one is complete\n"
        "  -h, --help             this text\n"
        "\n"
        "Exit codes: 0 the plan file was written; 2 usage or file error, a refused spreadsheet\n"
        "file included (the reason on stderr).");
}

} // namespace

int runImport(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("import"), helpText());
    const QCommandLineOption settingsFrom =
        commandLine.addOption({QStringLiteral("settings-from")}, QStringLiteral("FILE"));
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1, ImportCommand::tr("no spreadsheet file given")))
        return *exit;
    const QString settingsPath = commandLine.value(settingsFrom);
    if (settingsPath.isEmpty())
        return commandLine.usageError(
            ImportCommand::tr("no plan file given for the settings (--settings-from PLAN.ini)"));
    const QString path = commandLine.value(output);
    if (path.isEmpty())
        return commandLine.usageError(ImportCommand::tr("no output file given (-o NEW.ini)"));

    const QString csvPath = commandLine.positional().first();
    if (!commandLine.eachFileItsOwn({{CommandLine::spreadsheetFileWords(), csvPath},
                                     {QStringLiteral("--settings-from"), settingsPath},
                                     {QStringLiteral("-o"), path}}))
        return ExitUsage;
    files::CsvDecodeResult table = files::readPlanCsv(csvPath);
    if (!table.table)
        return commandLine.fileError(csvPath, table.error.text);
    AppState state;
    if (!loadPlanFile(commandLine, settingsPath, state))
        return ExitUsage;
    state.adoptTable(std::move(*table.table));

    const UserMessage saved = files::writePlanFile(
        path, state.settings(), state.table(), state.stationType().typeCode, moduleCode(state.moduleType()));
    if (!saved.isEmpty())
        return commandLine.fileError(path, saved.text);
    printOut(ImportCommand::tr("Plan (%n channel(s) from %1, the settings from %2) saved to %3", nullptr,
                               state.table().channelCount())
                 .arg(csvPath, settingsPath, path));
    return ExitSuccess;
}

} // namespace yalmera::cli
