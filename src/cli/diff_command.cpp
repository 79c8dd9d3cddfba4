#include "cli_support.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/whole_file.h"
#include "image/plan_comparison.h"

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
        "Usage: yalmera-cli diff A.ini B.ini\n"
        "\n"
        "Compares two plans field by field and prints every difference in words on stdout: the\n"
        "settings keys that hold other values (\"Тип\" and \"ТипВУ\" among them), the channels only\n"
        "one plan has, and the cells (flags as \"да\"/\"нет\") of the channels both have, with the\n"
        "column's caption and both values. Channels are paired by their number (\"№ кан.\"), so a\n"
        "channel inserted or removed shows as one, not as every row after it. Either file may be\n"
        "a channel-plan file or a spreadsheet file of the channel table as 'export' writes it\n"
        "(\".csv\", or content that is no plan file); a spreadsheet file has no settings, which\n"
        "are then not compared, and the output says so.\n"
        "\n"
        "Options:\n"
        "  -h, --help   this text\n"
        "\n"
        "Exit codes: 0 the plans are the same; 1 they differ; 2 usage or file error.\n"
        "Messages on stderr.");
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

} // namespace

int runDiff(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("diff"), helpText());
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
    if (!first->settings && !second->settings)
        printOut(DiffCommand::tr("Settings not compared: %1 and %2 hold only channel tables")
                     .arg(firstName, secondName));
    else if (!first->settings || !second->settings)
        printOut(DiffCommand::tr("Settings not compared: %1 holds only a channel table")
                     .arg(first->settings ? secondName : firstName));
    const PlanComparison comparison = comparePlans(*first, *second);
    for (const PlanDifference& difference : comparison.differences)
        printOut(differenceLine(difference, firstName, secondName));
    if (comparison.same()) {
        printOut(DiffCommand::tr("The plans are the same"));
        return ExitSuccess;
    }
    return ExitRefused;
}

} // namespace yalmera::cli
