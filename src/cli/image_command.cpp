#include "cli_support.h"

#include "files/whole_file.h"
#include "session/app_state.h"

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class ImageCommand
{
    Q_DECLARE_TR_FUNCTIONS(ImageCommand)
};

QString helpText()
{
    return ImageCommand::tr(
        "Usage: yalmera-cli image PLAN.ini -o IMAGE.bin\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "and, when the plan passes, writes exactly the bytes \"Запись данных \" sends to the\n"
        "station: the command byte 0x14, the rest of the 26-byte header (module and band code\n"
        "from the file's \"ТипВУ\" and \"Тип\") and 18 bytes per channel. Prints the check's\n"
        "message: \"Все данные введены верно.\" on stdout, a refusal on stderr.\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE   the image file to write; an existing file is replaced only when\n"
        "                      the new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the image was written; 1 the check refused the plan (nothing written); 2\n"
        "usage or file error. Messages on stderr.");
}

} // namespace

int runImage(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("image"), helpText());
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QString imagePath = commandLine.value(output);
    if (imagePath.isEmpty())
        return commandLine.usageError(ImageCommand::tr("no output file given (-o IMAGE.bin)"));
    const QString planPath = commandLine.positional().first();
    if (!commandLine.eachFileItsOwn(
            {{CommandLine::planFileWords(), planPath}, {QStringLiteral("-o"), imagePath}}))
        return ExitUsage;
    AppState state;
    QString passed;
    if (const auto exit = loadCheckedPlan(commandLine, planPath, state, &passed))
        return *exit;

    // The stream the write exchange sends: module and band code as chosen at sending time.
    const QByteArray stream =
        state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    if (const QString error = saveWholeFile(imagePath, stream); !error.isEmpty())
        return commandLine.fileError(imagePath, error);
    printOut(passed);
    return ExitSuccess;
}

} // namespace yalmera::cli
