#include "unfinished_write.h"

#include "link/serial_port.h"

#include <QByteArray>
#include <QDateTime>

#include <algorithm>

namespace yalmera {

namespace {

const QString Kind = QStringLiteral("unfinished-write");
// The record's content: this while the write runs, then the time of its last byte as decimal
// milliseconds since 1970 (UTC). A line each.
constexpr QByteArrayView Writing = "writing\n";

} // namespace

std::optional<std::chrono::steady_clock::time_point> UnfinishedWrite::stationFreeAt(bool holderKilled) const
{
    const std::optional<QByteArray> record = detail::readPortState(m_device, Kind);
    const bool found = record && !record->trimmed().isEmpty();
    if (!found && !holderKilled)
        return std::nullopt;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    bool known = false;
    const qint64 lastByte = found && !holderKilled ? record->trimmed().toLongLong(&known) : 0;
    // A time in the future (the clock was set back) counts as now.
    const qint64 from = known ? std::min(lastByte, now) : now;
    const std::chrono::milliseconds left{from - now};
    return std::chrono::steady_clock::now() +
           std::max(left + m_abandonWait, std::chrono::milliseconds::zero());
}

void UnfinishedWrite::begin() const
{
    detail::writePortState(m_device, Kind, Writing.toByteArray());
}

void UnfinishedWrite::leave(qint64 lastByte) const
{
    detail::writePortState(m_device, Kind, QByteArray::number(lastByte) + '\n');
}

void UnfinishedWrite::clear() const
{
    detail::writePortState(m_device, Kind, {});
}

} // namespace yalmera
