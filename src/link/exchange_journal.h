#pragma once

#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "model/journal_entry.h"

namespace yalmera {

// The journal line of an exchange, as far as the exchange knows it: the time now, the port, the
// model and band code, the channel count and the SHA-256 of the stream sent (a write: the whole
// image, also when the station took only part of it) or received (a read: what came, with the
// station's serial number when its first three bytes came), the outcome and the message. The
// front end adds the plan file, and for a write the serial number the user gave.
JournalEntry writeJournalEntry(const WriteRequest& request, const WriteResult& result);
JournalEntry readJournalEntry(const ReadRequest& request, const ReadResult& result);

// The journal line of a read that checks a write (yalmera-cli write --verify, "Сверить после
// записи"): the read's, as operation "проверка", and "не совпадает" with the differences
// (writtenDifferences) when the station holds another plan than was written.
JournalEntry verifyJournalEntry(const ReadRequest& request, const ReadResult& result,
                                const QStringList& differences);

// The journal's word for how an exchange ended.
QString journalOutcome(ExchangeOutcome outcome);

} // namespace yalmera
