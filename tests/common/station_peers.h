#pragma once

// The far ends of the serial lines the tests use, on a pseudo-terminal whose slave the program
// opens: a line the test drives by hand, the virtual station served by the test, and the virtual
// station as a program of its own (yalmera-station). path() is the port to give the program.
//
// On Linux the test holds the pseudo-terminal itself. A Windows test process under Wine cannot:
// there a native helper (yalmera-wine-peer, next to the Linux build's yalmera-station) holds it,
// links a free COM port of the Wine prefix to it, and talks to the test through a socket. The
// tests are the same on both.

#include "station/station_server.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace yalmera::test {

// Whether this Windows test runs under Wine rather than Windows.
bool runsUnderWine();

// The programs of the machine the tests run on (pdftotext, soffice); for a Windows test under Wine
// the Linux ones, run by the native helper. hostPath gives a file of the test as they name it.
bool hostToolExists(const QString& program);
// The tool's standard output when it ends with 0; nothing when it is missing, fails or takes longer.
std::optional<QByteArray> runHostTool(const QString& program, const QStringList& arguments,
                                      int timeoutMs = 120000);
QString hostPath(const QString& path);

// A raw line whose far end the test drives by hand.
class TestPty
{
public:
    TestPty();
    ~TestPty();
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const;
    QString path() const;

    void send(const QByteArray& bytes) const;
    // Whatever arrives within timeoutMs, stopping early once want bytes are in.
    QByteArray receive(int want, int timeoutMs = 1000) const;
    // Closes the far end: the program's side sees the line vanish.
    void hangUp();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// What a station served by the test received and holds, once it has stopped.
class StationRecord
{
public:
    StationRecord() = default;
    StationRecord(QByteArray received, QByteArray held)
        : m_received(std::move(received)), m_held(std::move(held))
    {
    }
    // Every byte received, in order.
    const QByteArray& received() const { return m_received; }
    // The write stream of the plan held (command byte first), empty before any.
    const QByteArray& heldWriteStream() const { return m_held; }

private:
    QByteArray m_received;
    QByteArray m_held;
};

// The virtual station served on its own line by the test. With a tail it is still sending when it
// starts, as after a read the program was killed in: the tail goes out one byte per line time
// (8 ms) before the station listens.
class StationOnPty
{
public:
    explicit StationOnPty(const QByteArray& heldWriteStream = {}, qint64 silentAfter = -1,
                          station::ServerOptions options = {}, QByteArray tail = {});
    ~StationOnPty();
    StationOnPty(const StationOnPty&) = delete;
    StationOnPty& operator=(const StationOnPty&) = delete;

    bool ok() const;
    QString path() const;
    // Whether the program sent anything while the tail was still going out; valid once stopped.
    bool heardDuringTail() const;
    // Stops the station; afterwards what it received and holds may be inspected.
    const StationRecord& stopAndInspect();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// yalmera-station --pty as a program of its own, so that it can be killed in the middle of an
// exchange. It ends when the object goes.
class StationProcess
{
public:
    explicit StationProcess(const QStringList& options = {});
    ~StationProcess();
    StationProcess(const StationProcess&) = delete;
    StationProcess& operator=(const StationProcess&) = delete;

    QString path() const;
    // The station vanishes at once: its line closes with the process.
    void kill();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace yalmera::test
