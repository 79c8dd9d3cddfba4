#pragma once

#include "image/plan_comparison.h"
#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "model/journal_entry.h"
#include "model/user_message.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace yalmera {

class AppState;

// What an exchange with a station takes from the program's state, copied when it starts.
// The write: the image of the last check with the current module type and band code, and the
// selected model.
WriteRequest writeRequest(const AppState& state, const QString& port);
// The read: the selected model, whose band decodes a station whose code names none.
ReadRequest readRequest(const AppState& state, const QString& port);

// What a station is compared with when nothing is written: the program's plan as it stands and
// the image the data check builds from it on its band. The program's own image and gate stay as
// they are (the check runs on a copy). refusal: why the plan cannot be compared (no plan yet, or
// the check's first refusal); then the rest is empty.
struct StationComparisonBasis
{
    ComparedPlan plan;
    DeviceImage checkedImage;
    StationType band;
    UserMessage refusal;
};
StationComparisonBasis stationComparisonBasis(const AppState& state);

// What the window and the command line keep of an exchange that ended, done here once for both:
// its line in the journal and, for a read that brought a plan, a copy of that plan in the backups
// folder beside the journal, saved before the plan replaces anything. A record that cannot be
// written is a message; the exchange's own result stays as it came. The journal line waits for
// another program holding the journal as `wait` allows; one that does not get in is in its
// message.
struct ExchangeRecord
{
    JournalEntry entry;          // the journal line, as appended
    QString backup;              // the plan read, as saved; empty when none was
    QList<UserMessage> failures; // what could not be written, in order: the backup, the journal line
};

// A write that ended: planFile, the file the checked plan was read from or saved to (empty for a
// plan from elsewhere); serialNumber, the station's as the user gave it.
ExchangeRecord recordWrite(const QString& journalPath, const WriteRequest& request, const WriteResult& result,
                           const QString& planFile, const QString& serialNumber,
                           const JournalWait& wait = {});
// A read that ended: planFile, the file its plan goes to; empty when the plan replaces the
// program's, and the backup then names it.
ExchangeRecord recordRead(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                          const QString& planFile, const JournalWait& wait = {});
// A read that checks a write (yalmera-cli write --verify): its line names the plan file written
// and, as "не совпадает", the differences of the station's plan (writtenDifferences).
ExchangeRecord recordVerify(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                            const QString& planFile, const QStringList& differences,
                            const JournalWait& wait = {});
// A read that compares a station with a plan file it was not written from (yalmera-cli verify):
// as recordVerify, its operation "сверка".
ExchangeRecord recordAudit(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                           const QString& planFile, const QStringList& differences,
                           const JournalWait& wait = {});
// A protocol made for a written station: the write's line (written) with the serial number, the
// time now, operation "протокол" and, as its message, the protocol file or why it was not saved.
ExchangeRecord recordProtocol(const QString& journalPath, const JournalEntry& written,
                              const QString& serialNumber, const QString& savedPath, const UserMessage& error,
                              const JournalWait& wait = {});

} // namespace yalmera
