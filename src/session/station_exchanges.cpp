#include "station_exchanges.h"

#include "files/journal.h"
#include "image/data_check.h"
#include "session/app_state.h"
#include "session/exchange_journal.h"
#include "session/session_texts.h"

#include <QDateTime>
#include <QDir>

namespace yalmera {

namespace {

// Saves what the station held beside the journal; nothing for a read that brought no plan.
void keepBackup(ExchangeRecord& record, const QString& journalPath, const ReadResult& result)
{
    if (!result.readBack)
        return;
    const ReadBack& read = *result.readBack;
    const files::SavedBackup saved =
        files::saveBackup(journalPath, QDateTime::currentDateTime(), read.serialNumber, read.settings,
                          read.table, read.typeCode, read.moduleType);
    record.backup = saved.path;
    if (!saved.error.isEmpty())
        record.failures.append(saved.error);
}

void keepEntry(ExchangeRecord& record, const QString& journalPath, const JournalWait& wait)
{
    if (const UserMessage failure = files::appendJournal(journalPath, record.entry, wait); !failure.isEmpty())
        record.failures.append(failure);
}

} // namespace

WriteRequest writeRequest(const AppState& state, const QString& port)
{
    WriteRequest request;
    request.port = port;
    request.model = &stationModel(state.stationType().band);
    request.dataChecked = state.dataChecked();
    request.stream = state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    return request;
}

ReadRequest readRequest(const AppState& state, const QString& port)
{
    ReadRequest request;
    request.port = port;
    request.model = &stationModel(state.stationType().band);
    return request;
}

StationComparisonBasis stationComparisonBasis(const AppState& state)
{
    StationComparisonBasis basis;
    if (!state.tableCreated()) {
        basis.refusal = UserMessage::notice(texts::session::NothingToCompare.toString());
        return basis;
    }
    PlanCheck check = checkPlan(state.settings(), state.table(), state.stationType());
    if (!check.result.passed) {
        basis.refusal = check.result.message;
        basis.refusal.text = texts::session::CompareRefused.toString().arg(basis.refusal.text);
        return basis;
    }
    basis.plan = {state.settings(), state.table(), state.stationType().typeCode,
                  moduleCode(state.moduleType())};
    basis.checkedImage = std::move(check.image);
    basis.band = state.stationType();
    return basis;
}

ExchangeRecord recordWrite(const QString& journalPath, const WriteRequest& request, const WriteResult& result,
                           const QString& planFile, const QString& serialNumber, const JournalWait& wait)
{
    ExchangeRecord record;
    record.entry = writeJournalEntry(request, result);
    record.entry.planFile = planFile;
    record.entry.serialNumber = serialNumber;
    keepEntry(record, journalPath, wait);
    return record;
}

ExchangeRecord recordRead(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                          const QString& planFile, const JournalWait& wait)
{
    ExchangeRecord record;
    // What the station held is kept before anything else happens to it.
    keepBackup(record, journalPath, result);
    record.entry = readJournalEntry(request, result);
    record.entry.planFile = planFile.isEmpty() ? record.backup : planFile;
    keepEntry(record, journalPath, wait);
    return record;
}

namespace {

ExchangeRecord recordComparingRead(QStringView operation, const QString& journalPath,
                                   const ReadRequest& request, const ReadResult& result,
                                   const QString& planFile, const QStringList& differences,
                                   const JournalWait& wait)
{
    ExchangeRecord record;
    keepBackup(record, journalPath, result);
    record.entry = readJournalEntry(request, result);
    record.entry.operation = operation.toString();
    record.entry.planFile = planFile;
    if (!differences.isEmpty()) {
        record.entry.outcome = texts::session::JournalDiffers.toString();
        record.entry.message = differences.join(QStringLiteral("; "));
    }
    keepEntry(record, journalPath, wait);
    return record;
}

} // namespace

ExchangeRecord recordVerify(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                            const QString& planFile, const QStringList& differences, const JournalWait& wait)
{
    return recordComparingRead(texts::session::JournalVerify, journalPath, request, result, planFile,
                               differences, wait);
}

ExchangeRecord recordAudit(const QString& journalPath, const ReadRequest& request, const ReadResult& result,
                           const QString& planFile, const QStringList& differences, const JournalWait& wait)
{
    return recordComparingRead(texts::session::JournalAudit, journalPath, request, result, planFile,
                               differences, wait);
}

ExchangeRecord recordProtocol(const QString& journalPath, const JournalEntry& written,
                              const QString& serialNumber, const QString& savedPath, const UserMessage& error,
                              const JournalWait& wait)
{
    ExchangeRecord record;
    record.entry = written;
    record.entry.serialNumber = serialNumber;
    record.entry.time = QDateTime::currentDateTime();
    record.entry.operation = texts::session::JournalProtocol.toString();
    record.entry.outcome =
        journalOutcome(error.isEmpty() ? ExchangeOutcome::Completed : ExchangeOutcome::Refused);
    record.entry.message = error.isEmpty() ? QDir::toNativeSeparators(savedPath) : error.text;
    keepEntry(record, journalPath, wait);
    return record;
}

} // namespace yalmera
