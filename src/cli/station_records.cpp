#include "station_records.h"

#include "files/journal.h"
#include "interrupt_stop.h"
#include "link/byte_trace.h"

#include <QDir>

namespace yalmera::cli {

StationRecords::~StationRecords() = default;

bool StationRecords::prepare(const QString& journalPath, const QString& tracePath,
                             const QList<NamedFile>& others)
{
    return prepare(journalPath, tracePath.isEmpty() ? QStringList() : QStringList{tracePath}, others);
}

bool StationRecords::prepare(const QString& journalPath, const QStringList& tracePaths,
                             const QList<NamedFile>& others)
{
    m_journalPath = journalPath.isEmpty() ? files::defaultJournalPath() : journalPath;
    m_wait.limit = files::journalWaitLimit();
    // Opening the trace empties it and the journal is appended to: neither may be another file
    // of the command, nor each other.
    QList<NamedFile> named = others;
    named.append({journalPath.isEmpty() ? tr("the journal") : QStringLiteral("--journal"), m_journalPath});
    for (const QString& tracePath : tracePaths)
        named.append({QStringLiteral("--trace"), tracePath});
    if (!m_commandLine.eachFileItsOwn(named))
        return false;
    if (const UserMessage refusal = files::prepareJournal(m_journalPath); !refusal.isEmpty()) {
        m_commandLine.message(refusal.text);
        return false;
    }
    for (const QString& tracePath : tracePaths) {
        QString error;
        m_traces.append(ByteTrace::open(tracePath, ByteTrace::Mode::Replace, &error));
        if (!m_traces.last()) {
            m_commandLine.fileError(tracePath, error);
            return false;
        }
    }
    return true;
}

JournalWait StationRecords::journalWait(const InterruptStop& interrupt, bool sayWaiting) const
{
    JournalWait wait = m_wait;
    wait.stop = interrupt.flag();
    if (sayWaiting) {
        // Said once another program has held the journal for a second: another append holds it
        // a moment only.
        wait.waiting = [this, said = std::make_shared<bool>(false)](std::chrono::milliseconds waited) {
            if (waited.count() == 0)
                *said = false;
            if (*said || waited < std::chrono::seconds(1))
                return;
            *said = true;
            m_commandLine.message(
                tr("the journal %1 is held by another program; waiting for it up to %2 s (Ctrl-C "
                   "stops the wait)")
                    .arg(QDir::toNativeSeparators(m_journalPath))
                    .arg(std::chrono::duration_cast<std::chrono::seconds>(m_wait.limit).count()));
        };
    }
    return wait;
}

void StationRecords::journal(const JournalEntry& entry)
{
    if (const UserMessage failure = files::appendJournal(m_journalPath, entry, m_wait); !failure.isEmpty())
        failed(failure.text);
}

const ExchangeRecord& StationRecords::keep(const ExchangeRecord& record)
{
    for (const UserMessage& failure : record.failures)
        failed(failure.text);
    return record;
}

void StationRecords::keepFailures(const QList<UserMessage>& failures)
{
    for (; m_failuresSaid < failures.size(); ++m_failuresSaid)
        failed(failures[m_failuresSaid].text);
}

int StationRecords::exitCode(int code)
{
    for (std::shared_ptr<ByteTrace>& trace : m_traces) {
        if (trace && !trace->error().isEmpty()) {
            failed(tr("the trace was not written completely: %1").arg(trace->error()));
            trace.reset();
        }
    }
    return code == ExitSuccess && m_failed ? ExitJournal : code;
}

void StationRecords::failed(const QString& text)
{
    m_commandLine.message(text);
    m_failed = true;
}

} // namespace yalmera::cli
