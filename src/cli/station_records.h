#pragma once

#include "cli_support.h"

#include "files/journal.h"
#include "model/journal_entry.h"
#include "session/station_exchanges.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace yalmera {
class ByteTrace;
}

namespace yalmera::cli {

class InterruptStop;

// What a station command keeps of its exchanges: the files it keeps them in (the journal, and the
// byte trace when asked), checked before the station is touched. Problems are said on stderr with
// the command's prefix; a record that could not be written turns a successful command's exit
// code into 4.
class StationRecords
{
    Q_DECLARE_TR_FUNCTIONS(StationRecords)

public:
    explicit StationRecords(const CommandLine& commandLine) : m_commandLine(commandLine) {}
    ~StationRecords();

    // Before any exchange: the journal (journalPath empty: the default), the trace and the
    // command's other files are each a file of their own; the journal must be writable and the
    // trace, when asked for, is opened anew. False after saying why.
    bool prepare(const QString& journalPath, const QString& tracePath, const QList<NamedFile>& others);
    // The same for several stations, each with a trace of its own (tracePaths empty: none).
    bool prepare(const QString& journalPath, const QStringList& tracePaths, const QList<NamedFile>& others);

    std::shared_ptr<ByteTrace> trace(qsizetype station = 0) const { return m_traces.value(station); }
    const QString& journalPath() const { return m_journalPath; }

    // How the command's journal lines wait for another program that holds the journal: at most
    // YALMERA_JOURNAL_WAIT seconds (30) for the whole command, ended at once by the interrupt. The
    // wait is said on stderr when it begins, unless progress lines are drawn there meanwhile
    // (several stations: sayWaiting false).
    JournalWait journalWait(const InterruptStop& interrupt, bool sayWaiting = true) const;

    // Appends the entry to the journal.
    void journal(const JournalEntry& entry);
    // Says what an exchange's records (recordWrite, recordRead, recordVerify) could not keep.
    const ExchangeRecord& keep(const ExchangeRecord& record);
    // Says what a station's records could not keep, as far as not said yet: failures only grows as
    // the station's steps go on.
    void keepFailures(const QList<UserMessage>& failures);

    // The command's exit code: code itself, or ExitJournal when code is ExitSuccess and a record
    // (journal line, backup, trace) could not be written.
    int exitCode(int code);

    // Says that something the command keeps was not written: exitCode then turns success into 4.
    void failed(const QString& text);

private:
    const CommandLine& m_commandLine;
    QString m_journalPath;
    JournalWait m_wait; // its limit and what ran out, shared by every line of the command
    QList<std::shared_ptr<ByteTrace>> m_traces;
    bool m_failed = false;
    qsizetype m_failuresSaid = 0; // of keepFailures
};

} // namespace yalmera::cli
