#pragma once

#include "image/station_model.h"
#include "station/virtual_station.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <optional>

namespace yalmera::station {

// One byte on the line at the stations' speed, 8N1: start bit, 8 data bits, stop bit.
using ByteTime = std::chrono::duration<std::int64_t, std::ratio<10, YalmeraTimings.baud>>;

struct ServerOptions
{
    std::chrono::milliseconds replyDelay{0}; // before each answer
    // Answers are handed over only on the ticks of this period (none: at once), as a USB-serial
    // adapter's latency timer hands received bytes to the system.
    std::chrono::milliseconds latencyTimer{0};
    // Send and answer at real line speed: a byte counts as received one byte time after it came
    // in, and every byte sent occupies the line for one byte time.
    bool pace = false;
    bool watchStdin = false; // end when standard input closes
    // A write that pauses longer is given up (the program on the other side timed out or was
    // stopped); the program waits as long before it writes again (ExchangeTimings).
    std::chrono::milliseconds abandonWriteAfter = YalmeraTimings.stationAbandon;
};

// A pseudo-terminal in raw mode. The station reads and writes the master; the program opens
// slavePath. The station holds the slave open itself, so the master keeps working while no
// program has it open (between two exchanges).
struct Pty
{
    int master = -1;
    int slaveHold = -1;
    QString slavePath;
};
std::optional<Pty> openPty(QString* error);
void closePty(Pty& pty);

// Opens an existing serial device raw at the stations' speed, 8N1 without handshake; -1 with the
// reason on failure.
int openSerialDevice(const QString& device, QString* error);

// Serves the station on a file descriptor until stop() is called, standard input closes (when
// watched) or the line fails.
class StationServer
{
    Q_DECLARE_TR_FUNCTIONS(StationServer)

public:
    StationServer(VirtualStation& station, int fd, ServerOptions options);
    ~StationServer();
    StationServer(const StationServer&) = delete;
    StationServer& operator=(const StationServer&) = delete;

    // Empty when ended by stop() or by standard input closing; otherwise the line's failure.
    QString run();
    // Ends run() from any thread or from a signal handler.
    void stop();
    // For a signal handler: the descriptor whose write ends run().
    int stopDescriptor() const { return m_stopPipe[1]; }

private:
    VirtualStation& m_station;
    int m_fd;
    ServerOptions m_options;
    int m_stopPipe[2] = {-1, -1};
};

} // namespace yalmera::station
