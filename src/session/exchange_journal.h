#pragma once

#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "model/journal_entry.h"

namespace yalmera {

// The journal line of an exchange, as far as the exchange knows it: the time now, the port, the
// model and band code, the channel count and the SHA-256 of the stream sent (a write: the whole
// image, also when the station took only part of it) or received (a read: what came, with the
// station's serial number when its first three bytes came), the outcome and the message.
// recordWrite and recordRead (station_exchanges.h) add the plan file and the serial number.
JournalEntry writeJournalEntry(const WriteRequest& request, const WriteResult& result);
JournalEntry readJournalEntry(const ReadRequest& request, const ReadResult& result);

// The journal's word for how an exchange ended.
QString journalOutcome(ExchangeOutcome outcome);

// What an exchange that ended says, in the words every window and command gives it: for a station
// that fell silent without a message the plain words for it, and for a write it fell silent in
// (silentWrite: a timed-out write whose last byte was answered) those words before the message.
UserMessage exchangeMessage(const UserMessage& message, ExchangeOutcome outcome, bool silentWrite = false);

// An exchange's message on one line, for the journal and a table of stations: a link failure's
// port and step follow its text after " — ".
QString messageLine(const UserMessage& message);

} // namespace yalmera
