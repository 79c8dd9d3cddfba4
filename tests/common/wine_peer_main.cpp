// yalmera-wine-peer: the far end of a serial line for a Windows test running under Wine, which
// cannot hold a pseudo-terminal itself. Started by the test (Wine runs native programs too) with a
// socket as its standard input and output, it makes a raw pseudo-terminal, links a free COM port
// of the Wine prefix to it ("<dosdevices>/com12 -> /dev/pts/5"), answers "COM12" and then
//
//   relay               passes bytes between the socket and the line, so the test drives the line
//                       by hand; the socket's end closes the line,
//   station [OPTIONS]   serves the virtual station on the line until the socket's sending side
//                       ends, then answers what the station received and holds,
//   exec PROGRAM ARGS   runs a station program that prints its pseudo-terminal's path first
//                       (yalmera-station --pty --stdin-quit); "k" from the socket kills it, the
//                       socket's end closes its standard input.
//
// The link goes when the helper ends. Without a line it runs a tool of the machine for the test:
//
//   run PROGRAM ARGS    answers "exit <status> <bytes>" and the program's standard output.

#include "station/station_server.h"
#include "station/virtual_station.h"

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

using namespace yalmera;

namespace {

constexpr int Socket = STDIN_FILENO; // standard output is the same socket

bool sendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool answer(const QByteArray& line)
{
    const QByteArray text = line + '\n';
    return sendAll(STDOUT_FILENO, text.constData(), static_cast<size_t>(text.size()));
}

int fail(const char* what)
{
    std::fprintf(stderr, "yalmera-wine-peer: %s: %s\n", what, std::strerror(errno));
    return 2;
}

// A free comN of the prefix linked to the device; its Windows name, empty when none is free.
QByteArray linkComPort(const std::string& dosdevices, const QByteArray& device, std::string* link)
{
    for (int n = 10; n < 256; ++n) {
        const std::string path = dosdevices + "/com" + std::to_string(n);
        if (::symlink(device.constData(), path.c_str()) == 0) {
            *link = path;
            return "COM" + QByteArray::number(n);
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool waitReadable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return ready > 0;
}

void relay(int line)
{
    char buffer[4096];
    for (;;) {
        pollfd fds[2] = {{Socket, POLLIN, 0}, {line, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents) {
            const ssize_t n = ::read(Socket, buffer, sizeof buffer);
            if (n <= 0 || !sendAll(line, buffer, static_cast<size_t>(n)))
                return;
        }
        if (fds[1].revents) {
            const ssize_t n = ::read(line, buffer, sizeof buffer);
            if (n <= 0 || !sendAll(STDOUT_FILENO, buffer, static_cast<size_t>(n)))
                return;
        }
    }
}

int serveStation(station::Pty& pty, char** options, int count)
{
    station::VirtualStation st(station::VirtualStation::DefaultSerialNumber);
    station::ServerOptions serverOptions;
    serverOptions.watchStdin = true;
    QByteArray tail;
    for (int i = 0; i < count; ++i) {
        const QByteArray option = options[i];
        const QByteArray value = i + 1 < count ? QByteArray(options[i + 1]) : QByteArray();
        if (option == "--pace") {
            serverOptions.pace = true;
            continue;
        }
        ++i;
        if (option == "--held") {
            const QString problem = st.preload(QByteArray::fromHex(value));
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "yalmera-wine-peer: %s\n", qPrintable(problem));
                return 2;
            }
        } else if (option == "--silent-after") {
            st.setSilentAfter(value.toLongLong());
        } else if (option == "--reply-delay") {
            serverOptions.replyDelay = std::chrono::milliseconds(value.toLongLong());
        } else if (option == "--latency-timer") {
            serverOptions.latencyTimer = std::chrono::milliseconds(value.toLongLong());
        } else if (option == "--abandon-after") {
            serverOptions.abandonWriteAfter = std::chrono::milliseconds(value.toLongLong());
        } else if (option == "--tail") {
            tail = QByteArray::fromHex(value);
        }
    }
    // The tail goes out one byte per line time; whatever the program sends meanwhile is heard.
    bool heard = false;
    for (char byte : tail) {
        if (waitReadable(Socket, 0) || !sendAll(pty.master, &byte, 1))
            break; // the test stops the station early
        std::this_thread::sleep_for(std::chrono::milliseconds(8));
        heard = heard || waitReadable(pty.master, 0);
    }
    station::StationServer server(st, pty.master, serverOptions);
    server.run();
    answer("received " + st.received().toHex());
    answer("held " + st.heldWriteStream().toHex());
    answer(heard ? "heard 1" : "heard 0");
    return 0;
}

int runProgram(const std::string& dosdevices, char** argv)
{
    int in[2];
    int out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0)
        return fail("pipe");
    const pid_t child = ::fork();
    if (child < 0)
        return fail("fork");
    if (child == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1]})
            ::close(fd);
        ::execv(argv[0], argv);
        _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    QByteArray device;
    char c = 0;
    while (waitReadable(out[0], 10000) && ::read(out[0], &c, 1) == 1 && c != '\n')
        device.append(c);
    std::string link;
    const QByteArray port = device.startsWith('/') ? linkComPort(dosdevices, device, &link) : QByteArray();
    answer(port);
    // Until the socket ends: "k" kills the program at once.
    for (;;) {
        char request = 0;
        const ssize_t n = waitReadable(Socket, -1) ? ::read(Socket, &request, 1) : 0;
        if (n <= 0)
            break;
        if (request == 'k') {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            answer("killed");
        }
    }
    ::close(in[1]); // --stdin-quit ends it
    for (int i = 0; i < 50 && ::waitpid(child, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if (!link.empty())
        ::unlink(link.c_str());
    return port.isEmpty() ? 2 : 0;
}

int runTool(char** argv)
{
    int out[2];
    if (::pipe(out) != 0)
        return fail("pipe");
    const pid_t child = ::fork();
    if (child < 0)
        return fail("fork");
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execvp(argv[0], argv);
        _exit(127);
    }
    ::close(out[1]);
    QByteArray output;
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        output.append(buffer, std::max<ssize_t>(n, 0));
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    answer("exit " + QByteArray::number(code) + ' ' + QByteArray::number(output.size()));
    return sendAll(STDOUT_FILENO, output.constData(), static_cast<size_t>(output.size())) ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    ::signal(SIGPIPE, SIG_IGN);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: yalmera-wine-peer DOSDEVICES relay|station [OPTIONS]|exec|run PROGRAM [ARGS]\n");
        return 2;
    }
    const std::string dosdevices = argv[1];
    const QByteArray mode = argv[2];
    if (mode == "exec")
        return argc > 3 ? runProgram(dosdevices, argv + 3) : 2;
    if (mode == "run")
        return argc > 3 ? runTool(argv + 3) : 2;

    QString error;
    std::optional<station::Pty> pty = station::openPty(&error);
    if (!pty) {
        std::fprintf(stderr, "yalmera-wine-peer: %s\n", qPrintable(error));
        return 2;
    }
    std::string link;
    const QByteArray port = linkComPort(dosdevices, pty->slavePath.toLocal8Bit(), &link);
    if (port.isEmpty()) {
        station::closePty(*pty);
        return fail("no free COM port to link");
    }
    answer(port);
    int status = 0;
    if (mode == "station")
        status = serveStation(*pty, argv + 3, argc - 3);
    else
        relay(pty->master);
    station::closePty(*pty);
    ::unlink(link.c_str());
    return status;
}
