#include "write_exchange.h"

#include "link/byte_trace.h"
#include "link/link_session.h"
#include "link/link_texts.h"
#include "model/number_text.h"

#include <QDateTime>
#include <QThread>

#include <algorithm>
#include <optional>

namespace yalmera {

namespace {

// Gauge positions of the header: after BrightnessCode..SpecialChannelIndex, after the tone codes.
constexpr int AfterFirstFields = headerField(HeaderField::ToneCode, 0).writeOffset; // 6 bytes sent
constexpr int AfterToneCodes = headerField(HeaderField::IdCode).writeOffset;        // 16 bytes sent
constexpr int HeaderSize = headerSize(Stream::Write);

static_assert(std::ranges::all_of(StationModels,
                                  [](const StationModel* model) {
                                      return model->timings.stationAbandon + model->timings.abandonMargin ==
                                             std::chrono::milliseconds(1250);
                                  }),
              "the message of a stopped write names the wait");

// An unchecked plan never reaches the port.
WriteResult notCheckedResult()
{
    WriteResult refused;
    refused.outcome = ExchangeOutcome::Refused;
    refused.message = UserMessage::notice(texts::link::NotChecked.toString());
    return refused;
}

} // namespace

WriteResult runWriteExchange(const WriteRequest& request, ExchangeObserver& observer,
                             const std::atomic<bool>* stop)
{
    if (!request.dataChecked)
        return notCheckedResult();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now(); // the write's time counts from here, as the user's
    WriteResult result;
    const QByteArray& stream = request.stream;
    const int total = static_cast<int>(stream.size());
    const int channelCount = total > HeaderSize ? (total - HeaderSize) / RecordSize : 0;

    LinkSession session(request.port, *request.model, observer, ExchangePhase::Writing, request.trace.get());
    SerialLink& link = session.link();
    bool begun = false;
    qint64 lastByteSent = -1; // ms since 1970 (UTC)
    const auto ended = [&](ExchangeOutcome outcome, UserMessage message) {
        if (begun)
            session.writeEnded(outcome == ExchangeOutcome::Completed, lastByteSent);
        result.outcome = outcome;
        result.message = std::move(message);
        if (request.trace)
            request.trace->endExchange(outcome, result.message.text);
        return result;
    };
    const auto stopped = [stop] { return stop && *stop; };

    if (UserMessage failure = session.open(); !failure.isEmpty())
        return ended(ExchangeOutcome::OpenFailed, failure);
    if (!session.awaitLineFree(stop)) {
        if (stopped())
            return ended(ExchangeOutcome::Cancelled, UserMessage::failure(texts::link::Cancelled.toString()));
        return ended(ExchangeOutcome::LinkFailed, UserMessage::failure(texts::link::StillSending.toString()));
    }
    // A byte arriving as the quiet wait ended would otherwise count as the command's reply, and
    // every later reply would answer the byte before.
    link.flushInput();
    observer.gaugeChanged(0);
    session.writeBegins();
    begun = true;
    // The station answers each byte once: a byte that waits before the next goes out answers
    // none of ours. Counted as replies, such bytes would let the write run ahead of the station.
    const auto flooded = [&] {
        session.enter(ExchangePhase::NoAnswer);
        return ended(ExchangeOutcome::LinkFailed, UserMessage::failure(texts::link::LineFlooded.toString()));
    };

    using std::chrono::duration_cast;
    using std::chrono::microseconds;
    const std::chrono::milliseconds pause = request.model->timings.headerRecordPause;
    ReplyLatencyMeter latency(request.model->timings, total,
                              total > HeaderSize ? pause : std::chrono::milliseconds(0),
                              duration_cast<microseconds>(Clock::now() - start), request.port);
    for (int i = 0; i < total; ++i) {
        if (stopped()) {
            const QStringView text =
                result.bytesSent > 0 ? texts::link::WriteCancelled : texts::link::Cancelled;
            return ended(ExchangeOutcome::Cancelled, UserMessage::failure(text.toString()));
        }
        if (link.byteReady())
            return flooded();
        if (UserMessage failure = link.putByte(static_cast<quint8>(stream[i])); !failure.isEmpty()) {
            // After a missed reply this is "ie_NOpen - device not open": the station is already
            // lost. Any other failure of the line ends the same way.
            const bool silent = result.repliesReceived < result.bytesSent;
            session.enter(ExchangePhase::NoAnswer);
            return ended(silent ? ExchangeOutcome::TimedOut : ExchangeOutcome::LinkFailed, failure);
        }
        ++result.bytesSent;
        lastByteSent = QDateTime::currentMSecsSinceEpoch();
        const Clock::time_point handedOver = Clock::now();
        if (link.waitReply()) {
            ++result.repliesReceived;
            const Clock::time_point now = Clock::now();
            if (const std::optional<LatencyNotice> notice =
                    latency.replied(duration_cast<microseconds>(now - handedOver),
                                    duration_cast<microseconds>(now - start), i + 1 >= HeaderSize))
                observer.latencyNoticed(*notice);
            result.replyLatencyMs = latency.latencyMs();
        } else {
            // waitReply has dropped RTS and closed the link. The exchange goes on as after a
            // reply (the gauge takes its step); the next byte then fails on the closed link.
            session.enter(ExchangePhase::NoAnswer);
            if (i == total - 1) {
                // No byte follows whose failure would tell: a write the station did not
                // acknowledge to the end is a failed write, never a complete one.
                result.lastByteUnanswered = true;
                return ended(ExchangeOutcome::TimedOut,
                             UserMessage::failure(texts::link::LastByteUnanswered.toString()));
            }
        }

        const int sent = i + 1;
        if (sent == AfterFirstFields) {
            observer.gaugeChanged(33);
        } else if (sent == AfterToneCodes) {
            observer.gaugeChanged(66);
        } else if (sent == HeaderSize) {
            observer.gaugeChanged(100);
            QThread::msleep(static_cast<unsigned long>(request.model->timings.headerRecordPause.count()));
            observer.gaugeChanged(0);
        } else if (sent > HeaderSize && (sent - HeaderSize) % RecordSize == 0) {
            const int j = (sent - HeaderSize) / RecordSize;
            observer.gaugeChanged(static_cast<int>(divideRoundHalfEven(100LL * j, channelCount)));
        }
    }
    if (link.byteReady())
        return flooded();
    observer.gaugeChanged(100);
    session.closeFlushed();
    return ended(ExchangeOutcome::Completed, {});
}

WriteExchange::WriteExchange(QObject* parent) : StationExchange(parent)
{
    qRegisterMetaType<yalmera::WriteResult>();
}

WriteExchange::~WriteExchange()
{
    requestStop();
    waitFinished();
}

bool WriteExchange::start(const WriteRequest& request)
{
    if (isRunning())
        return false;
    if (!request.dataChecked) {
        // Refused before any thread or port is involved; reported like every other result.
        QMetaObject::invokeMethod(
            this, [this] { emit finished(notCheckedResult()); }, Qt::QueuedConnection);
        return true;
    }
    return startWorker([this, request](ExchangeObserver& observer, const std::atomic<bool>& stop) -> Deliver {
        WriteResult result = runWriteExchange(request, observer, &stop);
        return [this, result] { emit finished(result); };
    });
}

} // namespace yalmera
