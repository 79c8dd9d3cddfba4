#pragma once

#include "model/station_type.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace yalmera {
class AppState;
struct PlanDifference;
} // namespace yalmera

namespace yalmera::cli {

// Exit codes of yalmera-cli.
enum ExitCode : int {
    ExitSuccess = 0,
    ExitRefused = 1, // the system's own rules refused the input
    ExitUsage = 2,   // usage or file error
    ExitLink = 3,    // the station link failed
    ExitJournal = 4, // the station exchange succeeded, its journal line or backup was not written
    // A station exchange stopped by Ctrl-C (128 + SIGINT, as shells report it); by SIGTERM 143, by
    // SIGHUP 129 (InterruptStop::exitCode).
    ExitInterrupted = 130,
};

enum class StandardStream { Out, Err };
// The text as it stands on a standard stream: to a Windows console as UTF-16 text, which the
// console shows whatever its code page; everywhere else (a terminal, a file, a pipe) as UTF-8.
void writeText(StandardStream stream, const QString& text);
// Whether the stream is a terminal (on Windows a console) rather than a file or a pipe.
bool isTerminal(StandardStream stream);
// Whether text on the stream may move the cursor with a terminal's escape sequences (cursor up,
// erase line): a terminal; on Windows a console that interprets them, its escape processing
// turned on here when it was off. False for a file, a pipe, and a console that refuses the mode
// or takes it and still shows the sequences as text (an older Windows, Wine): the caller
// writes plain lines there.
bool takesEscapeSequences(StandardStream stream);

// Lines on the standard streams through writeText and terminalSafe.
void printOut(const QString& text);
void printErr(const QString& text);

// The text with every control character but the line break written as \xHH (ESC as \x1b): a
// message quoting plan or station text shows what the text holds instead of driving the
// terminal. Cyrillic and other printable text stays as it is.
QString terminalSafe(QStringView text);

// A command gets its arguments without the program and command names.
using CommandFunction = int (*)(const QStringList& arguments);

int runTemplate(const QStringList& arguments);
int runCheck(const QStringList& arguments);
int runImage(const QStringList& arguments);
int runWrite(const QStringList& arguments);
int runRead(const QStringList& arguments);
int runProtocol(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runImport(const QStringList& arguments);
int runPorts(const QStringList& arguments);
int runVerify(const QStringList& arguments);
int runDiff(const QStringList& arguments);

// A file a command names: the option that names it ("-o", "--trace") or what it is ("the plan
// file"), and its path as given.
using NamedFile = std::pair<QString, QString>;

// One command's command line: its options, --help, and its usage and file errors on stderr,
// each prefixed with "yalmera-cli COMMAND: ".
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    CommandLine(const QString& command, QString helpText);

    // Options taking a value give its name (e.g. "FILE"); flags give none.
    QCommandLineOption addOption(const QStringList& names, const QString& valueName = {});

    // Parses the arguments; expects exactly positionalCount positional arguments, named in the
    // error when missing (by default "no plan file given"). Returns an exit code when the command
    // ends here (--help, usage error).
    std::optional<int> parse(const QStringList& arguments, int positionalCount = 0,
                             const QString& missingText = {});

    bool isSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return m_parser.value(option); }
    QStringList values(const QCommandLineOption& option) const { return m_parser.values(option); }
    QStringList positional() const { return m_parser.positionalArguments(); }

    const QString& name() const { return m_name; }
    // "yalmera-cli COMMAND: TEXT" on stderr: every message of a command.
    void message(const QString& text) const;
    // A refusal by the system's own rules: the message, exit code 1.
    int refusal(const QString& text) const;
    int usageError(const QString& text) const;
    // "yalmera-cli COMMAND: PATH: TEXT", exit code 2.
    int fileError(const QString& path, const QString& text) const;

    // Whether each file is a file of its own under every name it may go by (another spelling of
    // the path, a symbolic or hard link): a command never replaces or appends to a file it reads,
    // nor writes two things into one file. Otherwise says which two are one and returns false;
    // asked before anything is written.
    bool eachFileItsOwn(const QList<NamedFile>& files) const;
    // What the command's own argument is, for eachFileItsOwn.
    static QString planFileWords() { return tr("the plan file"); }
    static QString spreadsheetFileWords() { return tr("the spreadsheet file"); }

private:
    QString m_name;
    QString m_helpText;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
};

// Reads a plan file into the state as "Чтение файла" does; on failure says why and returns false.
// serialNumber, when given, gets the serial number the file holds (empty: none).
bool loadPlanFile(const CommandLine& commandLine, const QString& path, AppState& state,
                  QString* serialNumber = nullptr);

// "Load plan, run the check, refuse": reads a plan file into the state and runs the data check of
// "Контроль" on it. Returns the exit code when the command ends here, after saying why (2: the
// file, 1: the check's refusal); otherwise nothing, and passed (when given) gets the check's
// message.
std::optional<int> loadCheckedPlan(const CommandLine& commandLine, const QString& path, AppState& state,
                                   QString* passed = nullptr);

// differenceText in the user's language (the journal keeps its words in every language).
QString differenceLine(const PlanDifference& difference, const QString& firstName, const QString& secondName);

// "144-174" or "30-60", as the --band options take them.
std::optional<Band> bandFromText(QStringView text);
QString bandText(Band band);

} // namespace yalmera::cli
