#pragma once

#include "image/read_back.h"
#include "image/station_model.h"
#include "link/exchange_report.h"
#include "link/station_exchange.h"
#include "model/user_message.h"

#include <QMetaType>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

namespace yalmera {

class ByteTrace;

struct ReadRequest
{
    QString port = QStringLiteral("COM2"); // "COM1", "COM2", a port name or a device path
    // The selected model, never null: the line speed and the waits, and the band whose modulus and
    // offset decode a station whose code names no band.
    const StationModel* model = &Yalmera4K17;
    std::shared_ptr<ByteTrace> trace{}; // as WriteRequest::trace
};

struct ReadResult
{
    ExchangeOutcome outcome = ExchangeOutcome::Refused;
    // What to show. Empty after a complete read and after a time-out (the window shows "AK" only).
    UserMessage message;
    std::optional<ReadBack> readBack; // only after a complete, acceptable stream
    int bytesReceived = 0;
    QByteArray received; // the stream's bytes as they came, complete or not
    // The first byte's wait after the command beyond the line's byte times; none before a byte.
    std::optional<double> replyLatencyMs;

    bool ok() const { return outcome == ExchangeOutcome::Completed && readBack.has_value(); }
};

// Runs the read on the calling thread, which it blocks (about 15 s for 99 channels): call it from
// a worker thread. Sends the read command once the line is quiet (SerialLink::awaitQuietLine)
// and a station that may still be inside a write left broken on the port has given it up
// (UnfinishedWrite), which would take the command for a byte of that write; a station that goes
// on sending ends the read as LinkFailed with nothing sent. Receives into a
// buffer of its own; nothing of the program changes. On success the caller applies
// result.readBack with applyReadBack on the thread that owns the state.
ReadResult runReadExchange(const ReadRequest& request, ExchangeObserver& observer,
                           const std::atomic<bool>* stop = nullptr);

// The read on a worker thread, for the window.
class ReadExchange : public StationExchange
{
    Q_OBJECT
public:
    explicit ReadExchange(QObject* parent = nullptr);
    ~ReadExchange() override;

    // Starts the read unless one of this object's exchanges is running (then returns false).
    bool start(const ReadRequest& request);

signals:
    // Connect it to a slot on the state's thread that calls applyReadBack when result.ok().
    void finished(const yalmera::ReadResult& result);
};

} // namespace yalmera

Q_DECLARE_METATYPE(yalmera::ReadResult)
