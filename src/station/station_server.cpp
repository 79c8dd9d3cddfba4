#include "station_server.h"

#include "model/system_error.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <cstring>
#include <deque>

namespace yalmera::station {

namespace {

using Clock = std::chrono::steady_clock;
// Exact sums of byte times: no rounding error builds up over a long stream.
using TimePoint = std::chrono::time_point<Clock, std::common_type_t<Clock::duration, ByteTime>>;

// errno as the system says it, in the program's words where it is a common failure.
QString errnoText()
{
    const int code = errno;
    return systemErrorText(failureOfErrorCode(code), QString::fromLocal8Bit(std::strerror(code)));
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), errnoText());
}

// Raw at the stations' line speed. cfsetspeed takes the speed as a number of baud on the systems
// the station serves on (glibc, the BSDs, macOS).
bool makeRaw(int fd, QString* error)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        *error = systemError("tcgetattr");
        return false;
    }
    cfmakeraw(&tio);
    if (cfsetspeed(&tio, static_cast<speed_t>(YalmeraTimings.baud)) != 0) {
        *error = systemError("cfsetspeed");
        return false;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    return true;
}

void setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

timespec timeoutUntil(TimePoint due)
{
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(due - Clock::now());
    if (left.count() <= 0)
        return {0, 0};
    return {static_cast<time_t>(left.count() / 1'000'000'000),
            static_cast<long>(left.count() % 1'000'000'000)};
}

// The first tick of period at or after due, ticks counted from epoch.
TimePoint nextTick(TimePoint due, TimePoint epoch, std::chrono::milliseconds period)
{
    if (period.count() <= 0 || due <= epoch)
        return due;
    const auto ticks = (due - epoch + period - TimePoint::duration(1)) / period;
    return epoch + ticks * period;
}

struct Outgoing
{
    TimePoint due;
    char byte;
};

} // namespace

std::optional<Pty> openPty(QString* error)
{
    Pty pty;
    pty.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0) {
        *error = systemError("posix_openpt");
        return std::nullopt;
    }
    // Raw at once: until then the line discipline would echo and translate what we write.
    termios tio{};
    if (tcgetattr(pty.master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(pty.master, TCSANOW, &tio);
    }
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0) {
        *error = systemError("grantpt/unlockpt");
        closePty(pty);
        return std::nullopt;
    }
    // ptsname_r: ptsname's static buffer is shared by every thread, so stations made at once in
    // one process could be handed each other's path.
    char name[128] = {};
    if (ptsname_r(pty.master, name, sizeof name) != 0) {
        *error = systemError("ptsname_r");
        closePty(pty);
        return std::nullopt;
    }
    pty.slavePath = QString::fromLocal8Bit(name);
    pty.slaveHold = ::open(name, O_RDWR | O_NOCTTY);
    if (pty.slaveHold < 0) {
        *error = QStringLiteral("%1: %2").arg(pty.slavePath, errnoText());
        closePty(pty);
        return std::nullopt;
    }
    if (!makeRaw(pty.slaveHold, error)) {
        closePty(pty);
        return std::nullopt;
    }
    return pty;
}

void closePty(Pty& pty)
{
    if (pty.slaveHold >= 0)
        ::close(pty.slaveHold);
    if (pty.master >= 0)
        ::close(pty.master);
    pty.slaveHold = -1;
    pty.master = -1;
}

int openSerialDevice(const QString& device, QString* error)
{
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        *error = systemError(path.constData());
        return -1;
    }
    if (!makeRaw(fd, error)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

StationServer::StationServer(VirtualStation& station, int fd, ServerOptions options)
    : m_station(station), m_fd(fd), m_options(options)
{
    if (pipe(m_stopPipe) != 0) {
        m_stopPipe[0] = -1;
        m_stopPipe[1] = -1;
    }
}

StationServer::~StationServer()
{
    for (int fd : m_stopPipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void StationServer::stop()
{
    if (m_stopPipe[1] >= 0) {
        const char c = 'x';
        [[maybe_unused]] const ssize_t n = ::write(m_stopPipe[1], &c, 1);
    }
}

QString StationServer::run()
{
#ifdef __linux__
    // Wake-ups as close to the byte times as the kernel allows (the default slack is 50 us).
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    setNonBlocking(m_fd);
    const ByteTime byteTime{1};
    const std::chrono::microseconds spinMargin{m_options.pace ? 300 : 0};
    std::deque<Outgoing> outgoing;
    const TimePoint epoch = Clock::now();
    TimePoint inLineFree = epoch;
    TimePoint outLineFree = inLineFree;
    TimePoint lastByte = inLineFree;
    bool blocked = false; // the driver took no more bytes; wait until it does

    for (;;) {
        pollfd fds[3] = {{m_fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (blocked)
            fds[0].events |= POLLOUT;
        const nfds_t count = m_options.watchStdin ? 3 : 2;
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (!outgoing.empty() && !blocked) {
            timeout = timeoutUntil(outgoing.front().due - spinMargin);
            timeoutPtr = &timeout;
        }
        const int ready = ppoll(fds, count, timeoutPtr, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return systemError("ppoll");
        }
        if (fds[1].revents != 0)
            return {};
        if (m_options.watchStdin && fds[2].revents != 0) {
            char sink[256];
            const ssize_t n = ::read(STDIN_FILENO, sink, sizeof sink);
            if (n <= 0 && !(n < 0 && (errno == EINTR || errno == EAGAIN)))
                return {};
        }
        if (fds[0].revents & POLLIN) {
            char buffer[512];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n == 0)
                return tr("the line was closed");
            if (n < 0 && errno != EINTR && errno != EAGAIN)
                return systemError("read");
            const TimePoint arrived = Clock::now();
            if (n > 0 && m_station.isTakingWrite() && arrived - lastByte > m_options.abandonWriteAfter)
                m_station.abandonPartialWrite();
            if (n > 0)
                lastByte = arrived;
            for (ssize_t i = 0; i < n; ++i) {
                TimePoint inEnd = arrived;
                if (m_options.pace) {
                    inEnd = std::max(arrived, inLineFree) + byteTime;
                    inLineFree = inEnd;
                }
                const QByteArray answer = m_station.receive(static_cast<quint8>(buffer[i]));
                TimePoint start = inEnd + m_options.replyDelay;
                for (char byte : answer) {
                    TimePoint due = std::max(start, outLineFree);
                    if (m_options.pace)
                        due += byteTime;
                    outLineFree = due;
                    outgoing.push_back({nextTick(due, epoch, m_options.latencyTimer), byte});
                }
            }
        } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            return tr("the line failed");
        }
        if (blocked && (fds[0].revents & POLLOUT))
            blocked = false;

        // Hand over every byte that is due, all at once when several are.
        if (!blocked && !outgoing.empty()) {
            // A paced byte goes out at its time, not a timer's wake-up latency later: the wait ends
            // a little early and the rest is spent spinning (at most spinMargin per byte).
            if (m_options.pace && outgoing.front().due - Clock::now() <= spinMargin) {
                while (Clock::now() < outgoing.front().due) {
                }
            }
            const TimePoint now = Clock::now();
            QByteArray due;
            while (static_cast<qsizetype>(due.size()) < static_cast<qsizetype>(outgoing.size()) &&
                   outgoing[static_cast<std::size_t>(due.size())].due <= now)
                due.append(outgoing[static_cast<std::size_t>(due.size())].byte);
            if (!due.isEmpty()) {
                const ssize_t n = ::write(m_fd, due.constData(), static_cast<size_t>(due.size()));
                if (n < 0 && errno != EAGAIN && errno != EINTR)
                    return systemError("write");
                const ssize_t written = std::max<ssize_t>(n, 0);
                outgoing.erase(outgoing.begin(), outgoing.begin() + written);
                if (written < due.size())
                    blocked = true;
            }
        }
    }
}

} // namespace yalmera::station
