#include "byte_trace.h"

#include "files/whole_file.h"
#include "image/device_image.h"
#include "model/system_error.h"
#include "model/version.h"

#include <QDateTime>

#include <algorithm>
#include <array>

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

// The field of every byte of a stream as the trace writes it, built on first use so that a line
// costs the exchange no formatting beyond its number.
QByteArray fieldName(Stream stream, qint64 index)
{
    static const std::array<QList<QByteArray>, 2> names = [] {
        std::array<QList<QByteArray>, 2> built;
        for (const Stream s : {Stream::Write, Stream::Read}) {
            QList<QByteArray>& list = built[s == Stream::Write ? 0 : 1];
            for (int i = 0; i <= streamSize(s, MaxRecords); ++i)
                list.append(fieldAtByte(s, i).toUtf8());
        }
        return built;
    }();
    const QList<QByteArray>& list = names[stream == Stream::Write ? 0 : 1];
    return list[static_cast<qsizetype>(std::min<qint64>(index, list.size() - 1))];
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
    // LF line ends on every platform: one format for the tools that read traces.
    const QIODevice::OpenMode openMode =
        QIODevice::WriteOnly | (mode == Mode::Append ? QIODevice::Append : QIODevice::Truncate);
    if (!trace->m_file.open(openMode)) {
        *error = systemErrorText(trace->m_file.errorString());
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
    static constexpr char Hex[] = "0123456789ABCDEF";
    const qint64 micros = m_clock.nsecsElapsed() / 1000;
    m_buffer += QByteArray::number(micros);
    switch (direction) {
    case Direction::Sent:
        m_buffer += "\tsent\t";
        break;
    case Direction::Received:
        m_buffer += "\treceived\t";
        break;
    case Direction::Discarded:
        m_buffer += "\tdiscarded\t";
        break;
    }
    m_buffer += Hex[byte >> 4];
    m_buffer += Hex[byte & 0x0F];
    m_buffer += '\t';
    m_buffer += phaseName(m_phase);
    m_buffer += '\t';
    switch (direction) {
    case Direction::Sent:
        m_buffer += m_exchange == Exchange::Write ? fieldName(Stream::Write, m_sentCount) : "ReadCommand";
        ++m_sentCount;
        break;
    case Direction::Received:
        // The write's replies answer the sent bytes one by one; the read's bytes are its stream.
        if (m_exchange == Exchange::Write)
            m_buffer += "reply to " + fieldName(Stream::Write, m_receivedCount);
        else
            m_buffer += fieldName(Stream::Read, m_receivedCount);
        ++m_receivedCount;
        break;
    case Direction::Discarded:
        m_buffer += "before the command byte";
        break;
    }
    m_buffer += '\n';
    if (micros / 1000 - m_flushedAtMs >= FlushIntervalMs)
        flush();
}

void ByteTrace::comment(const QString& text)
{
    // A message of several lines stays a comment to its end.
    for (const QString& line : text.split(u'\n'))
        m_buffer += "# " + line.toUtf8() + '\n';
}

void ByteTrace::flush()
{
    m_flushedAtMs = m_clock.elapsed();
    if (m_buffer.isEmpty() || !m_file.isOpen())
        return;
    if (m_file.write(m_buffer) != m_buffer.size() || !m_file.flush()) {
        if (m_error.isEmpty())
            m_error = systemErrorText(m_file.errorString());
    }
    m_buffer.clear();
}

} // namespace yalmera
