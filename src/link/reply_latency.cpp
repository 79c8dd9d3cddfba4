#include "reply_latency.h"

#include "link/link_texts.h"
#include "link/serial_link.h"

#include <QFileInfo>

#include <algorithm>

namespace yalmera {

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

microseconds byteTime(const ExchangeTimings& timings)
{
    return microseconds(10'000'000LL / timings.baud); // 10 bits a byte
}

double toMs(microseconds time)
{
    return static_cast<double>(time.count()) / 1000.0;
}

// "7,4": seconds with one decimal, comma as separator.
QString seconds(milliseconds time)
{
    return QString::number(static_cast<double>(time.count()) / 1000.0, 'f', 1).replace(u'.', u',');
}

} // namespace

ReplyLatencyMeter::ReplyLatencyMeter(const ExchangeTimings& timings, int byteCount, milliseconds pause,
                                     microseconds preamble, QString port)
    : m_lineRoundTrip(2 * byteTime(timings)), m_byteCount(byteCount), m_pause(pause), m_preamble(preamble),
      m_port(std::move(port))
{
    m_sample.reserve(SampleSize);
}

std::optional<LatencyNotice> ReplyLatencyMeter::replied(microseconds roundTrip, microseconds elapsed,
                                                        bool pauseDone)
{
    ++m_replies;
    if (m_replies == 1 || static_cast<int>(m_sample.size()) == SampleSize)
        return std::nullopt;
    m_sample.push_back(roundTrip);
    if (static_cast<int>(m_sample.size()) < SampleSize || m_said)
        return std::nullopt;
    const microseconds median = medianRoundTrip();
    if (median - m_lineRoundTrip <= NoticeableLatency)
        return std::nullopt;
    m_said = true;
    LatencyNotice notice;
    notice.latencyMs = toMs(median - m_lineRoundTrip);
    notice.bytesDone = m_replies;
    const microseconds rest = (m_byteCount - m_replies) * median + (pauseDone ? milliseconds(0) : m_pause);
    notice.predicted = std::chrono::round<milliseconds>(elapsed + rest);
    notice.floor = std::chrono::round<milliseconds>(m_preamble + m_byteCount * m_lineRoundTrip + m_pause);
    notice.text = texts::link::LatencyNotice.toString()
                      .arg(qRound(notice.latencyMs))
                      .arg(seconds(notice.predicted), seconds(notice.floor), latencyAdvice(m_port));
    return notice;
}

std::optional<double> ReplyLatencyMeter::latencyMs() const
{
    if (m_sample.empty())
        return std::nullopt;
    return toMs(std::max(microseconds(0), medianRoundTrip() - m_lineRoundTrip));
}

microseconds ReplyLatencyMeter::medianRoundTrip() const
{
    std::vector<microseconds> sorted = m_sample;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
}

double firstByteLatencyMs(const ExchangeTimings& timings, microseconds firstByteWait)
{
    return toMs(std::max(microseconds(0), firstByteWait - 2 * byteTime(timings)));
}

QString latencyAdvice(const QString& port)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(port);
    return texts::link::LatencyAdviceWindows.toString();
#elif defined(Q_OS_LINUX)
    const QString device = QFileInfo(portDeviceName(port)).canonicalFilePath();
    const QString name = QFileInfo(device).fileName();
    const bool usbSerial = name.startsWith(u"ttyUSB");
    return texts::link::LatencyAdviceLinux.toString().arg(usbSerial ? device : QStringLiteral("/dev/ttyUSB0"),
                                                          usbSerial ? name : QStringLiteral("ttyUSB*"));
#else
    Q_UNUSED(port);
    return texts::link::LatencyAdviceOther.toString();
#endif
}

} // namespace yalmera
