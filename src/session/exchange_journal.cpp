#include "exchange_journal.h"

#include "link/link_texts.h"
#include "session/session_texts.h"

#include <QCryptographicHash>

namespace yalmera {

namespace {

// Band code, model and channel count from the header of a stream, as far as it came.
void takeHeader(JournalEntry& entry, Stream stream, const QByteArray& bytes)
{
    const int typeOffset = headerField(HeaderField::TypeCode).offset(stream);
    const int countOffset = headerField(HeaderField::ChannelCount).offset(stream);
    if (bytes.size() > typeOffset) {
        entry.typeCode = static_cast<quint8>(bytes[typeOffset]);
        if (const std::optional<Band> band = bandOfTypeCode(*entry.typeCode))
            entry.model = StationType::forBand(*band).modelCaption();
    }
    if (bytes.size() > countOffset)
        entry.channelCount = static_cast<quint8>(bytes[countOffset]);
    if (!bytes.isEmpty())
        entry.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

UserMessage exchangeMessage(const UserMessage& message, ExchangeOutcome outcome, bool silentWrite)
{
    if (outcome != ExchangeOutcome::TimedOut)
        return message;
    UserMessage said = message;
    if (silentWrite)
        said.text = QStringLiteral("%1 (%2)").arg(texts::link::WriteStationSilent, message.text);
    else if (said.isEmpty())
        said = UserMessage::failure(texts::link::StationSilent.toString());
    return said;
}

QString messageLine(const UserMessage& message)
{
    return QString(message.text).replace(u'\n', QStringLiteral(" — "));
}

QString journalOutcome(ExchangeOutcome outcome)
{
    switch (outcome) {
    case ExchangeOutcome::Completed:
        return texts::session::JournalCompleted.toString();
    case ExchangeOutcome::Refused:
        return texts::session::JournalRefused.toString();
    case ExchangeOutcome::OpenFailed:
        return texts::session::JournalOpenFailed.toString();
    case ExchangeOutcome::TimedOut:
        return texts::session::JournalTimedOut.toString();
    case ExchangeOutcome::LinkFailed:
        return texts::session::JournalLinkFailed.toString();
    case ExchangeOutcome::Cancelled:
        return texts::session::JournalCancelled.toString();
    }
    return {};
}

JournalEntry writeJournalEntry(const WriteRequest& request, const WriteResult& result)
{
    JournalEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.operation = texts::session::JournalWrite.toString();
    entry.port = request.port;
    takeHeader(entry, Stream::Write, request.stream);
    entry.outcome = journalOutcome(result.outcome);
    entry.message = messageLine(result.message);
    entry.replyLatencyMs = result.replyLatencyMs;
    return entry;
}

JournalEntry readJournalEntry(const ReadRequest& request, const ReadResult& result)
{
    JournalEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.operation = texts::session::JournalRead.toString();
    entry.port = request.port;
    takeHeader(entry, Stream::Read, result.received);
    const HeaderFieldLayout& serial = headerField(HeaderField::SerialNumber);
    if (result.readBack)
        entry.serialNumber = result.readBack->serialNumber;
    else if (result.received.size() >= serial.readOffset + serial.width)
        entry.serialNumber =
            QString::fromLatin1(result.received.mid(serial.readOffset, serial.width).toHex().toUpper());
    entry.outcome = journalOutcome(result.outcome);
    entry.message = messageLine(exchangeMessage(result.message, result.outcome));
    entry.replyLatencyMs = result.replyLatencyMs;
    return entry;
}

} // namespace yalmera
