#include "station_progress.h"

#include "cli_support.h"
#include "link/link_texts.h"
#include "link/serial_link.h"
#include "session/exchange_journal.h"
#include "station_fleet.h"

#include <QCoreApplication>

namespace yalmera::cli {

namespace {

// The progress lines' own texts (translations/yalmera-cli_ru.ts).
class StationProgress
{
    Q_DECLARE_TR_FUNCTIONS(StationProgress)
};

} // namespace

QString stepText(FleetStep step)
{
    switch (step) {
    case FleetStep::Writing:
        return StationProgress::tr("Writing");
    case FleetStep::Verifying:
        return StationProgress::tr("Verifying");
    case FleetStep::Reading:
        return StationProgress::tr("Reading");
    case FleetStep::Ended:
        break;
    }
    return {};
}

QStringView statusText(ExchangePhase phase)
{
    switch (phase) {
    case ExchangePhase::Writing:
        return texts::link::StatusWriting;
    case ExchangePhase::ReadRequest:
    case ExchangePhase::Reading:
        return texts::link::StatusReading;
    case ExchangePhase::NoAnswer:
        return texts::link::StatusNoAnswer;
    case ExchangePhase::Idle:
        break;
    }
    return texts::link::StatusIdle;
}

namespace {

// The station-link window's gauge and status field on stderr: one line redrawn in place on a
// terminal; otherwise (a log, a pipe) one line per status change.
class TerminalProgress final : public ExchangeObserver
{
public:
    explicit TerminalProgress(QString title)
        : m_title(std::move(title)), m_inPlace(isTerminal(StandardStream::Err))
    {
    }
    void gaugeChanged(int value) override
    {
        m_gauge = value;
        if (m_inPlace)
            draw();
    }
    void phaseChanged(ExchangePhase phase) override
    {
        // The window's status texts; the read's two phases share "ПП".
        const QString text = statusText(phase).toString();
        if (text == m_status)
            return;
        m_status = text;
        draw();
        if (!m_inPlace)
            end();
    }

    // Said on a line of its own, the progress line drawn again below it.
    void latencyNoticed(const LatencyNotice& notice) override
    {
        end();
        writeText(StandardStream::Err, notice.text + u'\n');
        if (m_inPlace)
            draw();
    }

    void end()
    {
        if (m_drawn)
            writeText(StandardStream::Err, QStringLiteral("\n"));
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
        writeText(StandardStream::Err, line);
        m_drawn = true;
    }

    QString m_title;
    bool m_inPlace;
    QString m_status;
    int m_gauge = 0;
    bool m_drawn = false;
};

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

int linkFailureExit(const QString& name, ExchangeOutcome outcome, const UserMessage& message,
                    const QString& port, int interruptedExit)
{
    const QString text = exchangeMessage(message, outcome).text;
    // A link failure's port and step stand on a line of their own below the link's text.
    for (const QString& line : text.split(u'\n'))
        printErr(QStringLiteral("%1: %2").arg(name, line));
    if (outcome == ExchangeOutcome::OpenFailed) {
        if (const QString hint = portAccessHint(port); !hint.isEmpty())
            printErr(QStringLiteral("%1: %2").arg(name, hint));
    }
    return exitCodeOf(exchangeEnd(outcome), interruptedExit);
}

} // namespace yalmera::cli
