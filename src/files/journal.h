#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/journal_entry.h"
#include "model/user_message.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>

namespace yalmera::files {

// The exchange journal: one CSV line per station write or read, appended as each exchange ends,
// whole or not at all, so a line once written is never rewritten and a failure leaves no part of
// a line. UTF-8 with a byte-order mark, ';' between fields and CR LF, as the channel CSV files
// (what Russian spreadsheets expect); a field holding ';', ',', a quote or a line break is
// quoted. The first line names the columns. Texts that come from the user (port, plan file,
// serial number, messages quoting them) cannot forge lines or formulas: control characters are
// written as \xHH, and a text a spreadsheet would run as a formula gets a single quote first.

// YALMERA_JOURNAL when set, otherwise "journal.csv" in the user's application-data folder
// (~/.local/share/yalmera on Linux, %APPDATA%\yalmera on Windows).
QString defaultJournalPath();

// The captions of the columns and the fields of one entry, in column order: time (ISO 8601 with
// the UTC offset), program version, operation, port, model, band code, channel count, plan file,
// SHA-256 (hexadecimal: of a write, the whole image it sends, also when it stopped early; of a
// read, the bytes received), serial number, outcome, message.
QStringList journalCaptions();
QStringList journalFields(const JournalEntry& entry);

// The entry as its line in the journal, without the line end.
QString journalLine(const JournalEntry& entry);

// YALMERA_JOURNAL_WAIT (whole seconds, 0 or more) when set to one, otherwise 30 s.
std::chrono::milliseconds journalWaitLimit();

// Makes the journal's folder and the file when missing, so that a journal that cannot be written
// is known before an exchange runs. Empty on success, otherwise why not.
UserMessage prepareJournal(const QString& path);

// Appends the entry as one line (the byte-order mark and the caption line first when the file is
// empty), whole or not at all, on a line of its own also after a last line that has no line end
// (which stays as it is). Empty on success, otherwise why not (the system's reason, or another
// program holding the journal for longer than the wait allows) followed by the line itself.
UserMessage appendJournal(const QString& path, const JournalEntry& entry, const JournalWait& wait = {});

// "backups" beside the journal.
QString backupFolder(const QString& journalPath);

struct SavedBackup
{
    QString path;      // the plan file written, when error is empty
    UserMessage error; // otherwise why not
};
// The text as a part of a file name any system the program runs on takes: every character but
// letters, digits and '-' as '_'.
QString fileNamePart(const QString& text);

struct SavedPlanFile
{
    QString path;   // the plan file written, when reason is empty
    QString reason; // otherwise the system's reason
};
// Saves the plan as "<stem>.ini" in folder (made when missing), or as "<stem>_2.ini", "_3", ...
// when that name is taken, also by a plan another program saves at the same moment: none is
// ever replaced.
SavedPlanFile savePlanUnderFreeName(const QString& folder, const QString& stem,
                                    const GeneralSettings& settings, const ChannelTable& table,
                                    quint8 typeCode, quint8 moduleType);

// A plan read from a station, saved as a plan file "<time>_<serial>.ini" in the backups folder
// (created when missing); an earlier backup of the same second gets a number instead of being
// replaced, also one another program saves at the same moment.
SavedBackup saveBackup(const QString& journalPath, const QDateTime& time, const QString& serialNumber,
                       const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                       quint8 moduleType);

} // namespace yalmera::files
