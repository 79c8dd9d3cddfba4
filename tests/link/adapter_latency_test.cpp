#include "link/adapter_latency.h"

#include "link/write_exchange.h"
#include "link_fixture.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace yalmera::detail;

namespace {

// FTDI devices as D2XX shows them: a COM port, a latency timer, the lowest timer taken. The
// functions reach the one in use through a pointer, as D2XX has no room for a context.
struct FakeDevice
{
    long com;
    int timer;
    int lowest;
};
struct FakeD2xx
{
    std::vector<FakeDevice> devices;
    QStringList log;
    int openHandles = 0;
};
FakeD2xx* fake = nullptr;

FakeDevice& deviceOf(void* handle)
{
    return fake->devices[reinterpret_cast<std::size_t>(handle) - 1];
}

D2xxFunctions fakeFunctions()
{
    D2xxFunctions d2xx;
    d2xx.createDeviceInfoList = [](unsigned long* n) -> unsigned long {
        *n = static_cast<unsigned long>(fake->devices.size());
        return 0;
    };
    d2xx.open = [](int i, void** handle) -> unsigned long {
        *handle = reinterpret_cast<void*>(static_cast<std::size_t>(i) + 1);
        ++fake->openHandles;
        return 0;
    };
    d2xx.getComPortNumber = [](void* handle, long* com) -> unsigned long {
        *com = deviceOf(handle).com;
        return 0;
    };
    d2xx.getLatencyTimer = [](void* handle, unsigned char* ms) -> unsigned long {
        *ms = static_cast<unsigned char>(deviceOf(handle).timer);
        return 0;
    };
    d2xx.setLatencyTimer = [](void* handle, unsigned char ms) -> unsigned long {
        FakeDevice& device = deviceOf(handle);
        if (ms < device.lowest)
            return 3; // FT_INVALID_PARAMETER... as a device that takes no such timer answers
        device.timer = ms;
        fake->log << QStringLiteral("COM%1 %2").arg(device.com).arg(ms);
        return 0;
    };
    d2xx.close = [](void*) -> unsigned long {
        --fake->openHandles;
        return 0;
    };
    return d2xx;
}

} // namespace

TEST(AdapterLatency, TheMatchingD2xxDeviceRunsAtTheLowestTimerItTakesAndGetsItsOwnBack)
{
    struct Case
    {
        const char* name;
        int com;
        std::vector<FakeDevice> devices;
        const char* lowered; // the timers set, in order, ';' between them
        const char* restored;
    };
    const Case cases[] = {
        {"matching device", 5, {{7, 16, 1}, {5, 16, 1}}, "COM5 1", "COM5 1;COM5 16"},
        {"device that takes 2 ms at least", 5, {{5, 16, 2}}, "COM5 2", "COM5 2;COM5 16"},
        {"no device on the port", 6, {{5, 16, 1}}, "", ""},
        {"timer already at 1 ms", 5, {{5, 1, 1}}, "", ""},
        {"no COM port (not an FTDI one)", 0, {{-1, 16, 1}}, "", ""},
    };
    for (const Case& c : cases) {
        FakeD2xx state{c.devices, {}, 0};
        fake = &state;
        const LatencyRestore restore = d2xxLowerLatency(fakeFunctions(), c.com);
        EXPECT_EQ(state.log.join(u';'), QString::fromLatin1(c.lowered)) << c.name;
        EXPECT_EQ(bool(restore), *c.lowered != 0) << c.name;
        if (restore)
            restore();
        EXPECT_EQ(state.log.join(u';'), QString::fromLatin1(c.restored)) << c.name;
        EXPECT_EQ(state.openHandles, 0) << c.name;
        EXPECT_EQ(d2xxLatencyTimer(fakeFunctions(), c.com),
                  c.com == 5 ? std::optional<int>(c.devices.back().timer) : std::nullopt)
            << c.name;
    }
    fake = nullptr;
    EXPECT_FALSE(d2xxLowerLatency(D2xxFunctions{}, 5)); // a library without the functions
}

