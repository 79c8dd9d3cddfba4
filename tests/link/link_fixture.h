#pragma once

// Pseudo-terminal peers and a recording observer shared by the link tests.

#include "common/qt_printers.h"
#include "image/device_image.h"
#include "link/exchange_report.h"
#include "station/station_server.h"
#include "station/virtual_station.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <thread>
#include <vector>

namespace yalmera::test {

// A raw pseudo-terminal whose master the test drives by hand.
class TestPty
{
public:
    TestPty()
    {
        QString error;
        if (auto pty = station::openPty(&error))
            m_pty = *pty;
    }
    ~TestPty() { station::closePty(m_pty); }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return m_pty.master >= 0; }
    QString path() const { return m_pty.slavePath; }
    int master() const { return m_pty.master; }

    void send(const QByteArray& bytes) const
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(m_pty.master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n <= 0)
                return;
            done += n;
        }
    }
    // Whatever arrives within timeoutMs, stopping early once want bytes are in.
    QByteArray receive(int want, int timeoutMs = 1000) const
    {
        QByteArray bytes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (bytes.size() < want) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd fd{m_pty.master, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                break;
            char buffer[512];
            const ssize_t n = ::read(m_pty.master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.append(buffer, n);
        }
        return bytes;
    }
    // Closes the master: the program's side sees the line vanish.
    void hangUp() { station::closePty(m_pty); }

private:
    station::Pty m_pty;
};

// The virtual station served on its own pseudo-terminal by a thread of the test. With a tail it
// is still sending when it starts, as after a read the program was killed in: the tail goes out
// one byte per line time (8 ms) before the station listens.
class StationOnPty
{
public:
    explicit StationOnPty(const QByteArray& heldWriteStream = {}, qint64 silentAfter = -1,
                          station::ServerOptions options = {}, QByteArray tail = {})
        : m_station(station::VirtualStation::DefaultSerialNumber)
    {
        if (!heldWriteStream.isEmpty())
            m_preloadError = m_station.preload(heldWriteStream);
        m_station.setSilentAfter(silentAfter);
        QString error;
        if (auto pty = station::openPty(&error))
            m_pty = *pty;
        if (m_pty.master < 0)
            return;
        m_server = std::make_unique<station::StationServer>(m_station, m_pty.master, options);
        m_thread = std::thread([this, tail = std::move(tail)] {
            for (qsizetype i = 0; i < tail.size() && !m_stopTail; ++i) {
                [[maybe_unused]] const ssize_t n = ::write(m_pty.master, tail.constData() + i, 1);
                std::this_thread::sleep_for(std::chrono::milliseconds(8));
                pollfd fd{m_pty.master, POLLIN, 0};
                if (poll(&fd, 1, 0) > 0)
                    m_heardDuringTail = true;
            }
            m_serverResult = m_server->run();
        });
    }
    // Whether the program sent anything while the tail was still going out.
    bool heardDuringTail() const { return m_heardDuringTail; }
    ~StationOnPty()
    {
        stop();
        station::closePty(m_pty);
    }

    bool ok() const { return m_pty.master >= 0 && m_preloadError.isEmpty(); }
    QString path() const { return m_pty.slavePath; }

    // Stops the server; afterwards the station may be inspected.
    const station::VirtualStation& stopAndInspect()
    {
        stop();
        return m_station;
    }

private:
    void stop()
    {
        if (m_thread.joinable()) {
            m_stopTail = true;
            m_server->stop();
            m_thread.join();
        }
    }

    station::VirtualStation m_station;
    station::Pty m_pty;
    QString m_preloadError;
    QString m_serverResult;
    std::unique_ptr<station::StationServer> m_server;
    std::atomic<bool> m_stopTail{false};
    std::atomic<bool> m_heardDuringTail{false};
    std::thread m_thread;
};

// Everything an exchange reports, in order.
class RecordingObserver : public ExchangeObserver
{
public:
    void gaugeChanged(int value) override
    {
        gauges.push_back(value);
        events << QStringLiteral("gauge %1").arg(value);
    }
    void statusChanged(const QString& text) override
    {
        statuses << text;
        events << QStringLiteral("status ") + text;
    }
    void buttonsChanged(const LinkButtons& b) override
    {
        buttons.push_back(b);
        events << QStringLiteral("buttons %1%2%3").arg(int(b.exit)).arg(int(b.write)).arg(int(b.read));
    }

    std::vector<int> gauges;
    QStringList statuses;
    std::vector<LinkButtons> buttons;
    QStringList events;
};

inline QByteArray hexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

// The image of the one-channel template (start 140000 kHz, default values and settings).
inline DeviceImage oneChannelTemplateImage()
{
    DeviceImage image;
    image.brightnessCode = 1;
    image.volume = 8;
    image.channelCount = 1;
    image.keyBeep = SwitchOn;
    image.specialChannelIndex = 0;
    image.toneCodes = {70, 75, 100, 120, 140, 155, 170, 199, 210, 240};
    image.idCode = 0x0001;
    image.fvCode = 0;
    image.minVolume = 0;
    image.dcsPolarity = SwitchOn;
    image.functionFlags = 0x06;
    const QByteArray record = hexBytes("BE0111CE81115E01C8C80000010104FF0000");
    for (int b = 0; b < ChannelRecord::Size; ++b)
        image.records[0].bytes[static_cast<std::size_t>(b)] = static_cast<quint8>(record[b]);
    return image;
}

// An image of n channels 1..n at 145000 + 12,5 i kHz with the template's other values.
inline DeviceImage channelsImage(int n)
{
    DeviceImage image = oneChannelTemplateImage();
    image.channelCount = static_cast<quint8>(n);
    for (int i = 0; i < n; ++i) {
        ChannelRecord record = image.records[0];
        record.set(ChannelRecord::ChannelNumberOffset, static_cast<quint8>(i + 1));
        const double kHz = 145000 + 12.5 * i;
        record.setRxWord(frequencyWordForKHz(kHz + 45000, 32));
        record.setTxWord(frequencyWordForKHz(kHz, 32));
        image.records[static_cast<std::size_t>(i)] = record;
    }
    return image;
}

} // namespace yalmera::test
