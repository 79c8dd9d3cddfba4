#include "cli_support.h"

#include "session/app_state.h"

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class CheckCommand
{
    Q_DECLARE_TR_FUNCTIONS(CheckCommand)
};

QString helpText()
{
    return CheckCommand::tr(
        "Usage: yalmera-cli check PLAN.ini\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does (the band and module from its \"Тип\"\n"
        "and \"ТипВУ\") and runs the data check of \"Контроль\" on it. Prints the check's one\n"
        "message: \"Все данные введены верно.\" on stdout, or the first rule the plan breaks on\n"
        "stderr.\n"
        "\n"
        "Options:\n"
        "  -h, --help   this text\n"
        "\n"
        "Exit codes: 0 the plan passed; 1 the check refused it; 2 usage or file error. Messages\n"
        "on stderr.");
}

} // namespace

int runCheck(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("check"), helpText());
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    AppState state;
    QString passed;
    if (const auto exit = loadCheckedPlan(commandLine, commandLine.positional().first(), state, &passed))
        return *exit;
    printOut(passed);
    return ExitSuccess;
}

} // namespace yalmera::cli
