#include "station_records.h"

#include "files/journal.h"
#include "link/byte_trace.h"

#include <QDateTime>
#include <QDir>

namespace yalmera::cli {

StationRecords::~StationRecords() = default;

bool StationRecords::prepare(const QString& journalPath, const QString& tracePath)
{
    m_journalPath = journalPath.isEmpty() ? files::defaultJournalPath() : journalPath;
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

QString StationRecords::backup(const ReadResult& result)
{
    if (!result.readBack)
        return {};
    const ReadBack& read = *result.readBack;
    const files::SavedBackup saved =
        files::saveBackup(m_journalPath, QDateTime::currentDateTime(), read.serialNumber, read.settings,
                          read.table, read.typeCode, read.moduleType);
    if (!saved.error.isEmpty())
        failed(saved.error.text);
    return saved.path;
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
