#include "station_peers.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <winsock2.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>

namespace yalmera::test {

namespace {

// Where the Linux build's helpers are and which Wine prefix the test runs in (set by ctest).
QString setting(const char* name)
{
    return qEnvironmentVariable(name);
}

// Wine's own conversions between its Windows paths and the Unix ones.
QString dosPath(const QString& unixPath)
{
    using Convert = WCHAR*(CDECL*)(LPCSTR);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
    WCHAR* path = convert ? convert(unixPath.toLocal8Bit().constData()) : nullptr;
    const QString result = path ? QString::fromWCharArray(path) : QString();
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

QString unixPath(const QString& windowsPath)
{
    using Convert = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    const std::wstring name = QFileInfo(windowsPath).absoluteFilePath().toStdWString();
    char* path = convert ? convert(name.c_str()) : nullptr;
    const QString result = path ? QString::fromLocal8Bit(path) : windowsPath;
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

// One argument of a Windows command line, as Wine splits it back into the program's argv.
QString quoted(const QString& argument)
{
    QString text = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
        } else {
            if (c == u'"')
                text += QString(backslashes + 1, u'\\');
            backslashes = 0;
        }
        text += c;
    }
    return text + QString(backslashes, u'\\') + u'"';
}

// yalmera-wine-peer, started with a socket as its standard input and output (Wine hands a socket
// to a native program as a plain descriptor, a pipe it cannot).
class NativePeer
{
public:
    explicit NativePeer(const QStringList& arguments)
    {
        static const bool started = [] {
            WSADATA data;
            return WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }();
        const QString helper = setting("YALMERA_WINE_PEER");
        const QString dosdevices = setting("YALMERA_WINE_DOSDEVICES");
        if (!started || helper.isEmpty() || dosdevices.isEmpty()) {
            std::fprintf(stderr,
                         "station_peers: YALMERA_WINE_PEER and YALMERA_WINE_DOSDEVICES name the "
                         "native helper and the Wine prefix; run the suite through scripts/windows\n");
            return;
        }
        SOCKET theirs = INVALID_SOCKET;
        if (!connectedPair(&m_socket, &theirs))
            return;
        QString commandLine = quoted(dosPath(helper)) + u' ' + quoted(dosdevices);
        for (const QString& argument : arguments)
            commandLine += u' ' + quoted(argument);
        std::wstring command = commandLine.toStdWString();
        SetHandleInformation(reinterpret_cast<HANDLE>(theirs), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = reinterpret_cast<HANDLE>(theirs);
        startup.hStdOutput = reinterpret_cast<HANDLE>(theirs);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION process{};
        const bool created = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                            nullptr, &startup, &process);
        closesocket(theirs);
        if (!created) {
            close();
            return;
        }
        // A native program has no Windows process to wait for.
        if (process.hProcess)
            CloseHandle(process.hProcess);
        if (process.hThread)
            CloseHandle(process.hThread);
    }
    // The helper's first answer: the COM port it linked, empty when it could not.
    QString port(int timeoutMs = 10000)
    {
        if (m_port.isEmpty())
            m_port = QString::fromLatin1(readLine(timeoutMs));
        return m_port;
    }
    ~NativePeer() { close(); }
    NativePeer(const NativePeer&) = delete;
    NativePeer& operator=(const NativePeer&) = delete;

    bool send(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const int n =
                ::send(m_socket, bytes.constData() + done, static_cast<int>(bytes.size() - done), 0);
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }
    // What arrives within timeoutMs, stopping early once want bytes are in.
    QByteArray receive(int want, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_pending.size() < want && fill(static_cast<int>(timeoutMs - timer.elapsed()))) {
        }
        const QByteArray bytes = m_pending.left(want);
        m_pending.remove(0, bytes.size());
        return bytes;
    }
    // One line without its end; what came before the socket ended or the time was up otherwise.
    QByteArray readLine(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_pending.contains('\n') && fill(static_cast<int>(timeoutMs - timer.elapsed()))) {
        }
        const qsizetype end = m_pending.indexOf('\n');
        const QByteArray line = end < 0 ? m_pending : m_pending.left(end);
        m_pending.remove(0, end < 0 ? m_pending.size() : end + 1);
        return line;
    }
    // The helper sees the end of what the test sends.
    void endSending()
    {
        if (m_socket != INVALID_SOCKET)
            shutdown(m_socket, SD_SEND);
    }
    void close()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }

private:
    static bool connectedPair(SOCKET* ours, SOCKET* theirs)
    {
        const SOCKET listener = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        *theirs = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, 0);
        const bool ok = listener != INVALID_SOCKET && *theirs != INVALID_SOCKET &&
                        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                        listen(listener, 1) == 0 &&
                        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
                        connect(*theirs, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                        (*ours = accept(listener, nullptr, nullptr)) != INVALID_SOCKET;
        closesocket(listener);
        if (!ok && *theirs != INVALID_SOCKET)
            closesocket(*theirs);
        return ok;
    }
    // Takes what arrives within timeoutMs; false when nothing did or the socket ended.
    bool fill(int timeoutMs)
    {
        if (m_socket == INVALID_SOCKET || timeoutMs <= 0)
            return false;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (select(0, &set, nullptr, nullptr, &timeout) <= 0)
            return false;
        char buffer[4096];
        const int n = ::recv(m_socket, buffer, sizeof buffer, 0);
        if (n <= 0) {
            close();
            return false;
        }
        m_pending.append(buffer, n);
        return true;
    }

    SOCKET m_socket = INVALID_SOCKET;
    QByteArray m_pending;
    QString m_port;
};

} // namespace

