#include "cli_support.h"

#include "files/plan_file.h"
#include "image/data_check.h"

#include <QCommandLineParser>
#include <QSaveFile>

namespace yalmera::cli {

namespace {

const QString Name = QStringLiteral("yalmera-cli image");

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli image PLAN.ini -o IMAGE.bin\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "and, when the plan passes, writes exactly the bytes \"Запись данных \" sends to the\n"
        "station: the command byte 0x14, the rest of the 26-byte header (module and band code\n"
        "from the file's \"ТипВУ\" and \"Тип\") and 18 bytes per channel. Prints the check's\n"
        "message.\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE   the image file to write; an existing file is replaced only when\n"
        "                      the new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the image was written; 1 the check refused the plan (its message on\n"
        "stdout, nothing written); 2 usage or file error (on stderr).");
}

int usageError(const QString& text)
{
    printErr(Name + QStringLiteral(": ") + text);
    printErr(QStringLiteral("Try 'yalmera-cli image --help'."));
    return ExitUsage;
}

} // namespace

int runImage(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({output, help});
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
    const QString imagePath = parser.value(output);
    if (imagePath.isEmpty())
        return usageError(QStringLiteral("no output file given (-o IMAGE.bin)"));

    files::PlanDecodeResult read = files::readPlanFile(paths[0]);
    if (!read.contents) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, paths[0], read.error.text));
        return ExitUsage;
    }
    AppState state;
    state.adoptPlanFile(std::move(*read.contents));
    const CheckResult result = runDataCheck(state);
    if (!result.passed) {
        printOut(result.message.text);
        return ExitRefused;
    }

    // The stream the write exchange sends: module and band code as chosen at sending time.
    const QByteArray stream = state.image.writeStream(state.moduleType, state.stationType.typeCode);
    QSaveFile file(imagePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(stream) != stream.size() || !file.commit()) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, imagePath, file.errorString()));
        return ExitUsage;
    }
    printOut(result.message.text);
    return ExitSuccess;
}

} // namespace yalmera::cli
