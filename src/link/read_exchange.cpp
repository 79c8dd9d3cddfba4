#include "read_exchange.h"

#include "link/byte_trace.h"
#include "link/link_session.h"
#include "link/link_texts.h"
#include "model/number_text.h"

#include <QByteArray>

#include <algorithm>

namespace yalmera {

ReadResult runReadExchange(const ReadRequest& request, ExchangeObserver& observer,
                           const std::atomic<bool>* stop)
{
    ReadResult result;
    const auto ended = [&result, &request](ExchangeOutcome outcome, UserMessage message) {
        result.outcome = outcome;
        result.message = std::move(message);
        if (request.trace)
            request.trace->endExchange(outcome, result.message.text);
        return result;
    };
    const auto stopped = [stop] { return stop && *stop; };
    const auto cancelled = [&] {
        return ended(ExchangeOutcome::Cancelled, UserMessage::failure(texts::link::ReadCancelled.toString()));
    };

    LinkSession session(request.port, *request.model, observer, ExchangePhase::ReadRequest,
                        request.trace.get());
    SerialLink& link = session.link();
    if (UserMessage failure = session.open(); !failure.isEmpty())
        return ended(ExchangeOutcome::OpenFailed, failure);
    link.flushInput();
    link.flushOutput();
    if (!session.awaitLineFree(stop)) {
        if (stopped())
            return cancelled();
        return ended(ExchangeOutcome::LinkFailed, UserMessage::failure(texts::link::StillSending.toString()));
    }
    if (UserMessage failure = link.putByte(ReadCommand); !failure.isEmpty())
        return ended(ExchangeOutcome::LinkFailed, failure);
    const auto commandSent = std::chrono::steady_clock::now();
    int gauge = 100;
    observer.gaugeChanged(gauge);
    session.enter(ExchangePhase::Reading);

    // The stream goes into a buffer of our own; nothing else changes before the last byte.
    QByteArray& received = result.received;
    received.reserve(streamSize(Stream::Read, request.model->maxChannels));
    // Receives n bytes; false on silence (the station stopped) or a stop request.
    const auto receive = [&](int n, std::chrono::milliseconds silenceLimit) {
        for (int k = 0; k < n; ++k) {
            if (stopped())
                return false;
            const std::optional<quint8> byte = link.receiveByte(silenceLimit);
            if (!byte)
                return false;
            received.append(static_cast<char>(*byte));
            if (++result.bytesReceived == 1)
                result.replyLatencyMs = firstByteLatencyMs(
                    request.model->timings, std::chrono::duration_cast<std::chrono::microseconds>(
                                                std::chrono::steady_clock::now() - commandSent));
        }
        return true;
    };
    // The station fell silent: no flushes, the gauge keeps its value, the window shows "AK".
    // A line that failed meanwhile (an adapter pulled out) is said, with the port and the byte.
    const auto silent = [&] {
        link.close();
        if (stopped())
            return cancelled();
        session.enter(ExchangePhase::NoAnswer);
        return ended(ExchangeOutcome::TimedOut, link.lineFailure());
    };
    const auto endFlushed = [&] {
        session.closeFlushed();
        observer.gaugeChanged(0);
    };

    const ExchangeTimings& timings = request.model->timings;
    if (!receive(headerSize(Stream::Read), timings.headerSilence))
        return silent();
    if (UserMessage refusal = checkReadStreamHeader(received); !refusal.isEmpty()) {
        endFlushed();
        return ended(ExchangeOutcome::Refused, refusal);
    }

    const int channelCount =
        static_cast<quint8>(received[headerField(HeaderField::ChannelCount).offset(Stream::Read)]);
    const int step = channelCount > 0 ? static_cast<int>(divideRoundHalfEven(100, channelCount)) : 0;
    for (int i = 0; i < channelCount; ++i) {
        if (!receive(RecordSize, timings.recordSilence))
            return silent();
        gauge = std::max(0, gauge - step);
        observer.gaugeChanged(gauge);
    }

    ReadStreamDecode decoded = decodeReadStream(received, request.model->band);
    endFlushed();
    if (!decoded.ok())
        return ended(ExchangeOutcome::Refused, decoded.refusal);
    result.readBack = std::move(decoded.readBack);
    return ended(ExchangeOutcome::Completed, {});
}

ReadExchange::ReadExchange(QObject* parent) : StationExchange(parent)
{
    qRegisterMetaType<yalmera::ReadResult>();
}

ReadExchange::~ReadExchange()
{
    requestStop();
    waitFinished();
}

bool ReadExchange::start(const ReadRequest& request)
{
    return startWorker([this, request](ExchangeObserver& observer, const std::atomic<bool>& stop) -> Deliver {
        ReadResult result = runReadExchange(request, observer, &stop);
        return [this, result] { emit finished(result); };
    });
}

} // namespace yalmera
