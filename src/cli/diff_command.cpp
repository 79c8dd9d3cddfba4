#include "cli_support.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/whole_file.h"
#include "image/plan_comparison.h"
#include "session/app_state.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class DiffCommand
{
    Q_DECLARE_TR_FUNCTIONS(DiffCommand)
};

QString helpText()
{
    return DiffCommand::tr(
        "Usage: yalmera-cli diff A.ini B.ini [--text]\n"
        "\n"
        "Compares two plans field by field and prints every difference in words on stdout: the\n"
        "settings keys that hold other values (\"Тип\" and \"ТипВУ\" among them), the channels only\n"
        "one plan has, and the cells (flags as \"да\"/\"нет\") of the channels both have, with the\n"
        "column's caption and both files' values. Channels are paired by their number\n"
        "(\"№ кан.\"), so a channel inserted or removed shows as one, not as every row after it.\n"
        "By default the plans are compared as stations holding them would give them back, as\n"
        "'verify' compares a plan with a station: both files are checked as \"Контроль\" does and\n"
        "compared by the bytes a station would keep, so a value written another way (140000 for\n"
        "140000,00, a tone of 1989 for 1990: one byte) is no difference. What no station keeps a\n"
        "byte for (the serial number, the power values \"P_1\"..\"P_4\") is not compared, and the\n"
        "output says so once. A plan the check refuses cannot be compared so: its message on\n"
        "stderr, exit code 1, and --text compares it. Either file may also be a spreadsheet file of\n"
        "the channel table as 'export' writes it (\".csv\", or content that is no plan file); it has\n"
        "no settings a station could take, so its channels are compared as texts, and the output\n"
        "says that the settings are not compared.\n"
        "\n"
        "Options:\n"
        "  --text       compare the files' texts instead: every key and cell as written\n"
        "  -h, --help   this text\n"
        "\n"
        "Exit codes: 0 the plans are the same; 1 they differ, or the check refused a plan; 2 usage\n"
        "or file error. Messages on stderr.");
}

// A spreadsheet file by its extension, or by content that opens no section as a plan file does.
bool isSpreadsheetFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        return true;
    if (suffix == u"ini")
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false; // the plan reader says why
    QByteArray start = file.read(4096);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    const QByteArray firstLine = start.left(start.indexOf('\n')).trimmed();
    return !firstLine.startsWith('[') && firstLine.contains(';');
}

std::optional<ComparedPlan> readCompared(const CommandLine& commandLine, const QString& path)
{
    if (isSpreadsheetFile(path)) {
        files::CsvDecodeResult read = files::readPlanCsv(path);
        if (!read.table) {
            commandLine.fileError(path, read.error.text);
            return std::nullopt;
        }
        return ComparedPlan{std::nullopt, std::move(*read.table), std::nullopt, std::nullopt};
    }
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents) {
        commandLine.fileError(path, read.error.text);
        return std::nullopt;
    }
    return ComparedPlan{std::move(read.contents->settings), std::move(read.contents->table),
                        read.contents->typeCode, read.contents->moduleType};
}

// Both plans checked as "Контроль" does and compared as stations holding them would give them
// back; a plan the check refuses ends the command as check ends it, --text named as the way out.
std::optional<PlanComparison> compareAsHeld(const CommandLine& commandLine, const QList<ComparedPlan>& plans,
                                            const QStringList& paths)
{
    QList<CheckedPlan> checked;
    for (qsizetype i = 0; i < plans.size(); ++i) {
        const ComparedPlan& plan = plans[i];
        AppState state;
        state.adoptPlanFile({*plan.settings, plan.table, *plan.typeCode, *plan.moduleType, {}});
        if (const CheckResult check = runDataCheck(state); !check.passed) {
            commandLine.message(QStringLiteral("%1: %2").arg(paths[i], check.message.text));
            commandLine.message(DiffCommand::tr("%1 cannot be compared as a station would hold it; "
                                                "'yalmera-cli diff --text' compares the files' texts")
                                    .arg(paths[i]));
            return std::nullopt;
        }
        checked.append({plan, state.image(), state.stationType()});
    }
    return compareCheckedPlans(checked[0], checked[1]);
}

} // namespace

int runDiff(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("diff"), helpText());
    const QCommandLineOption text = commandLine.addOption({QStringLiteral("text")});
    if (const auto exit = commandLine.parse(arguments, 2))
        return *exit;
    const QString firstPath = commandLine.positional().at(0);
    const QString secondPath = commandLine.positional().at(1);
    const std::optional<ComparedPlan> first = readCompared(commandLine, firstPath);
    if (!first)
        return ExitUsage;
    const std::optional<ComparedPlan> second = readCompared(commandLine, secondPath);
    if (!second)
        return ExitUsage;

    // The files' names, or their paths when the names are the same.
    QString firstName = QFileInfo(firstPath).fileName();
    QString secondName = QFileInfo(secondPath).fileName();
    if (firstName == secondName) {
        firstName = firstPath;
        secondName = secondPath;
    }
    PlanComparison comparison;
    if (!commandLine.isSet(text) && first->settings && second->settings) {
        std::optional<PlanComparison> held =
            compareAsHeld(commandLine, {*first, *second}, {firstPath, secondPath});
        if (!held)
            return ExitRefused;
        comparison = std::move(*held);
        if (!comparison.notCompared.isEmpty())
            printOut(DiffCommand::tr("Not compared (no station keeps a byte for them): %1")
                         .arg(comparison.notCompared.join(QStringLiteral(", "))));
    } else {
        if (!first->settings && !second->settings)
            printOut(DiffCommand::tr("Settings not compared: %1 and %2 hold only channel tables")
                         .arg(firstName, secondName));
        else if (!first->settings || !second->settings)
            printOut(DiffCommand::tr("Settings not compared: %1 holds only a channel table")
                         .arg(first->settings ? secondName : firstName));
        comparison = comparePlans(*first, *second);
    }
    for (const PlanDifference& difference : comparison.differences)
        printOut(differenceLine(difference, firstName, secondName));
    if (comparison.same()) {
        printOut(DiffCommand::tr("The plans are the same"));
        return ExitSuccess;
    }
    return ExitRefused;
}

} // namespace yalmera::cli
