#include "cli_support.h"

#include "files/plan_file.h"
#include "image/app_state.h"
#include "link/exchange_report.h"
#include "link/link_texts.h"
#include "link/read_exchange.h"

#include <QCommandLineParser>
#include <QThread>

#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace yalmera::cli {

// Shared with write_command.cpp, which declares them.
std::unique_ptr<ExchangeObserver> makeTerminalProgress(const QString& title);
void endTerminalProgress(ExchangeObserver& progress);
ReadResult readStationShowingProgress(const ReadRequest& request);
int linkFailureExit(const QString& name, ExchangeOutcome outcome, const UserMessage& message);

namespace {

const QString Name = QStringLiteral("yalmera-cli read");

bool stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

// The station-link window's gauge and status field on stderr: one line redrawn in place on a
// terminal; otherwise (a log, a pipe) one line per status change.
class TerminalProgress final : public ExchangeObserver
{
public:
    explicit TerminalProgress(QString title) : m_title(std::move(title)), m_inPlace(stderrIsTerminal()) {}
    void gaugeChanged(int value) override
    {
        m_gauge = value;
        if (m_inPlace)
            draw();
    }
    void statusChanged(const QString& text) override
    {
        m_status = text;
        draw();
        if (!m_inPlace)
            end();
    }
    void buttonsChanged(const LinkButtons&) override {}

    void end()
    {
        if (m_drawn)
            std::fputc('\n', stderr);
        m_drawn = false;
    }

private:
    void draw()
    {
        constexpr int Width = 30;
        const int filled = (m_gauge * Width + 50) / 100;
        const QString line = QStringLiteral("%1%2 [%3%4] %5% %6")
                                 .arg(m_inPlace ? QStringLiteral("\r") : QString())
                                 .arg(m_title, QString(filled, u'#'), QString(Width - filled, u'.'))
                                 .arg(m_gauge, 3)
                                 .arg(m_status.leftJustified(3));
        const QByteArray bytes = line.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
        std::fflush(stderr);
        m_drawn = true;
    }

    QString m_title;
    bool m_inPlace;
    QString m_status;
    int m_gauge = 0;
    bool m_drawn = false;
};

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli read --port PORT -o PLAN.ini [--band 144-174|30-60]\n"
        "\n"
        "Reads the plan a station holds, as \"Чтение данных \" does, and saves it as a channel-plan\n"
        "file whose \"Тип\" and \"ТипВУ\" are the station's band code and module type. The\n"
        "frequencies are decoded with the band given (the band selected in the program), 144-174\n"
        "MHz unless told otherwise. Nothing is written when the read fails.\n"
        "\n"
        "Options:\n"
        "  --port PORT          COM1, COM2 (the first and second serial port), a port name such\n"
        "                       as ttyUSB0, or a device path such as /dev/pts/3\n"
        "  -o, --output FILE    the plan file to write\n"
        "  --band BAND          144-174 (default) or 30-60\n"
        "  -h, --help           this text\n"
        "\n"
        "Exit codes: 0 the plan was saved; 1 the station's data were refused; 2 usage or file\n"
        "error; 3 station link failure (port, silence). Messages on stderr.");
}

int usageError(const QString& text)
{
    printErr(Name + QStringLiteral(": ") + text);
    printErr(QStringLiteral("Try 'yalmera-cli read --help'."));
    return ExitUsage;
}

} // namespace

std::unique_ptr<ExchangeObserver> makeTerminalProgress(const QString& title)
{
    return std::make_unique<TerminalProgress>(title);
}

void endTerminalProgress(ExchangeObserver& progress)
{
    if (auto* terminal = dynamic_cast<TerminalProgress*>(&progress))
        terminal->end();
}

ReadResult readStationShowingProgress(const ReadRequest& request)
{
    // The exchange blocks its thread for the whole read, as it does under the window.
    const std::unique_ptr<ExchangeObserver> progress = makeTerminalProgress(QStringLiteral("Чтение"));
    ReadResult result;
    std::unique_ptr<QThread> worker(QThread::create([&] { result = runReadExchange(request, *progress); }));
    worker->start();
    worker->wait();
    endTerminalProgress(*progress);
    return result;
}

int linkFailureExit(const QString& name, ExchangeOutcome outcome, const UserMessage& message)
{
    QString text = message.text;
    if (text.isEmpty() && outcome == ExchangeOutcome::TimedOut)
        text = linktext::StationSilent.toString();
    printErr(QStringLiteral("%1: %2").arg(name, text));
    return outcome == ExchangeOutcome::Refused ? ExitRefused : ExitLink;
}

int runRead(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("PORT"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    const QCommandLineOption band(QStringLiteral("band"), {}, QStringLiteral("BAND"),
                                  QStringLiteral("144-174"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({port, output, band, help});
    if (!parser.parse(QStringList{Name} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        printOut(helpText());
        return ExitSuccess;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    if (parser.value(port).isEmpty())
        return usageError(QStringLiteral("no port given (--port PORT)"));
    const QString outputPath = parser.value(output);
    if (outputPath.isEmpty())
        return usageError(QStringLiteral("no output file given (-o PLAN.ini)"));

    AppState state;
    const QString bandText = parser.value(band);
    if (bandText == u"144-174")
        state.selectBand(Band::Mhz144to174);
    else if (bandText == u"30-60")
        state.selectBand(Band::Mhz30to60);
    else
        return usageError(QStringLiteral("unknown band '%1' (144-174 or 30-60)").arg(bandText));

    const ReadResult result = readStationShowingProgress({parser.value(port), state.stationType});
    if (!result.ok())
        return linkFailureExit(Name, result.outcome, result.message);

    applyReadBack(state, *result.readBack);
    const UserMessage saved = files::writePlanFile(outputPath, state.settings, state.table,
                                                   state.stationType.typeCode, state.moduleType);
    if (!saved.isEmpty()) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, outputPath, saved.text));
        return ExitUsage;
    }
    printOut(QStringLiteral("Station %1: %2 channel(s) saved to %3")
                 .arg(result.readBack->serialNumber)
                 .arg(state.table.channelCount())
                 .arg(outputPath));
    return ExitSuccess;
}

} // namespace yalmera::cli
