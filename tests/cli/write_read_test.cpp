#include "cli_runner.h"

#include "common/station_peers.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "image/app_state.h"
#include "image/data_check.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

using namespace yalmera;

namespace {

const QString ExamplePlan = QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini");

using test::StationProcess;

// The image the data check builds from a plan file.
QByteArray checkedStream(const QString& planPath)
{
    files::PlanDecodeResult read = files::readPlanFile(planPath);
    if (!read.contents)
        return {};
    AppState state;
    state.adoptPlanFile(std::move(*read.contents));
    if (!runDataCheck(state).passed)
        return {};
    return state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class WriteReadCommands : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(WriteReadCommands, WrittenPlanVerifiesAndReadsBackAsTheSamePlan)
{
    StationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    const CliRun write = runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"),
                                 station.path(), QStringLiteral("--verify")});
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.contains(QStringLiteral("Verified"))) << write.out.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral("100% - -"))) << write.err.toStdString();

    const QString out = path(QStringLiteral("read.ini"));
    const CliRun read =
        runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"), out});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();

    // The same plan: the check builds the same image from both files.
    const QByteArray written = checkedStream(ExamplePlan);
    ASSERT_EQ(written.size(), 26 + 18 * 10);
    EXPECT_EQ(checkedStream(out), written);
    files::PlanDecodeResult saved = files::readPlanFile(out);
    ASSERT_TRUE(saved.contents.has_value());
    EXPECT_EQ(saved.contents->settings.textValue(u"Серийный номер", {}), QStringLiteral("012345"));
    EXPECT_EQ(saved.contents->settings.lines().size(), 27);
    EXPECT_EQ(saved.contents->table.channelCount(), 10);
    EXPECT_EQ(saved.contents->typeCode, 0);
    EXPECT_EQ(saved.contents->moduleType, 0);
}

TEST_F(WriteReadCommands, ReadDecodesWithTheStationsOwnBandWhateverBandIsGiven)
{
    // Stations preloaded with the image files of a 30-60 MHz template and of the 144-174 MHz
    // example, each read with the other band given.
    const QString plan30 = path(QStringLiteral("plan30.ini"));
    ASSERT_EQ(runCli({QStringLiteral("template"), QStringLiteral("--band"), QStringLiteral("30-60"),
                      QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--start"),
                      QStringLiteral("30000"), QStringLiteral("--offset"), QStringLiteral("12,5"),
                      QStringLiteral("-o"), plan30})
                  .exitCode,
              0);
    struct Case
    {
        QString plan;
        const char* givenBand;
        const char* foundBand;
        const char* firstRx;
        const char* secondRx;
        quint8 typeCode;
    };
    const Case cases[] = {
        {plan30, "144-174", "30-60 MHz", "30000,00", "30012,50", 1},
        {ExamplePlan, "30-60", "144-174 MHz", "140000,00", "141000,00", 0},
    };
    for (const Case& c : cases) {
        const QString image = path(QStringLiteral("plan.bin"));
        ASSERT_EQ(runCli({QStringLiteral("image"), c.plan, QStringLiteral("-o"), image}).exitCode, 0);
        StationProcess station(
            {QStringLiteral("--image"), image, QStringLiteral("--serial"), QStringLiteral("0A1B2C")});
        ASSERT_FALSE(station.path().isEmpty());
        const QString out = path(QStringLiteral("read.ini"));
        const CliRun read =
            runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"),
                    out, QStringLiteral("--band"), QString::fromLatin1(c.givenBand)});
        ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_TRUE(read.out.contains(QString::fromLatin1(c.foundBand))) << read.out.toStdString();
        files::PlanDecodeResult saved = files::readPlanFile(out);
        ASSERT_TRUE(saved.contents.has_value());
        EXPECT_EQ(saved.contents->settings.textValue(u"Серийный номер", {}), QStringLiteral("0A1B2C"));
        EXPECT_EQ(saved.contents->table.cell(Column::RxFrequency, 1), QString::fromLatin1(c.firstRx));
        EXPECT_EQ(saved.contents->table.cell(Column::TxFrequency, 2), QString::fromLatin1(c.secondRx));
        EXPECT_EQ(saved.contents->typeCode, c.typeCode);
    }
}

TEST_F(WriteReadCommands, SilentStationIsALinkFailure)
{
    // Silent inside the header: the next byte finds the link closed.
    {
        StationProcess station({QStringLiteral("--silent-after"), QStringLiteral("10")});
        const CliRun write =
            runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), station.path()});
        EXPECT_EQ(write.exitCode, 3);
        EXPECT_TRUE(write.err.contains(QStringLiteral("ie_NOpen - device not open")))
            << write.err.toStdString();
        EXPECT_TRUE(write.err.contains(QStringLiteral("AK")));
    }
    // Silent at the very last byte: still no complete write.
    {
        StationProcess station({QStringLiteral("--silent-after"), QStringLiteral("205")});
        const CliRun write =
            runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), station.path()});
        EXPECT_EQ(write.exitCode, 3);
        EXPECT_TRUE(write.err.contains(QStringLiteral("не подтвердила прием последнего байта")))
            << write.err.toStdString();
        EXPECT_TRUE(write.out.isEmpty());
    }
    // A read that stops: the output file keeps what it held.
    {
        StationProcess station({QStringLiteral("--silent-after"), QStringLiteral("20")});
        const QString out = path(QStringLiteral("kept.ini"));
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
        f.close();
        const CliRun read = runCli(
            {QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"), out});
        EXPECT_EQ(read.exitCode, 3);
        EXPECT_TRUE(read.err.contains(QStringLiteral("Станция не отвечает"))) << read.err.toStdString();
        EXPECT_EQ(fileBytes(out), QByteArray("keep"));
        const QString fresh = path(QStringLiteral("fresh.ini"));
        EXPECT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(),
                          QStringLiteral("-o"), fresh})
                      .exitCode,
                  3);
        EXPECT_FALSE(QFile::exists(fresh));
    }
}

