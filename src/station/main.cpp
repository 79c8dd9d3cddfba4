// yalmera-station: a simulated station on a pseudo-terminal or a serial port, for trying the
// program without hardware and for the tests.

#include "model/version.h"
#include "station/station_server.h"
#include "station/virtual_station.h"

#include "files/whole_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <signal.h>
#include <unistd.h>

#include <cstdio>

using namespace yalmera;
using namespace yalmera::station;

namespace {

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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);

    // Help in the format of yalmera-cli's: usage, what it does, options, exit codes.
    const QString help = QStringLiteral(
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
        "  --pace             receive and send at real 1200-baud byte times\n"
        "  --abandon-after MS\n"
        "                     give up a write paused longer than MS milliseconds (default 1000)\n"
        "  --stdin-quit       end when standard input closes\n"
        "  -h, --help         this text\n"
        "  -v, --version      the program's version\n"
        "\n"
        "Exit codes: 0 ended as asked; 2 usage or file error, or the line failed. Messages on\n"
        "stderr.");
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption ptyOption(QStringLiteral("pty"));
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("DEV"));
    const QCommandLineOption imageOption(QStringLiteral("image"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption serialOption(QStringLiteral("serial"), QString(), QStringLiteral("HEX6"));
    const QCommandLineOption silentOption(QStringLiteral("silent-after"), QString(), QStringLiteral("N"));
    const QCommandLineOption delayOption(QStringLiteral("reply-delay"), QString(), QStringLiteral("MS"));
    const QCommandLineOption paceOption(QStringLiteral("pace"));
    const QCommandLineOption abandonOption(QStringLiteral("abandon-after"), QString(), QStringLiteral("MS"));
    // A station in the background of an interactive shell must leave the terminal alone: reading
    // it would stop the job (SIGTTIN). Only a parent that holds a pipe to the station asks for this.
    const QCommandLineOption stdinQuitOption(QStringLiteral("stdin-quit"));
    parser.addOptions({helpOption, versionOption, ptyOption, portOption, imageOption, serialOption,
                       silentOption, delayOption, paceOption, abandonOption, stdinQuitOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        fail(parser.errorText());
        printLine(stderr, QStringLiteral("Try 'yalmera-station --help'."));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        printLine(stdout, help);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        printLine(stdout, QStringLiteral("yalmera-station ") + QString::fromLatin1(yalmera::ProgramVersion));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1' (see --help)")
                        .arg(parser.positionalArguments().first()));

    if (parser.isSet(ptyOption) == parser.isSet(portOption))
        return fail(QStringLiteral("give exactly one of --pty and --port DEV (see --help)"));

    quint32 serial = VirtualStation::DefaultSerialNumber;
    if (parser.isSet(serialOption)) {
        const QString text = parser.value(serialOption);
        bool ok = false;
        serial = text.toUInt(&ok, 16);
        if (!ok || text.size() > 6)
            return fail(QStringLiteral("--serial takes up to six hexadecimal digits, not '%1'").arg(text));
    }
    VirtualStation station(serial);
    if (parser.isSet(silentOption)) {
        bool ok = false;
        const qint64 limit = parser.value(silentOption).toLongLong(&ok);
        if (!ok || limit < 0)
            return fail(QStringLiteral("--silent-after takes a byte count"));
        station.setSilentAfter(limit);
    }
    ServerOptions options;
    options.pace = parser.isSet(paceOption);
    options.watchStdin = parser.isSet(stdinQuitOption);
    if (parser.isSet(delayOption)) {
        bool ok = false;
        const int ms = parser.value(delayOption).toInt(&ok);
        if (!ok || ms < 0)
            return fail(QStringLiteral("--reply-delay takes milliseconds"));
        options.replyDelay = std::chrono::milliseconds(ms);
    }
    if (parser.isSet(abandonOption)) {
        bool ok = false;
        const int ms = parser.value(abandonOption).toInt(&ok);
        if (!ok || ms < 0)
            return fail(QStringLiteral("--abandon-after takes milliseconds"));
        options.abandonWriteAfter = std::chrono::milliseconds(ms);
    }
    if (parser.isSet(imageOption)) {
        // Bounded like a plan file: a FIFO or a device given by mistake is refused, not read.
        const QString path = parser.value(imageOption);
        const WholeFileRead read = readWholeFile(path, DeviceImage::MaxStreamSize);
        if (read.tooLarge)
            return fail(QStringLiteral("%1: larger than a write stream (at most %2 bytes)")
                            .arg(path)
                            .arg(DeviceImage::MaxStreamSize));
        if (!read.bytes)
            return fail(QStringLiteral("%1: %2").arg(path, read.error));
        const QString problem = station.preload(*read.bytes);
        if (!problem.isEmpty())
            return fail(QStringLiteral("%1: %2").arg(path, problem));
    }

    QString error;
    Pty pty;
    int fd = -1;
    if (parser.isSet(ptyOption)) {
        const std::optional<Pty> created = openPty(&error);
        if (!created)
            return fail(error);
        pty = *created;
        fd = pty.master;
        printLine(stdout, pty.slavePath);
    } else {
        fd = openSerialDevice(parser.value(portOption), &error);
        if (fd < 0)
            return fail(error);
    }

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
    if (pty.master >= 0)
        closePty(pty);
    else
        ::close(fd);
    if (!failure.isEmpty())
        return fail(failure);
    return 0;
}
