#pragma once

#include "image/station_model.h"
#include "link/exchange_report.h"
#include "link/station_exchange.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

namespace yalmera {

class ByteTrace;

// Everything the write needs, copied from the program's state when it starts, so the exchange
// can run on its own thread while the windows go on.
struct WriteRequest
{
    QString port = QStringLiteral("COM2");    // "COM1", "COM2", a port name or a device path
    const StationModel* model = &Yalmera4K17; // the selected model, never null: line speed, waits
    bool dataChecked = false;
    QByteArray stream; // the write stream, command byte 0x14 first: 26 + 18 x ChannelCount bytes
    // Where every byte of the exchange is recorded; none when null. Used on the exchange's thread
    // only, and shared so that a request may be copied to it.
    std::shared_ptr<ByteTrace> trace{};
};

struct WriteResult
{
    ExchangeOutcome outcome = ExchangeOutcome::Refused;
    UserMessage message; // what to show; empty after a complete write
    int bytesSent = 0;   // bytes handed to the line
    int repliesReceived = 0;
    // TimedOut at the last byte's reply: no byte followed whose failure would tell, so the message
    // is the exchange's own (LastByteUnanswered), not the line's.
    bool lastByteUnanswered = false;
    // The station's reply latency beyond the line's byte times, from the first replies; none
    // before a reply was timed.
    std::optional<double> replyLatencyMs;

    bool ok() const { return outcome == ExchangeOutcome::Completed; }
};

// Runs the write on the calling thread, which it blocks for the whole exchange (about 30 s for
// 99 channels at 1200 baud): call it from a worker thread, never from the window's thread.
// The command byte goes out once the line is quiet (SerialLink::awaitQuietLine), a write left
// broken on the port has certainly been given up by the station (UnfinishedWrite) and what is
// still in the input has been discarded, so a reply left over from an interrupted exchange is
// never taken for the first acknowledgement; a station that goes on sending ends the write as
// LinkFailed with nothing sent and the window idle ("- -"). A reply byte that waits before a byte
// goes out, or after the last, ends the write as LinkFailed with "AK" (LineFlooded): the station
// answers each byte once. Until it ends complete, the write leaves its record on the port.
// Reports gauge, status and buttons to the observer in the order the window shows them.
// A set stop flag ends the exchange at the next byte (outcome Cancelled; the message says whether
// the station got part of the plan).
WriteResult runWriteExchange(const WriteRequest& request, ExchangeObserver& observer,
                             const std::atomic<bool>* stop = nullptr);

// The write on a worker thread, for the window: the signals of StationExchange arrive on the
// thread this object lives on, then finished().
class WriteExchange : public StationExchange
{
    Q_OBJECT
public:
    explicit WriteExchange(QObject* parent = nullptr);
    ~WriteExchange() override;

    // Starts the write unless one of this object's exchanges is running (then returns false).
    // A request without dataChecked is refused at once: finished() follows with the refusal,
    // no port is touched and no status changes.
    bool start(const WriteRequest& request);

signals:
    void finished(const yalmera::WriteResult& result);
};

} // namespace yalmera

Q_DECLARE_METATYPE(yalmera::WriteResult)
