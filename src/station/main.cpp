// yalmera-station: a simulated station on a pseudo-terminal or a serial port, for trying the
// program without hardware and for the tests.

#include "model/version.h"
#include "station/station_server.h"
#include "station/virtual_station.h"

#include "files/whole_file.h"

#include "files/program_language.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

using namespace yalmera;
using namespace yalmera::station;

namespace {

// The program's own texts (translations/yalmera-station_ru.ts).
class StationProgram
{
    Q_DECLARE_TR_FUNCTIONS(StationProgram)
};

// The signal handler's way into the server: the write end of its stop pipe.
volatile sig_atomic_t stopDescriptor = -1;

extern "C" void onTerminate(int)
{
    const int fd = stopDescriptor;
    if (fd >= 0) {
        const char c = 'x';
        [[maybe_unused]] const ssize_t n = ::write(fd, &c, 1);
    }
}

void printLine(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int fail(const QString& text)
{
    printLine(stderr, QStringLiteral("yalmera-station: ") + text);
    return 2;
}

// Help in the format of yalmera-cli's: usage, what it does, options, exit codes.
QString helpText()
{
    return StationProgram::tr(
        "Usage: yalmera-station (--pty | --port DEV) [OPTIONS]\n"
        "\n"
        "A simulated station: acknowledges every byte of a write (command 0x14), keeps the plan it\n"
        "received and answers the read command 0x1E with the plan it holds. Runs until it is\n"
        "terminated (SIGTERM, SIGINT, SIGHUP) or, with --stdin-quit, its standard input closes.\n"
        "\n"
        "Options:\n"
        "  --pty              create a pseudo-terminal; its path is the first line of output\n"
        "  --port DEV         serve an existing serial device\n"
        "  --image FILE       hold the plan of this write stream file at start\n"
        "  --serial HEX6      serial number, up to six hexadecimal digits (default 012345)\n"
        "  --silent-after N   send nothing after the first N bytes\n"
        "  --reply-delay MS   wait MS milliseconds before each answer\n"
        "  --latency-timer MS\n"
        "                     hand answers over only every MS milliseconds, as a USB-serial\n"
        "                     adapter's latency timer does\n"
        "  --pace             receive and send at real 1200-baud byte times\n"
        "  --abandon-after MS\n"
        "                     give up a write paused longer than MS milliseconds (default 1000)\n"
        "  --stdin-quit       end when standard input closes\n"
        "  -h, --help         this text\n"
        "  -v, --version      the program's version\n"
        "\n"
        "Exit codes: 0 ended as asked; 2 usage or file error, or the line failed. Messages on\n"
        "stderr.");
}

// What the command line asks of the station.
struct StationSetup
{
    bool pty = false; // --pty; otherwise --port
    QString port;
    std::optional<QString> image; // --image
    quint32 serial = VirtualStation::DefaultSerialNumber;
    qint64 silentAfter = -1; // negative: never silent
    ServerOptions server;
};

// The command line, read in the order its messages come: what ends the program at once (help,
// version, a usage error), then the line, the station and the server. Each step returns an exit
// code when the program ends there.
class StationCommandLine
{
public:
    StationCommandLine()
    {
        m_parser.addOptions({m_help, m_version, m_pty, m_port, m_image, m_serial, m_silent, m_delay, m_tick,
                             m_pace, m_abandon, m_stdinQuit});
    }

    std::optional<int> read(const QStringList& arguments, StationSetup& setup)
    {
        if (const std::optional<int> exit = readCommand(arguments))
            return exit;
        if (const std::optional<int> exit = readLine(setup))
            return exit;
        if (const std::optional<int> exit = readStation(setup))
            return exit;
        return readServer(setup.server);
    }

private:
    std::optional<int> readCommand(const QStringList& arguments)
    {
        if (!m_parser.parse(arguments)) {
            fail(m_parser.errorText());
            printLine(stderr, StationProgram::tr("Try 'yalmera-station --help'."));
            return 2;
        }
        if (m_parser.isSet(m_help)) {
            printLine(stdout, helpText());
            return 0;
        }
        if (m_parser.isSet(m_version)) {
            printLine(stdout,
                      QStringLiteral("yalmera-station ") + QString::fromLatin1(yalmera::ProgramVersion));
            return 0;
        }
        if (!m_parser.positionalArguments().isEmpty())
            return fail(StationProgram::tr("unexpected argument '%1' (see --help)")
                            .arg(m_parser.positionalArguments().first()));
        return std::nullopt;
    }

    std::optional<int> readLine(StationSetup& setup)
    {
        if (m_parser.isSet(m_pty) == m_parser.isSet(m_port))
            return fail(StationProgram::tr("give exactly one of --pty and --port DEV (see --help)"));
        setup.pty = m_parser.isSet(m_pty);
        setup.port = m_parser.value(m_port);
        return std::nullopt;
    }

    std::optional<int> readStation(StationSetup& setup)
    {
        if (m_parser.isSet(m_serial)) {
            const QString text = m_parser.value(m_serial);
            bool ok = false;
            setup.serial = text.toUInt(&ok, 16);
            if (!ok || text.size() > 6)
                return fail(
                    StationProgram::tr("--serial takes up to six hexadecimal digits, not '%1'").arg(text));
        }
        if (m_parser.isSet(m_silent)) {
            bool ok = false;
            setup.silentAfter = m_parser.value(m_silent).toLongLong(&ok);
            if (!ok || setup.silentAfter < 0)
                return fail(StationProgram::tr("--silent-after takes a byte count"));
        }
        if (m_parser.isSet(m_image))
            setup.image = m_parser.value(m_image);
        return std::nullopt;
    }

    std::optional<int> readServer(ServerOptions& options)
    {
        options.pace = m_parser.isSet(m_pace);
        options.watchStdin = m_parser.isSet(m_stdinQuit);
        if (m_parser.isSet(m_delay)) {
            bool ok = false;
            const int ms = m_parser.value(m_delay).toInt(&ok);
            if (!ok || ms < 0)
                return fail(StationProgram::tr("--reply-delay takes milliseconds"));
            options.replyDelay = std::chrono::milliseconds(ms);
        }
        if (m_parser.isSet(m_tick)) {
            bool ok = false;
            const int ms = m_parser.value(m_tick).toInt(&ok);
            if (!ok || ms < 0)
                return fail(StationProgram::tr("--latency-timer takes milliseconds"));
            options.latencyTimer = std::chrono::milliseconds(ms);
        }
        if (m_parser.isSet(m_abandon)) {
            bool ok = false;
            const int ms = m_parser.value(m_abandon).toInt(&ok);
            if (!ok || ms < 0)
                return fail(StationProgram::tr("--abandon-after takes milliseconds"));
            options.abandonWriteAfter = std::chrono::milliseconds(ms);
        }
        return std::nullopt;
    }

    QCommandLineParser m_parser;
    const QCommandLineOption m_help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption m_version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
    const QCommandLineOption m_pty{QStringLiteral("pty")};
    const QCommandLineOption m_port{QStringLiteral("port"), QString(), QStringLiteral("DEV")};
    const QCommandLineOption m_image{QStringLiteral("image"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption m_serial{QStringLiteral("serial"), QString(), QStringLiteral("HEX6")};
    const QCommandLineOption m_silent{QStringLiteral("silent-after"), QString(), QStringLiteral("N")};
    const QCommandLineOption m_delay{QStringLiteral("reply-delay"), QString(), QStringLiteral("MS")};
    const QCommandLineOption m_tick{QStringLiteral("latency-timer"), QString(), QStringLiteral("MS")};
    const QCommandLineOption m_pace{QStringLiteral("pace")};
    const QCommandLineOption m_abandon{QStringLiteral("abandon-after"), QString(), QStringLiteral("MS")};
    // A station in the background of an interactive shell must leave the terminal alone: reading
    // it would stop the job (SIGTTIN). Only a parent that holds a pipe to the station asks for this.
    const QCommandLineOption m_stdinQuit{QStringLiteral("stdin-quit")};
};

// The plan of a write stream file, held from the start (--image); an exit code when it cannot be.
std::optional<int> preloadImage(VirtualStation& station, const QString& path)
{
    // Bounded like a plan file: a FIFO or a device given by mistake is refused, not read.
    const WholeFileRead read = readWholeFile(path, DeviceImage::MaxStreamSize);
    if (read.tooLarge)
        return fail(StationProgram::tr("%1: larger than a write stream (at most %2 bytes)")
                        .arg(path)
                        .arg(DeviceImage::MaxStreamSize));
    if (!read.bytes)
        return fail(QStringLiteral("%1: %2").arg(path, read.error));
    const QString problem = station.preload(*read.bytes);
    if (!problem.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(path, problem));
    return std::nullopt;
}

// The line the station serves: a new pseudo-terminal, whose path is the first line of output, or
// the device given. Its descriptor, or -1 after saying why.
int openLine(const StationSetup& setup, Pty& pty)
{
    QString error;
    if (setup.pty) {
        const std::optional<Pty> created = openPty(&error);
        if (!created) {
            fail(error);
            return -1;
        }
        pty = *created;
        printLine(stdout, pty.slavePath);
        return pty.master;
    }
    const int fd = openSerialDevice(setup.port, &error);
    if (fd < 0)
        fail(error);
    return fd;
}

// Serves the station until a stop signal (SIGTERM, SIGINT, SIGHUP) or, when watched, the end of
// standard input; empty, or the line's failure.
QString serveUntilStopped(VirtualStation& station, int fd, const ServerOptions& options)
{
    StationServer server(station, fd, options);
    stopDescriptor = server.stopDescriptor();
    struct sigaction action
    {
    };
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    const QString failure = server.run();
    stopDescriptor = -1;
    return failure;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    files::useUserLanguage(app, u"yalmera-station");
    StationSetup setup;
    if (const std::optional<int> exit = StationCommandLine().read(QCoreApplication::arguments(), setup))
        return *exit;
    VirtualStation station(setup.serial);
    station.setSilentAfter(setup.silentAfter);
    if (setup.image) {
        if (const std::optional<int> exit = preloadImage(station, *setup.image))
            return *exit;
    }
    Pty pty;
    const int fd = openLine(setup, pty);
    if (fd < 0)
        return 2;
    const QString failure = serveUntilStopped(station, fd, setup.server);
    if (pty.master >= 0)
        closePty(pty);
    else
        ::close(fd);
    if (!failure.isEmpty())
        return fail(failure);
    return 0;
}
