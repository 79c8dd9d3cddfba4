#include "write_exchange.h"

#include "image/app_state.h"
#include "link/link_texts.h"
#include "link/serial_link.h"
#include "model/number_text.h"

#include <QThread>

#include <optional>

namespace yalmera {

namespace {

// Gauge positions of the header: after BrightnessCode..SpecialChannelIndex, after the tone codes.
constexpr int AfterFirstFields = headerField(HeaderField::ToneCode, 0).writeOffset; // 6 bytes sent
constexpr int AfterToneCodes = headerField(HeaderField::IdCode).writeOffset;        // 16 bytes sent
constexpr int HeaderSize = headerSize(Stream::Write);

// An unchecked plan never reaches the port.
WriteResult notCheckedResult()
{
    WriteResult refused;
    refused.outcome = ExchangeOutcome::Refused;
    refused.message = UserMessage::notice(linktext::NotChecked.toString());
    return refused;
}

} // namespace

WriteRequest WriteRequest::fromState(const AppState& state, const QString& port)
{
    WriteRequest request;
    request.port = port;
    request.dataChecked = state.dataChecked();
    request.stream = state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    return request;
}

WriteResult runWriteExchange(const WriteRequest& request, ExchangeObserver& observer,
                             const std::atomic<bool>* stop)
{
    if (!request.dataChecked)
        return notCheckedResult();
    WriteResult result;

    const QByteArray& stream = request.stream;
    const int total = static_cast<int>(stream.size());
    const int channelCount = total > HeaderSize ? (total - HeaderSize) / RecordSize : 0;

    const auto endIdle = [&observer] {
        observer.statusChanged(linktext::StatusIdle.toString());
        observer.buttonsChanged(LinkButtons::allEnabled());
    };

    observer.buttonsChanged(LinkButtons::allDisabled());
    observer.statusChanged(linktext::StatusWriting.toString());

    SerialLink link;
    link.setPortChoice(request.port);
    link.configure();
    if (UserMessage failure = link.openSelected(); !failure.isEmpty()) {
        endIdle();
        result.outcome = ExchangeOutcome::OpenFailed;
        result.message = failure;
        return result;
    }
    // A stop request meanwhile is answered by the loop below, before any byte goes out.
    if (!link.awaitQuietLine(stop) && !(stop && *stop)) {
        link.close();
        endIdle();
        result.outcome = ExchangeOutcome::LinkFailed;
        result.message = UserMessage::failure(linktext::StillSending.toString());
        return result;
    }
    observer.gaugeChanged(0);

    bool silent = false; // the station missed a reply; the link is closed
    for (int i = 0; i < total; ++i) {
        if (stop && *stop) {
            link.close();
            endIdle();
            result.outcome = ExchangeOutcome::Cancelled;
            result.message = UserMessage::failure(linktext::Cancelled.toString());
            return result;
        }
        if (UserMessage failure = link.putByte(static_cast<quint8>(stream[i])); !failure.isEmpty()) {
            // After a missed reply this is "ie_NOpen - device not open": the window already shows
            // "AK" with its buttons enabled. Any other failure of the line ends the same way.
            if (!silent) {
                link.close();
                observer.statusChanged(linktext::StatusNoAnswer.toString());
                observer.buttonsChanged(LinkButtons::allEnabled());
            }
            result.outcome = silent ? ExchangeOutcome::TimedOut : ExchangeOutcome::LinkFailed;
            result.message = failure;
            return result;
        }
        ++result.bytesSent;
        if (link.waitReply()) {
            ++result.repliesReceived;
        } else {
            // waitReply has dropped RTS and closed the link. The exchange goes on as after a
            // reply (the gauge takes its step); the next byte then fails on the closed link.
            silent = true;
            observer.statusChanged(linktext::StatusNoAnswer.toString());
            observer.buttonsChanged(LinkButtons::allEnabled());
            if (i == total - 1) {
                // No byte follows whose failure would tell: a write the station did not
                // acknowledge to the end is a failed write, never a complete one.
                result.outcome = ExchangeOutcome::TimedOut;
                result.message = UserMessage::failure(linktext::LastByteUnanswered.toString());
                return result;
            }
        }

        const int sent = i + 1;
        if (sent == AfterFirstFields) {
            observer.gaugeChanged(33);
        } else if (sent == AfterToneCodes) {
            observer.gaugeChanged(66);
        } else if (sent == HeaderSize) {
            observer.gaugeChanged(100);
            QThread::msleep(static_cast<unsigned long>(HeaderRecordPause.count()));
            observer.gaugeChanged(0);
        } else if (sent > HeaderSize && (sent - HeaderSize) % RecordSize == 0) {
            const int j = (sent - HeaderSize) / RecordSize;
            observer.gaugeChanged(static_cast<int>(divideRoundHalfEven(100LL * j, channelCount)));
        }
    }
    observer.gaugeChanged(100);
    link.flushInput();
    link.flushOutput();
    link.close();
    endIdle();
    result.outcome = ExchangeOutcome::Completed;
    return result;
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
