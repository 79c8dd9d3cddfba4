#pragma once

#include "cli_support.h"

#include "link/read_exchange.h"
#include "model/journal_entry.h"

#include <QString>

#include <memory>

namespace yalmera {
class ByteTrace;
}

namespace yalmera::cli {

// What a station command keeps of its exchanges: the journal line of each, the backup of each
// plan read and, when asked, the byte trace. Problems are said on stderr with the command's
// prefix; a record that could not be written turns a successful command's exit code into 4.
class StationRecords
{
public:
    explicit StationRecords(const CommandLine& commandLine) : m_commandLine(commandLine) {}
    ~StationRecords();

    // Before any exchange: the journal (journalPath empty: the default) must be writable and the
    // trace, when asked for, is opened anew. False after saying why.
    bool prepare(const QString& journalPath, const QString& tracePath);

    std::shared_ptr<ByteTrace> trace() const { return m_trace; }
    const QString& journalPath() const { return m_journalPath; }

    // Appends the entry to the journal.
    void journal(const JournalEntry& entry);
    // Saves the plan of a successful read as a backup beside the journal; the file, or empty.
    QString backup(const ReadResult& result);

    // The command's exit code: code itself, or ExitJournal when code is ExitSuccess and a record
    // (journal line, backup, trace) could not be written.
    int exitCode(int code);

private:
    void failed(const QString& text);

    const CommandLine& m_commandLine;
    QString m_journalPath;
    std::shared_ptr<ByteTrace> m_trace;
    bool m_failed = false;
};

} // namespace yalmera::cli
