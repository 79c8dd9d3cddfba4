#include "station_peers.h"

#include "station/virtual_station.h"

#include <QProcess>
#include <QStandardPaths>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace yalmera::test {

bool runsUnderWine()
{
    return false;
}

struct TestPty::Private
{
    station::Pty pty;
};

TestPty::TestPty() : d(std::make_unique<Private>())
{
    QString error;
    if (auto pty = station::openPty(&error))
        d->pty = *pty;
}

TestPty::~TestPty()
{
    station::closePty(d->pty);
}

bool TestPty::ok() const
{
    return d->pty.master >= 0;
}

QString TestPty::path() const
{
    return d->pty.slavePath;
}

void TestPty::send(const QByteArray& bytes) const
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(d->pty.master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray TestPty::receive(int want, int timeoutMs) const
{
    QByteArray bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{d->pty.master, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[512];
        const ssize_t n = ::read(d->pty.master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

void TestPty::hangUp()
{
    station::closePty(d->pty);
}

struct StationOnPty::Private
{
    explicit Private() : station(station::VirtualStation::DefaultSerialNumber) {}

    void stop()
    {
        if (thread.joinable()) {
            stopTail = true;
            server->stop();
            thread.join();
            record = StationRecord(station.received(), station.heldWriteStream());
        }
    }

    station::VirtualStation station;
    station::Pty pty;
    QString preloadError;
    std::unique_ptr<station::StationServer> server;
    std::atomic<bool> stopTail{false};
    std::atomic<bool> heardDuringTail{false};
    std::thread thread;
    StationRecord record;
};

StationOnPty::StationOnPty(const QByteArray& heldWriteStream, qint64 silentAfter,
                           station::ServerOptions options, QByteArray tail)
    : d(std::make_unique<Private>())
{
    if (!heldWriteStream.isEmpty())
        d->preloadError = d->station.preload(heldWriteStream);
    d->station.setSilentAfter(silentAfter);
    QString error;
    if (auto pty = station::openPty(&error))
        d->pty = *pty;
    if (d->pty.master < 0)
        return;
    d->server = std::make_unique<station::StationServer>(d->station, d->pty.master, options);
    d->thread = std::thread([p = d.get(), tail = std::move(tail)] {
        for (qsizetype i = 0; i < tail.size() && !p->stopTail; ++i) {
            [[maybe_unused]] const ssize_t n = ::write(p->pty.master, tail.constData() + i, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
            pollfd fd{p->pty.master, POLLIN, 0};
            if (poll(&fd, 1, 0) > 0)
                p->heardDuringTail = true;
        }
        p->server->run();
    });
}

StationOnPty::~StationOnPty()
{
    d->stop();
    station::closePty(d->pty);
}

bool StationOnPty::ok() const
{
    return d->pty.master >= 0 && d->preloadError.isEmpty();
}

QString StationOnPty::path() const
{
    return d->pty.slavePath;
}

bool StationOnPty::heardDuringTail() const
{
    return d->heardDuringTail;
}

const StationRecord& StationOnPty::stopAndInspect()
{
    d->stop();
    return d->record;
}

struct StationProcess::Private
{
    QProcess process;
    QString path;
};

StationProcess::StationProcess(const QStringList& options) : d(std::make_unique<Private>())
{
    // It ends when its standard input closes.
    d->process.start(QStringLiteral(YALMERA_STATION),
                     QStringList{QStringLiteral("--pty"), QStringLiteral("--stdin-quit")} + options);
    if (!d->process.waitForStarted(10000))
        return;
    while (!d->process.canReadLine() && d->process.waitForReadyRead(10000)) {
    }
    d->path = QString::fromLocal8Bit(d->process.readLine()).trimmed();
}

StationProcess::~StationProcess()
{
    if (d->process.state() == QProcess::NotRunning)
        return;
    d->process.closeWriteChannel();
    if (!d->process.waitForFinished(5000)) {
        d->process.kill();
        d->process.waitForFinished(5000);
    }
}

QString StationProcess::path() const
{
    return d->path;
}

void StationProcess::kill()
{
    d->process.kill();
    d->process.waitForFinished(5000);
}

QString hostPath(const QString& path)
{
    return path;
}

std::optional<QByteArray> runHostTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool hostToolExists(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace yalmera::test
