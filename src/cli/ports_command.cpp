#include "cli_support.h"

#include "link/serial_link.h"

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class PortsCommand
{
    Q_DECLARE_TR_FUNCTIONS(PortsCommand)
};

QString helpText()
{
    return PortsCommand::tr(
        "Usage: yalmera-cli ports\n"
        "\n"
        "Lists the serial ports the system reports, one per line: the name --port takes, the\n"
        "device, and what the system tells of it (description, maker, USB vendor and product id,\n"
        "the adapter's serial number), which tells two USB adapters apart. The station-link\n"
        "window's \" Другой порт:\" list shows the same. The ports that COM1 and COM2 stand for are\n"
        "marked with those names. For a USB adapter whose latency timer the system tells (the\n"
        "sysfs latency_timer on Linux, FTDI's D2XX library on Windows) it is shown too: each\n"
        "reply of a write waits that long. Pseudo-terminals (the virtual station's /dev/pts/N)\n"
        "are not reported by the system: give their path to --port.\n"
        "\n"
        "Options:\n"
        "  -h, --help   this text\n"
        "\n"
        "Exit codes: 0 listed (also when there is none); 2 usage error.");
}

} // namespace

int runPorts(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("ports"), helpText());
    if (const auto exit = commandLine.parse(arguments))
        return *exit;
    const QList<PortChoice> ports = serialPorts();
    QList<QStringList> rows{
        {PortsCommand::tr("PORT"), PortsCommand::tr("DEVICE"), PortsCommand::tr("DETAILS")}};
    for (const PortChoice& port : ports) {
        QString details = portSummary(port);
        if (const std::optional<int> timer = adapterLatencyTimer(port))
            details += (details.isEmpty() ? QString() : QStringLiteral(", ")) +
                       PortsCommand::tr("latency timer %1 ms").arg(*timer);
        rows.append({port.name, port.location, details});
    }
    if (ports.isEmpty()) {
        commandLine.message(PortsCommand::tr("the system reports no serial port"));
    } else {
        qsizetype widths[2] = {0, 0};
        for (const QStringList& row : rows) {
            widths[0] = std::max(widths[0], row[0].size());
            widths[1] = std::max(widths[1], row[1].size());
        }
        for (const QStringList& row : rows)
            printOut(QStringLiteral("%1  %2  %3")
                         .arg(row[0].leftJustified(widths[0]), row[1].leftJustified(widths[1]), row[2])
                         .trimmed());
    }
#ifndef Q_OS_WIN // Windows has no pseudo-terminals
    commandLine.message(PortsCommand::tr("pseudo-terminals (/dev/pts/N, the virtual station) are not "
                                         "listed: give their path to --port"));
#endif
    return ExitSuccess;
}

} // namespace yalmera::cli
