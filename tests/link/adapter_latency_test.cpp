#include "link/adapter_latency.h"

#include "link/serial_link.h"
#include "link/write_exchange.h"
#include "link_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::detail;

// The stand-in D2XX library (common/stand-ins/ftd2xx): linked in here; under Wine the DLL
// beside this program, which the link loads as it would load FTDI's own.
#ifndef Q_OS_WIN
extern "C" {
unsigned long FT_CreateDeviceInfoList(unsigned long*);
unsigned long FT_Open(int, void**);
unsigned long FT_GetComPortNumber(void*, long*);
unsigned long FT_GetLatencyTimer(void*, unsigned char*);
unsigned long FT_SetLatencyTimer(void*, unsigned char);
unsigned long FT_Close(void*);
}
#endif

namespace {

// The stand-in's log after what runs, for its devices; the log is left empty first.
QString d2xxLog(const QString& devices, const std::function<void()>& runs)
{
    static QTemporaryDir dir;
    const QString log = QDir::toNativeSeparators(dir.filePath(QStringLiteral("d2xx.log")));
    QFile::remove(log);
    qputenv("YALMERA_D2XX_LOG", log.toLocal8Bit());
    qputenv("YALMERA_D2XX_DEVICES", devices.toLatin1());
    runs();
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

#ifndef Q_OS_WIN
TEST(AdapterLatency, TheMatchingD2xxDeviceRunsAtTheLowestTimerItTakesAndGetsItsOwnBack)
{
    const D2xxFunctions d2xx{FT_CreateDeviceInfoList, FT_Open, FT_GetComPortNumber, FT_GetLatencyTimer,
                             FT_SetLatencyTimer,      FT_Close};
    const QString set = u"FT_SetLatencyTimer(COM%1, %2 ms)\n"_qs;
    const std::tuple<const char*, QString, int, QString> cases[] = {
        {"the adapter on the port", u"7,5"_qs, 5, set.arg(5).arg(1) + set.arg(5).arg(16)},
        {"an adapter taking 2 ms at least", u"8:2"_qs, 8, set.arg(8).arg(2) + set.arg(8).arg(16)},
        {"no adapter on the port", u"5"_qs, 6, QString()},
        {"no COM port", u"5"_qs, 0, QString()},
    };
    for (const auto& [name, devices, com, log] : cases) {
        const auto lowerAndRestore = [&] {
            if (const LatencyRestore restore = d2xxLowerLatency(d2xx, com))
                restore();
        };
        EXPECT_EQ(d2xxLog(devices, lowerAndRestore), log) << name;
        EXPECT_EQ(d2xxLatencyTimer(d2xx, com), com == 6 || com == 0 ? std::nullopt : std::optional<int>(16))
            << name;
    }
    EXPECT_FALSE(d2xxLowerLatency(D2xxFunctions{}, 5)); // a library without the functions
}
#else
TEST(AdapterLatency, AWriteRunsTheMatchingFtdiAdapterAtOneMillisecondAndPutsSixteenBack)
{
    test::StationOnPty station;
    ASSERT_TRUE(station.ok());
    const int com = station.path().mid(3).toInt(); // "COM5"
    WriteRequest request{station.path(), &Yalmera4K17, true, test::channelsImage(1).writeStream(0, 0)};
    const QString set = QStringLiteral("FT_SetLatencyTimer(COM%1, %2 ms)\n");
    for (const int device : {com, com + 1}) { // the adapter on the station's port, one on another
        // The gauge's 0 comes just before the command byte: the timer is low by then.
        class FirstByte final : public test::RecordingObserver
        {
        public:
            void gaugeChanged(int value) override
            {
                if (gauges.empty())
                    lowAtFirstByte = adapterLatencyTimer(port).value_or(-1);
                RecordingObserver::gaugeChanged(value);
            }
            PortChoice port;
            int lowAtFirstByte = 0;
        } observer;
        observer.port.name = station.path();
        const QString log = d2xxLog(QStringLiteral("%1,%2").arg(device + 1).arg(device),
                                    [&] { EXPECT_TRUE(runWriteExchange(request, observer).ok()); });
        std::printf("%s", qPrintable(log)); // the stand-in's log, for the record of the run
        EXPECT_EQ(log, device == com ? set.arg(com).arg(1) + set.arg(com).arg(16) : QString()) << device;
        EXPECT_EQ(observer.lowAtFirstByte, device == com ? 1 : -1) << device;
    }
}
#endif

TEST(AdapterLatency, SysfsTimerIsLoweredWhereWritableAndPutBack)
{
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/bus/usb-serial/devices/ttyUSB0");
    QFile timer(folder + QStringLiteral("/latency_timer"));
    const auto content = [&timer] {
        timer.open(QIODevice::ReadOnly);
        const QByteArray text = timer.readAll();
        timer.close();
        return text;
    };
    ASSERT_TRUE(QDir().mkpath(folder) && timer.open(QIODevice::WriteOnly) && timer.write("16\n") == 3);
    timer.close();
    const LatencyRestore restore = sysfsLowerLatency(root.path(), QStringLiteral("ttyUSB0"));
    ASSERT_TRUE(restore);
    EXPECT_EQ(content(), "1\n");
    restore();
    EXPECT_EQ(content(), "16\n");
    EXPECT_EQ(sysfsLatencyTimer(root.path(), QStringLiteral("ttyUSB0")), 16);
    // A port without the file (a pseudo-terminal, another driver) is left alone.
    EXPECT_FALSE(sysfsLowerLatency(root.path(), QStringLiteral("ttyACM0")));
}