bool runsUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") != nullptr;
}

struct TestPty::Private
{
    NativePeer peer{{QStringLiteral("relay")}};
};

TestPty::TestPty() : d(std::make_unique<Private>())
{
    d->peer.port();
}

TestPty::~TestPty() = default;

bool TestPty::ok() const
{
    return !d->peer.port().isEmpty();
}

QString TestPty::path() const
{
    return d->peer.port();
}

void TestPty::send(const QByteArray& bytes) const
{
    d->peer.send(bytes);
}

QByteArray TestPty::receive(int want, int timeoutMs) const
{
    return d->peer.receive(want, timeoutMs);
}

void TestPty::hangUp()
{
    d->peer.close();
}

struct StationOnPty::Private
{
    std::unique_ptr<NativePeer> peer;
    bool stopped = false;
    bool heard = false;
    StationRecord record;
};

StationOnPty::StationOnPty(const QByteArray& heldWriteStream, qint64 silentAfter,
                           station::ServerOptions options, QByteArray tail)
    : d(std::make_unique<Private>())
{
    QStringList arguments{QStringLiteral("station")};
    const auto add = [&arguments](const char* option, const QString& value) {
        arguments << QString::fromLatin1(option) << value;
    };
    if (!heldWriteStream.isEmpty())
        add("--held", QString::fromLatin1(heldWriteStream.toHex()));
    add("--silent-after", QString::number(silentAfter));
    add("--reply-delay", QString::number(options.replyDelay.count()));
    add("--abandon-after", QString::number(options.abandonWriteAfter.count()));
    add("--latency-timer", QString::number(options.latencyTimer.count()));
    if (!tail.isEmpty())
        add("--tail", QString::fromLatin1(tail.toHex()));
    if (options.pace)
        arguments << QStringLiteral("--pace");
    d->peer = std::make_unique<NativePeer>(arguments);
    d->peer->port();
}

StationOnPty::~StationOnPty()
{
    stopAndInspect();
}

bool StationOnPty::ok() const
{
    return !d->peer->port().isEmpty();
}

QString StationOnPty::path() const
{
    return d->peer->port();
}

bool StationOnPty::heardDuringTail() const
{
    return d->heard;
}

const StationRecord& StationOnPty::stopAndInspect()
{
    if (d->stopped || !ok())
        return d->record;
    d->stopped = true;
    d->peer->endSending();
    QByteArray received;
    QByteArray held;
    for (;;) {
        const QByteArray line = d->peer->readLine(10000);
        if (line.isEmpty())
            break;
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "received")
            received = QByteArray::fromHex(value);
        else if (key == "held")
            held = QByteArray::fromHex(value);
        else if (key == "heard")
            d->heard = value == "1";
    }
    d->record = StationRecord(received, held);
    d->peer->close();
    return d->record;
}

struct StationProcess::Private
{
    std::unique_ptr<NativePeer> peer;
};

StationProcess::StationProcess(const QStringList& options) : d(std::make_unique<Private>())
{
    // The station is a Linux program: files it is given go by their Unix names.
    QStringList arguments{QStringLiteral("exec"), setting("YALMERA_WINE_STATION"), QStringLiteral("--pty"),
                          QStringLiteral("--stdin-quit")};
    for (const QString& option : options)
        arguments << (QFileInfo::exists(option) ? unixPath(option) : option);
    d->peer = std::make_unique<NativePeer>(arguments);
    d->peer->port();
}

StationProcess::~StationProcess() = default;

QString StationProcess::path() const
{
    return d->peer->port();
}

void StationProcess::kill()
{
    if (d->peer->send("k"))
        d->peer->readLine(5000); // "killed": the line is closed
}

QString hostPath(const QString& path)
{
    return unixPath(path);
}

std::optional<QByteArray> runHostTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    NativePeer peer(QStringList{QStringLiteral("run"), program} + arguments);
    // "exit <code> <bytes>", then its output.
    const QList<QByteArray> header = peer.readLine(timeoutMs).split(' ');
    if (header.size() != 3 || header[0] != "exit")
        return std::nullopt;
    const int length = header[2].toInt();
    const QByteArray output = peer.receive(length, timeoutMs);
    if (header[1] != "0" || output.size() != length)
        return std::nullopt;
    return output;
}

bool hostToolExists(const QString& program)
{
    return runHostTool(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("command -v ") + program},
                       10000)
        .has_value();
}

} // namespace yalmera::test
