#include "byte_trace.h"

#include "image/device_image.h"
#include "model/version.h"
#include "model/whole_file.h"

#include <QDateTime>

namespace yalmera {

namespace {

// Lines wait in the buffer at most this long while bytes flow.
constexpr qint64 FlushIntervalMs = 100;

const char* phaseName(ExchangePhase phase)
{
    switch (phase) {
    case ExchangePhase::Idle:
        return "Idle";
    case ExchangePhase::Writing:
        return "Writing";
    case ExchangePhase::ReadRequest:
        return "ReadRequest";
    case ExchangePhase::Reading:
        return "Reading";
    case ExchangePhase::NoAnswer:
        return "NoAnswer";
    }
    return "";
}

const char* outcomeName(ExchangeOutcome outcome)
{
    switch (outcome) {
    case ExchangeOutcome::Completed:
        return "Completed";
    case ExchangeOutcome::Refused:
        return "Refused";
    case ExchangeOutcome::OpenFailed:
        return "OpenFailed";
    case ExchangeOutcome::TimedOut:
        return "TimedOut";
    case ExchangeOutcome::LinkFailed:
        return "LinkFailed";
    case ExchangeOutcome::Cancelled:
        return "Cancelled";
    }
    return "";
}

} // namespace

ByteTrace::ByteTrace(const QString& path) : m_file(path) {}

std::unique_ptr<ByteTrace> ByteTrace::open(const QString& path, Mode mode, QString* error)
{
    // A FIFO would block the open; a device is no trace file.
    if (QString refusal = saveTargetRefusal(path); !refusal.isEmpty()) {
        *error = refusal;
        return nullptr;
    }
    std::unique_ptr<ByteTrace> trace(new ByteTrace(path));
    const QIODevice::OpenMode openMode = QIODevice::WriteOnly | QIODevice::Text |
                                         (mode == Mode::Append ? QIODevice::Append : QIODevice::Truncate);
    if (!trace->m_file.open(openMode)) {
        *error = trace->m_file.errorString();
        return nullptr;
    }
    trace->m_clock.start();
    trace->comment(QStringLiteral("yalmera %1 byte trace, opened %2; time_us counts from then")
                       .arg(QString::fromLatin1(ProgramVersion),
                            QDateTime::currentDateTime()
                                .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                                .toString(Qt::ISODate)));
    trace->comment(QStringLiteral("time_us\tdirection\tbyte\tphase\tfield"));
    trace->flush();
    return trace;
}

ByteTrace::~ByteTrace()
{
    flush();
}

void ByteTrace::beginExchange(Exchange exchange, const QString& port)
{
    m_exchange = exchange;
    m_sentCount = 0;
    m_receivedCount = 0;
    comment(QStringLiteral("%1 exchange on %2")
                .arg(exchange == Exchange::Write ? QStringLiteral("write") : QStringLiteral("read"), port));
}

void ByteTrace::setPhase(ExchangePhase phase)
{
    m_phase = phase;
    flush();
}

void ByteTrace::sent(quint8 byte)
{
    line(Direction::Sent, byte);
}

void ByteTrace::received(quint8 byte)
{
    line(Direction::Received, byte);
}

void ByteTrace::discarded(quint8 byte)
{
    line(Direction::Discarded, byte);
}

void ByteTrace::endExchange(ExchangeOutcome outcome, const QString& message)
{
    comment(QStringLiteral("end: %1, %2 sent, %3 received%4")
                .arg(QString::fromLatin1(outcomeName(outcome)))
                .arg(m_sentCount)
                .arg(m_receivedCount)
                .arg(message.isEmpty() ? QString() : QStringLiteral(": ") + message));
    flush();
}

void ByteTrace::line(Direction direction, quint8 byte)
{
    const qint64 micros = m_clock.nsecsElapsed() / 1000;
    QString field;
    const char* name = "";
    switch (direction) {
    case Direction::Sent:
        name = "sent";
        field = m_exchange == Exchange::Write ? fieldAtByte(Stream::Write, m_sentCount)
                                              : QStringLiteral("ReadCommand");
        ++m_sentCount;
        break;
    case Direction::Received:
        name = "received";
        // The write's replies answer the sent bytes one by one; the read's bytes are its stream.
        field = m_exchange == Exchange::Write
                    ? QStringLiteral("reply to ") + fieldAtByte(Stream::Write, m_receivedCount)
                    : fieldAtByte(Stream::Read, m_receivedCount);
        ++m_receivedCount;
        break;
    case Direction::Discarded:
        name = "discarded";
        field = QStringLiteral("before the command byte");
        break;
    }
    m_buffer += QByteArray::number(micros);
    m_buffer += '\t';
    m_buffer += name;
    m_buffer += '\t';
    m_buffer += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    m_buffer += '\t';
    m_buffer += phaseName(m_phase);
    m_buffer += '\t';
    m_buffer += field.toUtf8();
    m_buffer += '\n';
    if (micros / 1000 - m_flushedAtMs >= FlushIntervalMs)
        flush();
}

void ByteTrace::comment(const QString& text)
{
    m_buffer += "# " + text.toUtf8() + '\n';
}

void ByteTrace::flush()
{
    m_flushedAtMs = m_clock.elapsed();
    if (m_buffer.isEmpty() || !m_file.isOpen())
        return;
    if (m_file.write(m_buffer) != m_buffer.size() || !m_file.flush()) {
        if (m_error.isEmpty())
            m_error = m_file.errorString();
    }
    m_buffer.clear();
}

} // namespace yalmera
