#pragma once

#include "link/exchange_report.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <memory>

namespace yalmera {

// Every byte of the station exchanges in a text file, for diagnosing an exchange with a real
// station from one file. One tab-separated line per byte:
//
//   time_us  direction  byte  phase  field
//   812345   sent       14    Writing  Command
//   820933   received   06    Writing  reply to Command
//
// time_us is monotonic, in microseconds since the trace was opened; direction is "sent",
// "received" or "discarded" (what arrived before the command byte and was thrown away); byte is
// two hexadecimal digits; phase is the exchange's phase; field is the field of the byte-layout
// table the byte belongs to, counted per direction from the exchange's first byte. Lines starting
// with '#' mark where an exchange begins and how it ends.
//
// The exchange's thread reports to it; it is not thread-safe. Lines are written through a buffer
// that goes to the file at every phase change, at least every 100 ms while bytes flow and when
// the exchange ends, so the trace costs the exchange no system call per byte.
class ByteTrace
{
public:
    enum class Mode { Replace, Append };
    enum class Exchange { Write, Read };

    // Opens path (replaced or appended to); nothing and the reason in *error when it cannot be
    // written.
    static std::unique_ptr<ByteTrace> open(const QString& path, Mode mode, QString* error);
    ~ByteTrace();
    ByteTrace(const ByteTrace&) = delete;
    ByteTrace& operator=(const ByteTrace&) = delete;

    // A new exchange on port: the byte counts start again from 0.
    void beginExchange(Exchange exchange, const QString& port);
    void setPhase(ExchangePhase phase);
    void sent(quint8 byte);
    void received(quint8 byte);
    void discarded(quint8 byte);
    // How the exchange ended, as a closing line; everything goes to the file.
    void endExchange(ExchangeOutcome outcome, const QString& message);

    // The first failure to write the file, empty while there was none.
    QString error() const { return m_error; }

private:
    enum class Direction { Sent, Received, Discarded };
    explicit ByteTrace(const QString& path);
    void line(Direction direction, quint8 byte);
    void comment(const QString& text);
    void flush();

    QFile m_file;
    QElapsedTimer m_clock;
    QByteArray m_buffer;
    qint64 m_flushedAtMs = 0;
    Exchange m_exchange = Exchange::Write;
    ExchangePhase m_phase = ExchangePhase::Idle;
    qint64 m_sentCount = 0;
    qint64 m_receivedCount = 0;
    QString m_error;
};

} // namespace yalmera
