#include "link_fixture.h"

#include "link/link_texts.h"
#include "link/port_lock.h"
#include "link/serial_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace yalmera;
using namespace yalmera::test;
using namespace std::chrono_literals;

namespace {

UserMessage openOn(SerialLink& link, const QString& path)
{
    link.setPortChoice(path);
    link.configure(Yalmera4K17);
    return link.openSelected();
}

} // namespace

TEST(PortNames, Com1AndCom2AreThePlatformsFirstTwoPortsOthersPassThrough)
{
#ifdef Q_OS_WIN
    const QString first = QStringLiteral("\\\\.\\COM1");
    const QString second = QStringLiteral("\\\\.\\COM2");
    // Every COMn goes by its device name, the only one that reaches COM10 and above.
    const std::pair<QString, QString> others[] = {
        {QStringLiteral("com12"), QStringLiteral("\\\\.\\COM12")},
        {QStringLiteral("\\\\.\\COM7"), QStringLiteral("\\\\.\\COM7")},
        {QStringLiteral("COM0"), QStringLiteral("COM0")},
    };
#else
    const QString first = QStringLiteral("/dev/ttyS0");
    const QString second = QStringLiteral("/dev/ttyS1");
    const std::pair<QString, QString> others[] = {
        {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB0")},
        {QStringLiteral("/dev/pts/7"), QStringLiteral("/dev/pts/7")},
    };
#endif
    EXPECT_EQ(portDeviceName(QStringLiteral("COM1")), first);
    EXPECT_EQ(portDeviceName(QStringLiteral("COM2")), second);
    EXPECT_EQ(portDeviceName(QStringLiteral(" com2 ")), second);
    for (const auto& [choice, device] : others)
        EXPECT_EQ(portDeviceName(choice), device) << choice.toStdString();

    // The other ports never repeat the two that COM1 and COM2 name.
    for (const PortChoice& port : otherSerialPorts()) {
        EXPECT_NE(portDeviceName(port.name), first);
        EXPECT_NE(portDeviceName(port.name), second);
    }
}

TEST(PortNames, DetailsTellTwoUsbAdaptersApart)
{
    struct Case
    {
        PortChoice port;
        const char* details;
    };
    const Case cases[] = {
        {{u"ttyUSB0"_qs, u"FT232R USB UART"_qs, u"/dev/ttyUSB0"_qs, u"FTDI"_qs, u"0403"_qs, u"6001"_qs,
          u"A50285BI"_qs},
         "FT232R USB UART, FTDI, USB 0403:6001, S/N A50285BI"},
        // Drivers that repeat the maker as description, and know no serial number.
        {{u"ttyUSB1"_qs, u"Prolific"_qs, u"/dev/ttyUSB1"_qs, u"Prolific"_qs, u"067B"_qs, u"2303"_qs, {}},
         "Prolific, USB 067B:2303"},
        {{u"ttyS4"_qs, {}, u"/dev/ttyS4"_qs, {}, {}, {}, {}}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(portDetails(c.port), QString::fromUtf8(c.details)) << c.details;
}

TEST(SerialLinkOpening, FailuresCarryTheLinkTextsAndLeaveTheLinkClosed)
{
    SerialLink link;
    const QString port = QStringLiteral("/dev/yalmera-no-such-port-link");
    const UserMessage missing = openOn(link, port);
    EXPECT_EQ(lineOf(missing, 0), texts::link::BadId);
    EXPECT_EQ(missing.kind, MessageKind::Failure);
    EXPECT_FALSE(link.isOpen());
    // Below it in Russian: the port, the step, and the ports there are to choose from.
    EXPECT_TRUE(
        lineOf(missing, 1).startsWith(u"Порт %1, открытие: такого порта в системе нет. "_qs.arg(port)));
    for (const PortChoice& other : serialPorts())
        EXPECT_TRUE(lineOf(missing, 1).contains(other.name)) << missing.text.toStdString();

    // A closed link refuses to send, naming the byte; closing it again is harmless.
    EXPECT_EQ(link.putByte(0x14).text,
              u"ie_NOpen - device not open\nПорт %1, передача байта 1: порт не открыт."_qs.arg(port));

    // A file is no serial port: the system's text, then the port and the step it failed at.
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("not-a-port"));
    QFile(file).open(QIODevice::WriteOnly);
#ifdef Q_OS_WIN
    const QString step = QStringLiteral("настройка линии (1200 бод, 8N1)"); // it opens, then refuses
#else
    const QString step = QStringLiteral("открытие");
#endif
    EXPECT_TRUE(lineOf(openOn(link, file), 1).startsWith(u"Порт %1, %2: "_qs.arg(file, step)));
    link.close();
    link.close();
    EXPECT_FALSE(link.byteReady());
    EXPECT_FALSE(link.receiveByte(1ms).has_value());
}

TEST(SerialLinkOpening, APortAnotherProgramHoldsIsAlreadyOpenUntilItIsClosed)
{
    if (runsUnderWine())
        GTEST_SKIP() << "Wine lets a second program open a COM port; Windows refuses it";
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink holder;
    ASSERT_TRUE(openOn(holder, pty.path()).isEmpty());
    SerialLink second;
    const UserMessage held = openOn(second, pty.path());
    EXPECT_EQ(lineOf(held, 0), texts::link::AlreadyOpen);
    EXPECT_TRUE(
        lineOf(held, 1).startsWith(u"Порт %1, открытие: порт занят другой программой."_qs.arg(pty.path())));
    EXPECT_EQ(held.kind, MessageKind::Failure);
    EXPECT_FALSE(second.isOpen());
    EXPECT_TRUE(holder.isOpen());

    // Opening again closes first; after closing, another link may open the port.
    EXPECT_TRUE(holder.openSelected().isEmpty());
    holder.close();
    EXPECT_TRUE(openOn(second, pty.path()).isEmpty());
}

// Qt SerialPort's lock files; Windows has none.
#ifndef Q_OS_WIN
TEST(SerialLinkOpening, LockFilesOfKilledProgramsAreClearedAndOnlyALiveHolderKeepsThePort)
{
    // Lock files as Qt writes them: PID, program name, host name. No PID runs above pid_max.
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray dead = "2147483647\nyalmera-cli\n" + host + '\n';
    const qint64 pid = QCoreApplication::applicationPid();
    const QByteArray live = QByteArray::number(pid) + '\n' +
                            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
                            host + '\n';
    // Other programs write only the PID: as text, or as the bytes of an int.
    const auto ascii = [](qint64 owner) { return QByteArray::number(owner).rightJustified(10, ' ') + '\n'; };
    const auto pidInt = static_cast<int>(pid);
    const QByteArray binary(reinterpret_cast<const char*>(&pidInt), sizeof pidInt);
    // The lock file and its chain of ".rmlock" files; whether the port opens.
    const std::pair<QList<QByteArray>, bool> cases[] = {
        {{""}, true},                   // killed while creating its lock
        {{dead, ""}, true},             // killed holding the port, then while removing its lock
        {{dead, dead, "", dead}, true}, // removals killed again and again
        {{live}, false},                // a live process holds the port
        {{ascii(pid)}, false},          // a live program of another kind (minicom, lockdev)
        {{ascii(2147483647)}, true},    // ... that was killed
        {{binary}, false},              // an old program's binary PID
        // A killed program's PID, now another program's.
        {{QByteArray::number(pid) + "\nyalmera-cli\n" + host + '\n'}, true},
    };
    for (const auto& [files, opens] : cases) {
        TestPty pty;
        const QString lock = portLockFilePath(pty.path());
        QStringList paths;
        for (const QByteArray& content : files) {
            paths << lock + QStringLiteral(".rmlock").repeated(paths.size());
            QFile file(paths.last());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
            file.write(content);
        }
        SerialLink link;
        EXPECT_EQ(lineOf(openOn(link, pty.path()), 0),
                  opens ? QString() : texts::link::AlreadyOpen.toString())
            << files.size();
        link.close();
        for (const QString& path : paths)
            EXPECT_EQ(QFile::remove(path), !opens) << path.toStdString();
    }
}

#endif

TEST(SerialLinkOpening, APseudoTerminalWithoutModemLinesOpensAndTakesRts)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    ASSERT_TRUE(openOn(link, pty.path()).isEmpty());
    link.setRts(false);
    link.setRts(true);
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(link.putByte(0xA5).isEmpty());
    EXPECT_EQ(pty.receive(1), QByteArray(1, char(0xA5)));
}

TEST(SerialLinkTransfer, EveryByteValueArrivesOnceAndInOrder)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    ASSERT_TRUE(openOn(link, pty.path()).isEmpty());

    QByteArray all;
    for (int v = 0; v < 256; ++v)
        all.append(static_cast<char>(v));
    // In uneven bursts, some of them while the link waits, some before it looks.
    std::thread peer([&pty, &all] {
        for (qsizetype at = 0; at < all.size();) {
            const qsizetype n = std::min<qsizetype>(1 + at % 37, all.size() - at);
            pty.send(all.mid(at, n));
            at += n;
            std::this_thread::sleep_for(std::chrono::milliseconds(at % 3));
        }
    });
    QByteArray got;
    for (int i = 0; i < 256; ++i) {
        const std::optional<quint8> byte = link.receiveByte(Yalmera4K17.timings.recordSilence);
        if (!byte)
            break;
        got.append(static_cast<char>(*byte));
    }
    peer.join();
    EXPECT_EQ(got, all);
    EXPECT_FALSE(link.receiveByte(20ms).has_value()); // nothing handed over twice

    // What the link sends arrives in order too.
    for (int v = 0; v < 256; ++v)
        ASSERT_TRUE(link.putByte(static_cast<quint8>(v)).isEmpty());
    EXPECT_EQ(pty.receive(256), all);
}

