#include "cli_support.h"
#include "files/program_language.h"
#include "files/start_messages.h"
#include "model/version.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>
#include <optional>

using namespace yalmera::cli;

namespace {

// The program's own texts (translations/yalmera-cli_ru.ts).
class Usage
{
    Q_DECLARE_TR_FUNCTIONS(Usage)
};

struct Command
{
    const char* name;
    CommandFunction run;
    const char* summary;
    bool needsGui; // the PDF renderer lays text out with the platform's fonts
};

constexpr Command Commands[] = {
    {"template", runTemplate, QT_TRANSLATE_NOOP("Usage", "make a template plan and save it as a plan file"),
     false},
    {"check", runCheck, QT_TRANSLATE_NOOP("Usage", "run the data check on a plan file"), false},
    {"image", runImage,
     QT_TRANSLATE_NOOP("Usage", "write the byte stream a checked plan sends to the station"), false},
    {"write", runWrite, QT_TRANSLATE_NOOP("Usage", "check a plan file and write it into a station"), false},
    {"read", runRead, QT_TRANSLATE_NOOP("Usage", "read the plan a station holds and save it as a plan file"),
     false},
    {"verify", runVerify,
     QT_TRANSLATE_NOOP("Usage", "read a station and compare it with a plan file, writing nothing"), false},
    {"diff", runDiff,
     QT_TRANSLATE_NOOP("Usage", "compare two plan files as stations would hold them (--text: their texts)"),
     false},
    {"protocol", runProtocol,
     QT_TRANSLATE_NOOP("Usage", "make the programming protocol (.docx or .pdf) of a plan file"), true},
    {"export", runExport,
     QT_TRANSLATE_NOOP("Usage", "write the channel table of a plan file as a CSV spreadsheet file"), false},
    {"import", runImport,
     QT_TRANSLATE_NOOP("Usage", "make a plan file from a CSV spreadsheet file and another plan's settings"),
     false},
    {"ports", runPorts,
     QT_TRANSLATE_NOOP("Usage", "list the serial ports with their description, maker and USB ids"), false},
};

void printUsage()
{
    QString text = Usage::tr(
        "Usage: yalmera-cli COMMAND [OPTIONS]\n"
        "\n"
        "Makes and checks channel plans of \"Ялмера\" stations, writes them into a station and reads\n"
        "stations back, as the desktop program yalmera does, one command per run.\n"
        "\n"
        "Commands:\n");
    for (const Command& c : Commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(c.name).leftJustified(9), Usage::tr(c.summary));
    text += Usage::tr(
        "\n"
        "Options:\n"
        "  -h, --help      this text; 'yalmera-cli COMMAND --help' explains a command's options\n"
        "  -v, --version   the program's version\n"
        "\n"
        "Exit codes: 0 success; 1 refused by the station's rules; 2 usage or file error; 3 station\n"
        "link failure; 4 done, but its journal line, backup, trace or protocol not written; 130\n"
        "stopped by Ctrl-C, 143 by SIGTERM, 129 by SIGHUP.");
    printOut(text);
}

#ifndef Q_OS_WIN
// The argument as text, each byte that belongs to no UTF-8 character written as \xHH.
QString shownBytes(const QByteArray& raw)
{
    QString shown;
    for (qsizetype i = 0; i < raw.size();) {
        const auto lead = static_cast<quint8>(raw[i]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const QByteArray piece = raw.mid(i, length);
        const QString text = QString::fromUtf8(piece);
        if (lead < 0x80 || (text.toUtf8() == piece && !text.contains(QChar::ReplacementCharacter))) {
            shown += text;
            i += length;
        } else {
            shown += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}

// Arguments come as bytes, which Qt takes as UTF-8. Bytes that are no UTF-8 (a file name in
// Windows-1251 from an old archive) would turn into U+FFFD, and two different names into one:
// the program would read or write a file the user did not name. The first such argument, if any.
// (Windows hands arguments over as UTF-16 text, unchanged.)
std::optional<QByteArray> argumentNotUtf8(int argc, char* argv[])
{
    for (int i = 2; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw)
            return raw;
    }
    return std::nullopt;
}
#endif

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
        // The texts in the user's language: their translator needs an application object.
        QCoreApplication app(argc, argv);
        yalmera::files::useUserLanguage(app, u"yalmera-cli");
        if (name == u"--help" || name == u"-h" || name == u"help") {
            printUsage();
            return ExitSuccess;
        }
        if (name == u"--version" || name == u"-v") {
            printOut(QStringLiteral("yalmera-cli ") + QString::fromLatin1(yalmera::ProgramVersion));
            return ExitSuccess;
        }
        printErr(name.isEmpty() ? Usage::tr("yalmera-cli: no command given")
                                : Usage::tr("yalmera-cli: unknown command '%1'").arg(name));
        printErr(CommandLine::tr("Try '%1 --help'.").arg(QStringLiteral("yalmera-cli")));
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
        const yalmera::files::QuietStartMessages quiet;
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The user's application-data folder, which holds the journal, is named after the program,
    // the same for the desktop program and this tool.
    QCoreApplication::setApplicationName(QStringLiteral("yalmera"));
    yalmera::files::useUserLanguage(*app, u"yalmera-cli");
    // The arguments as the bytes argv holds; checked once the application object is there, so
    // that the refusal is in the user's language too.
#ifndef Q_OS_WIN
    if (const std::optional<QByteArray> raw = argumentNotUtf8(argc, argv)) {
        printErr(Usage::tr("yalmera-cli %1: \"%2\" is not UTF-8 text (a name in Windows-1251?): it "
                           "would name another file than the one meant, so nothing is done. Rename the "
                           "file to a UTF-8 name, e.g. with convmv -f cp1251 -t utf8.")
                     .arg(QLatin1String(command->name), shownBytes(*raw)));
        return ExitUsage;
    }
#endif

    QStringList arguments = QCoreApplication::arguments();
    arguments = arguments.mid(2);
    return command->run(arguments);
}
