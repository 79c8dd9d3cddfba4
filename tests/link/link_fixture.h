#pragma once

// Pseudo-terminal peers and a recording observer shared by the link tests.

#include "common/qt_printers.h"
#include "common/stream_fixture.h"
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
    void phaseChanged(ExchangePhase phase) override
    {
        phases.push_back(phase);
        events << QStringLiteral("phase ") + phaseName(phase);
    }

    static QString phaseName(ExchangePhase phase)
    {
        static const char* const Names[] = {"Idle", "Writing", "ReadRequest", "Reading", "NoAnswer"};
        return QString::fromLatin1(Names[static_cast<int>(phase)]);
    }

    std::vector<int> gauges;
    std::vector<ExchangePhase> phases;
    QStringList events;
};

} // namespace yalmera::test