TEST(SerialLinkTransfer, BytesReceivedBeforeFlushInputAreNeverReturned)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    ASSERT_TRUE(openOn(link, pty.path()).isEmpty());

    // Bytes already taken into the link's buffer.
    pty.send(hexBytes("0102030405"));
    std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(link.byteReady());
    EXPECT_EQ(link.getByte(), 0x01);
    link.flushInput();
    EXPECT_FALSE(link.byteReady());

    // Bytes still waiting in the driver.
    pty.send(hexBytes("0607"));
    std::this_thread::sleep_for(50ms);
    link.flushInput();
    EXPECT_FALSE(link.byteReady());

    pty.send(hexBytes("AA"));
    EXPECT_EQ(link.receiveByte(Yalmera4K17.timings.headerSilence), std::optional<quint8>(0xAA));
    EXPECT_FALSE(link.receiveByte(20ms).has_value());
}

TEST(SerialLinkWaits, SilenceLimitsAreNeverShortAndAnswersEndTheWaitAtOnce)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    ASSERT_TRUE(openOn(link, pty.path()).isEmpty());

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.receiveByte(Yalmera4K17.timings.recordSilence).has_value());
    EXPECT_GE(timer.nsecsElapsed(), 100'000'000);
    EXPECT_TRUE(link.isOpen()); // a read time-out changes nothing else

    std::thread late([&pty] {
        std::this_thread::sleep_for(30ms);
        pty.send(hexBytes("00"));
    });
    timer.start();
    EXPECT_EQ(link.receiveByte(Yalmera4K17.timings.recordSilence), std::optional<quint8>(0x00));
    EXPECT_LT(timer.elapsed(), 90);
    late.join();

    // A reply of 0x00 is a reply like any other.
    pty.send(hexBytes("00"));
    EXPECT_TRUE(link.waitReply());
    EXPECT_TRUE(link.isOpen());

    // Silence: the wait gives up after 200 ms at the earliest, drops the line and the next byte fails.
    timer.start();
    EXPECT_FALSE(link.waitReply());
    EXPECT_GE(timer.nsecsElapsed(), 200'000'000);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(lineOf(link.putByte(0x01), 0), texts::link::NotOpen);
}

