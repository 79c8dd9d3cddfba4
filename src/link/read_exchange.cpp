#include "read_exchange.h"

#include "link/link_texts.h"
#include "link/serial_link.h"
#include "model/number_text.h"

#include <QByteArray>

#include <algorithm>

namespace yalmera {

static_assert(QuietLineBound * 1200 >= std::chrono::seconds(10) * streamSize(Stream::Read, MaxRecords),
              "the quiet wait outlasts the longest stream a station sends");

ReadResult runReadExchange(const ReadRequest& request, ExchangeObserver& observer,
                           const std::atomic<bool>* stop)
{
    ReadResult result;
    const auto endIdle = [&observer] {
        observer.statusChanged(linktext::StatusIdle.toString());
        observer.buttonsChanged(LinkButtons::allEnabled());
    };

    observer.buttonsChanged({false, false, true});
    observer.statusChanged(linktext::StatusReading.toString());

    SerialLink link;
    link.setPortChoice(request.port);
    link.configure();
    if (UserMessage failure = link.openSelected(); !failure.isEmpty()) {
        endIdle();
        result.outcome = ExchangeOutcome::OpenFailed;
        result.message = failure;
        return result;
    }
    link.flushInput();
    link.flushOutput();
    if (!link.awaitQuietLine(stop)) {
        link.close();
        endIdle();
        const bool stopped = stop && *stop;
        result.outcome = stopped ? ExchangeOutcome::Cancelled : ExchangeOutcome::LinkFailed;
        result.message =
            UserMessage::failure((stopped ? linktext::Cancelled : linktext::StillSending).toString());
        return result;
    }
    if (UserMessage failure = link.putByte(ReadCommand); !failure.isEmpty()) {
        link.close();
        endIdle();
        result.outcome = ExchangeOutcome::LinkFailed;
        result.message = failure;
        return result;
    }
    int gauge = 100;
    observer.gaugeChanged(gauge);
    observer.buttonsChanged(LinkButtons::allDisabled());

    // The stream goes into a buffer of our own; nothing else changes before the last byte.
    QByteArray received;
    received.reserve(streamSize(Stream::Read, MaxRecords));
    // Receives n bytes; false on silence (the station stopped) or a stop request.
    const auto receive = [&](int n, std::chrono::milliseconds silenceLimit) {
        for (int k = 0; k < n; ++k) {
            if (stop && *stop)
                return false;
            const std::optional<quint8> byte = link.receiveByte(silenceLimit);
            if (!byte)
                return false;
            received.append(static_cast<char>(*byte));
            ++result.bytesReceived;
        }
        return true;
    };
    const auto endSilent = [&] {
        link.close();
        if (stop && *stop) {
            endIdle();
            result.outcome = ExchangeOutcome::Cancelled;
            result.message = UserMessage::failure(linktext::Cancelled.toString());
            return result;
        }
        observer.statusChanged(linktext::StatusNoAnswer.toString());
        observer.buttonsChanged(LinkButtons::allEnabled());
        result.outcome = ExchangeOutcome::TimedOut;
        return result;
    };
    const auto endFlushed = [&] {
        link.flushInput();
        link.flushOutput();
        link.close();
        observer.gaugeChanged(0);
        endIdle();
    };

    if (!receive(headerSize(Stream::Read), HeaderSilenceLimit))
        return endSilent();
    if (UserMessage refusal = checkReadStreamHeader(received); !refusal.isEmpty()) {
        endFlushed();
        result.outcome = ExchangeOutcome::Refused;
        result.message = refusal;
        return result;
    }

    const int channelCount =
        static_cast<quint8>(received[headerField(HeaderField::ChannelCount).offset(Stream::Read)]);
    const int step = channelCount > 0 ? static_cast<int>(divideRoundHalfEven(100, channelCount)) : 0;
    for (int i = 0; i < channelCount; ++i) {
        if (!receive(RecordSize, RecordSilenceLimit))
            return endSilent();
        gauge = std::max(0, gauge - step);
        observer.gaugeChanged(gauge);
    }

    ReadStreamDecode decoded = decodeReadStream(received, request.stationType);
    endFlushed();
    if (!decoded.ok()) {
        result.outcome = ExchangeOutcome::Refused;
        result.message = decoded.refusal;
        return result;
    }
    result.outcome = ExchangeOutcome::Completed;
    result.readBack = std::move(decoded.readBack);
    return result;
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
