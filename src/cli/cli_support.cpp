#include "cli_support.h"

#include "files/plan_file.h"
#include "files/save_target.h"
#include "image/plan_comparison.h"
#include "session/app_state.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "model/windows_api.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace yalmera::cli {

namespace {

// The words of differenceLine (translations/yalmera-cli_ru.ts).
class PlanDifferences
{
    Q_DECLARE_TR_FUNCTIONS(PlanDifferences)
};

FILE* file(StandardStream stream)
{
    return stream == StandardStream::Out ? stdout : stderr;
}

#ifdef Q_OS_WIN
// The console behind the stream, or nothing when it goes to a file or a pipe.
HANDLE console(StandardStream stream)
{
    const HANDLE handle = GetStdHandle(stream == StandardStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle
                                                                                                : nullptr;
}
#endif

} // namespace

void writeText(StandardStream stream, const QString& text)
{
#ifdef Q_OS_WIN
    if (const HANDLE handle = console(stream)) {
        std::fflush(file(stream));
        const auto* chars = reinterpret_cast<const wchar_t*>(text.utf16());
        for (qsizetype done = 0; done < text.size();) {
            DWORD written = 0;
            const auto chunk = static_cast<DWORD>(std::min<qsizetype>(text.size() - done, 8192));
            if (!WriteConsoleW(handle, chars + done, chunk, &written, nullptr) || written == 0)
                return;
            done += written;
        }
        return;
    }
    // Redirected: the bytes as they are, without the C library's LF to CR LF.
    static const bool binary = [] {
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
        return true;
    }();
    Q_UNUSED(binary);
#endif
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), file(stream));
    std::fflush(file(stream));
}

bool isTerminal(StandardStream stream)
{
#ifdef Q_OS_WIN
    return console(stream) != nullptr;
#else
    return isatty(fileno(file(stream))) != 0;
#endif
}

bool takesEscapeSequences(StandardStream stream)
{
#ifdef Q_OS_WIN
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
    const HANDLE handle = console(stream);
    DWORD mode = 0;
    if (!handle || !GetConsoleMode(handle, &mode))
        return false;
    const DWORD escapes = mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING;
    if (mode != escapes && !SetConsoleMode(handle, escapes))
        return false;
    // Whether the console really interprets them: a reset of the text attributes moves no cursor.
    // Where it is shown as text instead, it is wiped again and the mode put back.
    CONSOLE_SCREEN_BUFFER_INFO before{};
    CONSOLE_SCREEN_BUFFER_INFO after{};
    constexpr wchar_t Probe[] = L"\x1b[0m";
    DWORD written = 0;
    if (GetConsoleScreenBufferInfo(handle, &before)) {
        WriteConsoleW(handle, Probe, static_cast<DWORD>(std::size(Probe) - 1), &written, nullptr);
        if (GetConsoleScreenBufferInfo(handle, &after) &&
            after.dwCursorPosition.X == before.dwCursorPosition.X &&
            after.dwCursorPosition.Y == before.dwCursorPosition.Y)
            return true;
        if (written > 0) {
            DWORD wiped = 0;
            FillConsoleOutputCharacterW(handle, L' ', written, before.dwCursorPosition, &wiped);
            SetConsoleCursorPosition(handle, before.dwCursorPosition);
        }
    }
    SetConsoleMode(handle, mode);
    return false;
#else
    return isTerminal(stream);
#endif
}

QString terminalSafe(QStringView text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        // C0, DEL and C1 alike: a terminal takes 0x9B as the start of a control sequence too.
        if (c.category() == QChar::Other_Control && c != u'\n')
            safe += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}

void printOut(const QString& text)
{
    writeText(StandardStream::Out, terminalSafe(text) + u'\n');
}

void printErr(const QString& text)
{
    writeText(StandardStream::Err, terminalSafe(text) + u'\n');
}

CommandLine::CommandLine(const QString& command, QString helpText)
    : m_name(QStringLiteral("yalmera-cli ") + command), m_helpText(std::move(helpText)),
      m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")})
{
    // "-o" and "--port" alike; "-count" is read as "--count" rather than as -c -o -u ...
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
}

QCommandLineOption CommandLine::addOption(const QStringList& names, const QString& valueName)
{
    const QCommandLineOption option(names, QString(), valueName);
    m_parser.addOption(option);
    return option;
}

std::optional<int> CommandLine::parse(const QStringList& arguments, int positionalCount,
                                      const QString& missingText)
{
    if (!m_parser.parse(QStringList{m_name} + arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(m_help)) {
        printOut(m_helpText);
        return ExitSuccess;
    }
    const QStringList given = m_parser.positionalArguments();
    if (given.size() > positionalCount)
        return usageError(tr("unexpected argument '%1'").arg(given[positionalCount]));
    if (given.size() < positionalCount)
        return usageError(missingText.isEmpty() ? tr("no plan file given") : missingText);
    return std::nullopt;
}

void CommandLine::message(const QString& text) const
{
    printErr(m_name + QStringLiteral(": ") + text);
}

int CommandLine::refusal(const QString& text) const
{
    message(text);
    return ExitRefused;
}

int CommandLine::usageError(const QString& text) const
{
    printErr(m_name + QStringLiteral(": ") + text);
    printErr(tr("Try '%1 --help'.").arg(m_name));
    return ExitUsage;
}

int CommandLine::fileError(const QString& path, const QString& text) const
{
    printErr(QStringLiteral("%1: %2: %3").arg(m_name, path, text));
    return ExitUsage;
}

bool CommandLine::eachFileItsOwn(const QList<NamedFile>& files) const
{
    for (qsizetype i = 0; i < files.size(); ++i) {
        for (qsizetype j = i + 1; j < files.size(); ++j) {
            if (files::sameFile(files[i].second, files[j].second)) {
                message(tr("%1 (%2) and %3 (%4) name the same file; each needs its own")
                            .arg(files[i].first, files[i].second, files[j].first, files[j].second));
                return false;
            }
        }
    }
    return true;
}

bool loadPlanFile(const CommandLine& commandLine, const QString& path, AppState& state, QString* serialNumber)
{
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents) {
        commandLine.fileError(path, read.error.text);
        return false;
    }
    if (serialNumber)
        *serialNumber = read.contents->serialNumber;
    state.adoptPlanFile(std::move(*read.contents));
    return true;
}

std::optional<int> loadCheckedPlan(const CommandLine& commandLine, const QString& path, AppState& state,
                                   QString* passed)
{
    if (!loadPlanFile(commandLine, path, state))
        return ExitUsage;
    const CheckResult check = runDataCheck(state);
    if (!check.passed)
        return commandLine.refusal(check.message.text);
    if (passed)
        *passed = check.message.text;
    return std::nullopt;
}

QString differenceLine(const PlanDifference& difference, const QString& firstName, const QString& secondName)
{
    const DifferenceWords words{PlanDifferences::tr("settings %1: %2 %3, %4 %5"),
                                PlanDifferences::tr("channel %1, %2: %3 %4, %5 %6"),
                                PlanDifferences::tr("channel %1: only in %2")};
    return differenceText(difference, firstName, secondName, words);
}

std::optional<Band> bandFromText(QStringView text)
{
    if (text == u"144-174")
        return Band::Mhz144to174;
    if (text == u"30-60")
        return Band::Mhz30to60;
    return std::nullopt;
}

QString bandText(Band band)
{
    return band == Band::Mhz30to60 ? QStringLiteral("30-60") : QStringLiteral("144-174");
}

} // namespace yalmera::cli