TEST(SerialLinkWaits, TheConfiguredModelSetsTheWaits)
{
    // A model of its own, which lives as long as the program as every model does.
    static constexpr StationModel Patient = [] {
        StationModel model = Yalmera4K17;
        model.timings.replySilence = 400ms;
        return model;
    }();
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    link.setPortChoice(pty.path());
    link.configure(Patient);
    ASSERT_TRUE(link.openSelected().isEmpty());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.waitReply());
    EXPECT_GE(timer.nsecsElapsed(), 400'000'000);
}

TEST(SerialLinkWaits, APeerThatVanishesEndsTheWaitWithoutHanging)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    SerialLink link;
    ASSERT_TRUE(openOn(link, pty.path()).isEmpty());
    pty.send(hexBytes("42"));
    EXPECT_EQ(link.receiveByte(Yalmera4K17.timings.headerSilence), std::optional<quint8>(0x42));
    pty.hangUp();
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.receiveByte(Yalmera4K17.timings.headerSilence).has_value());
    EXPECT_FALSE(link.receiveByte(Yalmera4K17.timings.headerSilence).has_value());
    EXPECT_LT(timer.elapsed(), 2000);
    // Said as a failed line, with the port and the byte it waited for (Wine's COM port reads a
    // vanished pseudo-terminal as silence).
    EXPECT_TRUE(runsUnderWine() || link.lineFailure().text.startsWith(
                                       u"Порт %1, прием байта 2: линия отказала ("_qs.arg(pty.path())));
    link.close();
}