TEST_F(WriteReadCommands, RefusalsPortAndUsageErrorsHaveTheirExitCodes)
{
    const QString missingPort = QStringLiteral("/dev/yalmera-no-such-port");
    const CliRun noPort =
        runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), missingPort});
    EXPECT_EQ(noPort.exitCode, 3);
    EXPECT_TRUE(noPort.err.contains(QStringLiteral("ie_BadId - Specified comport doesn't exist")));
    EXPECT_FALSE(noPort.err.contains(QStringLiteral("dialout"))) << "a missing port is no matter of rights";
    const CliRun readNoPort = runCli({QStringLiteral("read"), QStringLiteral("--port"), missingPort,
                                      QStringLiteral("-o"), path(QStringLiteral("x.ini"))});
    EXPECT_EQ(readNoPort.exitCode, 3);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.ini"))));

    // A plan the check refuses never reaches the port.
    QByteArray plan = fileBytes(ExamplePlan);
    const QByteArray volume8 = *files::encodeWindows1251(QStringLiteral("Громкость=8"));
    const QByteArray volume17 = *files::encodeWindows1251(QStringLiteral("Громкость=17"));
    ASSERT_TRUE(plan.contains(volume8));
    plan.replace(volume8, volume17);
    const QString bad = path(QStringLiteral("bad.ini"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(plan);
    f.close();
    const CliRun refused = runCli({QStringLiteral("write"), bad, QStringLiteral("--port"), missingPort});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(refused.err.contains(QStringLiteral("ie_BadId")));

    // A station never written holds no channels: a plan that could not be opened again.
    StationProcess empty;
    const QString emptyPlan = path(QStringLiteral("empty.ini"));
    EXPECT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), empty.path(), QStringLiteral("-o"),
                      emptyPlan})
                  .exitCode,
              1);
    EXPECT_FALSE(QFile::exists(emptyPlan));

    EXPECT_EQ(runCli({QStringLiteral("write"), ExamplePlan}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("write"), path(QStringLiteral("none.ini")), QStringLiteral("--port"),
                      missingPort})
                  .exitCode,
              2);
    EXPECT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), missingPort}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), missingPort, QStringLiteral("-o"),
                      path(QStringLiteral("y.ini")), QStringLiteral("--band"), QStringLiteral("400-486")})
                  .exitCode,
              2);
    EXPECT_EQ(runCli({QStringLiteral("write"), QStringLiteral("--help")}).exitCode, 0);
    EXPECT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--help")}).exitCode, 0);
}

// The test holds a pseudo-terminal itself, which a Windows process cannot.
#ifndef Q_OS_WIN
TEST_F(WriteReadCommands, StationServesAnExistingPortToo)
{
    // The test holds a pseudo-terminal's master; the station serves its slave as a serial device.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(master, &tio), 0);
    cfmakeraw(&tio);
    tcsetattr(master, TCSANOW, &tio);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));

    QProcess station;
    station.start(QStringLiteral(YALMERA_STATION),
                  {QStringLiteral("--port"), slave, QStringLiteral("--serial"), QStringLiteral("ABCDEF"),
                   QStringLiteral("--stdin-quit")});
    ASSERT_TRUE(station.waitForStarted(5000));
    // The station has the device open once it answers; ask until it does.
    QByteArray answer;
    for (int attempt = 0; attempt < 50 && answer.size() < 28; ++attempt) {
        const char command = 0x1E;
        ASSERT_EQ(::write(master, &command, 1), 1);
        pollfd fd{master, POLLIN, 0};
        while (answer.size() < 28 && poll(&fd, 1, 100) > 0) {
            char buffer[64];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            answer.append(buffer, n);
        }
    }
    station.closeWriteChannel();
    if (!station.waitForFinished(3000))
        station.kill();
    station.waitForFinished();
    ::close(master);
    ASSERT_GE(answer.size(), 28);
    EXPECT_EQ(answer.left(3), QByteArray::fromHex("ABCDEF"));
    EXPECT_EQ(answer[5], 0); // holds no channels yet
}

#endif

// The dialout group is Linux's.
#ifdef Q_OS_LINUX
TEST_F(WriteReadCommands, PortTheUserMayNotOpenGetsTheDialoutHint)
{
    // A device nobody may open, as a serial port outside the user's groups. Root may open anything,
    // so under root the command runs as the user nobody.
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ExeGroup | QFile::ExeOther));
    const QString device = path(QStringLiteral("ttyS9"));
    QFile f(device);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(f.setPermissions({}));

    QProcess read;
    read.setChildProcessModifier([] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    });
    read.start(QStringLiteral(YALMERA_CLI), {QStringLiteral("read"), QStringLiteral("--port"), device,
                                             QStringLiteral("-o"), path(QStringLiteral("out.ini"))});
    if (!read.waitForStarted(5000) || (read.waitForFinished(60000) && read.exitCode() == 99))
        GTEST_SKIP() << "cannot run yalmera-cli as the user nobody here";
    ASSERT_EQ(read.state(), QProcess::NotRunning);
    const QString err = QString::fromUtf8(read.readAllStandardError());
    EXPECT_EQ(read.exitCode(), 3) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("«sudo usermod -aG dialout $USER» и войдите в систему заново")))
        << err.toStdString();
}

#endif
