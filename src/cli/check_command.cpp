#include "cli_support.h"

#include "files/plan_file.h"
#include "image/data_check.h"

#include <QCommandLineParser>

namespace yalmera::cli {

namespace {

const QString Name = QStringLiteral("yalmera-cli check");

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli check PLAN.ini\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does (the band and module from its \"Тип\"\n"
        "and \"ТипВУ\") and runs the data check of \"Контроль\" on it. Prints the check's one\n"
        "message: \"Все данные введены верно.\" or the first rule the plan breaks.\n"
        "\n"
        "Options:\n"
        "  -h, --help   this text\n"
        "\n"
        "Exit codes: 0 the plan passed; 1 the check refused it (its message on stdout); 2 usage\n"
        "or file error (on stderr).");
}

int usageError(const QString& text)
{
    printErr(Name + QStringLiteral(": ") + text);
    printErr(QStringLiteral("Try 'yalmera-cli check --help'."));
    return ExitUsage;
}

} // namespace

int runCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!parser.parse(QStringList{Name} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        printOut(helpText());
        return ExitSuccess;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 1)
        return usageError(paths.isEmpty() ? QStringLiteral("no plan file given")
                                          : QStringLiteral("unexpected argument '%1'").arg(paths[1]));

    files::PlanDecodeResult read = files::readPlanFile(paths[0]);
    if (!read.contents) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, paths[0], read.error.text));
        return ExitUsage;
    }
    AppState state;
    state.adoptPlanFile(std::move(*read.contents));
    const CheckResult result = runDataCheck(state);
    printOut(result.message.text);
    return result.passed ? ExitSuccess : ExitRefused;
}

} // namespace yalmera::cli
