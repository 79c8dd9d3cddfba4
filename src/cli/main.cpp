#include "cli_support.h"
#include "model/version.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

using namespace yalmera::cli;

namespace {

struct Command
{
    const char* name;
    CommandFunction run;
    const char* summary;
    bool needsGui; // the PDF renderer lays text out with the platform's fonts
};

constexpr Command Commands[] = {
    {"template", runTemplate, "make a template plan and save it as a plan file", false},
    {"check", runCheck, "run the data check on a plan file", false},
    {"image", runImage, "write the byte stream a checked plan sends to the station", false},
    {"write", runWrite, "check a plan file and write it into a station", false},
    {"read", runRead, "read the plan a station holds and save it as a plan file", false},
    {"protocol", runProtocol, "make the programming protocol (.docx or .pdf) of a plan file", true},
};

void printUsage()
{
    QString text = QStringLiteral("Usage: yalmera-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const Command& c : Commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(c.name).leftJustified(9), QString::fromLatin1(c.summary));
    text += QStringLiteral("\n'yalmera-cli COMMAND --help' explains a command's options; "
                           "'yalmera-cli --version' prints the version.\n"
                           "Exit codes: 0 success, 1 refused by the station's rules, 2 usage or file error, "
                           "3 station link failure.");
    printOut(text);
}

} // namespace

int main(int argc, char* argv[])
{
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const Command* command = nullptr;
    for (const Command& c : Commands) {
        if (name == QLatin1String(c.name))
            command = &c;
    }
    if (!command) {
        if (name == u"--help" || name == u"-h" || name == u"help") {
            printUsage();
            return ExitSuccess;
        }
        if (name == u"--version") {
            printOut(QStringLiteral("yalmera-cli ") + QString::fromLatin1(yalmera::ProgramVersion));
            return ExitSuccess;
        }
        printErr(name.isEmpty() ? QStringLiteral("yalmera-cli: no command given")
                                : QStringLiteral("yalmera-cli: unknown command '%1'").arg(name));
        printErr(QStringLiteral("Try 'yalmera-cli --help'."));
        return ExitUsage;
    }

    std::unique_ptr<QCoreApplication> app;
    if (command->needsGui) {
#ifndef Q_OS_WIN
        // No display needed. Windows' own platform needs none either and, unlike offscreen there,
        // has the system's fonts.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList arguments = QCoreApplication::arguments();
    arguments = arguments.mid(2);
    return command->run(arguments);
}
