#include "cli_support.h"

#include "files/plan_file.h"
#include "image/app_state.h"

#include <cstdio>

namespace yalmera::cli {

namespace {

void printLine(const QString& text, FILE* stream)
{
    const QByteArray bytes = terminalSafe(text).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

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
    printLine(text, stdout);
}

void printErr(const QString& text)
{
    printLine(text, stderr);
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
                                      const QString& positionalName)
{
    if (!m_parser.parse(QStringList{m_name} + arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(m_help)) {
        printOut(m_helpText);
        return ExitSuccess;
    }
    const QStringList given = m_parser.positionalArguments();
    if (given.size() > positionalCount)
        return usageError(QStringLiteral("unexpected argument '%1'").arg(given[positionalCount]));
    if (given.size() < positionalCount)
        return usageError(QStringLiteral("no %1 given").arg(positionalName));
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
    printErr(QStringLiteral("Try '%1 --help'.").arg(m_name));
    return ExitUsage;
}

int CommandLine::fileError(const QString& path, const QString& text) const
{
    printErr(QStringLiteral("%1: %2: %3").arg(m_name, path, text));
    return ExitUsage;
}

bool loadPlanFile(const CommandLine& commandLine, const QString& path, AppState& state)
{
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents) {
        commandLine.fileError(path, read.error.text);
        return false;
    }
    state.adoptPlanFile(std::move(*read.contents));
    return true;
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