TEST(AdapterLatency, SysfsTimerIsLoweredWhereWritableAndPutBack)
{
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/bus/usb-serial/devices/ttyUSB0");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile timer(folder + QStringLiteral("/latency_timer"));
    const auto content = [&timer] {
        timer.open(QIODevice::ReadOnly);
        const QByteArray text = timer.readAll();
        timer.close();
        return text;
    };
    timer.open(QIODevice::WriteOnly);
    timer.write("16\n");
    timer.close();
    EXPECT_EQ(sysfsLatencyTimer(root.path(), QStringLiteral("ttyUSB0")), 16);
    const LatencyRestore restore = sysfsLowerLatency(root.path(), QStringLiteral("ttyUSB0"));
    ASSERT_TRUE(restore);
    EXPECT_EQ(content(), "1\n");
    restore();
    EXPECT_EQ(content(), "16\n");
    // A port without the file (a pseudo-terminal, another driver) is left alone.
    EXPECT_FALSE(sysfsLowerLatency(root.path(), QStringLiteral("ttyACM0")));
    EXPECT_FALSE(sysfsLatencyTimer(root.path(), QStringLiteral("3")));
}

#ifdef Q_OS_WIN
#include <windows.h>

// The stand-in D2XX library beside this program (common/stand-ins/ftd2xx), loaded as FTDI's own
// would be, logs its calls; the test marks in the same log when the write's first byte goes out.
TEST(AdapterLatency, AWriteRunsTheMatchingFtdiAdapterAtOneMillisecondAndPutsSixteenBack)
{
    class FirstByteMark final : public yalmera::test::RecordingObserver
    {
    public:
        explicit FirstByteMark(QString log) : m_log(std::move(log)) {}
        void gaugeChanged(int value) override
        {
            if (gauges.empty()) { // the gauge's 0 comes just before the command byte
                QFile file(m_log);
                if (file.open(QIODevice::Append))
                    file.write("-- first byte\n");
            }
            RecordingObserver::gaugeChanged(value);
        }

    private:
        QString m_log;
    };
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("d2xx.log"));
    SetEnvironmentVariableW(L"YALMERA_D2XX_LOG", QDir::toNativeSeparators(log).toStdWString().c_str());
    yalmera::test::StationOnPty station;
    ASSERT_TRUE(station.ok());
    const int com = station.path().mid(3).toInt(); // "COM5"
    for (const int device : {com, com + 1}) {
        SCOPED_TRACE(device);
        QFile::remove(log);
        // The adapter on the station's port, and one on another port.
        SetEnvironmentVariableW(L"YALMERA_D2XX_DEVICES",
                                QStringLiteral("%1,%2").arg(device + 1).arg(device).toStdWString().c_str());
        yalmera::WriteRequest request;
        request.port = station.path();
        request.dataChecked = true;
        request.stream = yalmera::test::channelsImage(1).writeStream(0, 0);
        FirstByteMark observer(log);
        EXPECT_TRUE(yalmera::runWriteExchange(request, observer).ok());
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        std::printf("%s", qPrintable(text)); // for the record of the run
        QStringList steps;
        for (const QString& line : text.split(u'\n')) {
            if (line.startsWith(u"FT_SetLatencyTimer") || line.startsWith(u"--"))
                steps << line;
        }
        const QString port = QStringLiteral("COM%1").arg(com);
        const QStringList expected =
            device == com ? QStringList{QStringLiteral("FT_SetLatencyTimer(%1, 1 ms)").arg(port),
                                        QStringLiteral("-- first byte"),
                                        QStringLiteral("FT_SetLatencyTimer(%1, 16 ms)").arg(port)}
                          : QStringList{QStringLiteral("-- first byte")};
        EXPECT_EQ(steps, expected);
    }
}
#endif
