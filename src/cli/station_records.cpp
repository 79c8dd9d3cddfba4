#include "station_records.h"

#include "files/journal.h"
#include "files/save_target.h"
#include "link/byte_trace.h"

#include <QDir>

namespace yalmera::cli {

StationRecords::~StationRecords() = default;

bool StationRecords::prepare(const QString& journalPath, const QString& tracePath,
                             const QList<NamedFile>& others)
{
    m_journalPath = journalPath.isEmpty() ? files::defaultJournalPath() : journalPath;
    // Opening the trace empties it and the journal is appended to: neither may be another file
    // of the command, nor each other.
    QList<NamedFile> named = others;
    named.append(
        {journalPath.isEmpty() ? QStringLiteral("the journal") : QStringLiteral("--journal"), m_journalPath});
    if (!tracePath.isEmpty())
        named.append({QStringLiteral("--trace"), tracePath});
    for (qsizetype i = 0; i < named.size(); ++i) {
        for (qsizetype j = i + 1; j < named.size(); ++j) {
            if (files::sameFile(named[i].second, named[j].second)) {
                m_commandLine.message(
                    QStringLiteral("%1 (%2) and %3 (%4) name the same file; each needs its own")
                        .arg(named[i].first, named[i].second, named[j].first, named[j].second));
                return false;
            }
        }
    }
    if (const UserMessage refusal = files::prepareJournal(m_journalPath); !refusal.isEmpty()) {
        m_commandLine.message(refusal.text);
        return false;
    }
    if (!tracePath.isEmpty()) {
        QString error;
        m_trace = ByteTrace::open(tracePath, ByteTrace::Mode::Replace, &error);
        if (!m_trace) {
            m_commandLine.fileError(tracePath, error);
            return false;
        }
    }
    return true;
}

void StationRecords::journal(const JournalEntry& entry)
{
    if (const UserMessage failure = files::appendJournal(m_journalPath, entry); !failure.isEmpty())
        failed(failure.text);
}

const ExchangeRecord& StationRecords::keep(const ExchangeRecord& record)
{
    for (const UserMessage& failure : record.failures)
        failed(failure.text);
    return record;
}

int StationRecords::exitCode(int code)
{
    if (m_trace && !m_trace->error().isEmpty()) {
        failed(QStringLiteral("the trace was not written completely: ") + m_trace->error());
        m_trace.reset();
    }
    return code == ExitSuccess && m_failed ? ExitJournal : code;
}

void StationRecords::failed(const QString& text)
{
    m_commandLine.message(text);
    m_failed = true;
}

} // namespace yalmera::cli
