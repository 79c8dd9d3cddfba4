#include "cli_runner.h"

#include "common/held_journal_lock.h"
#include "common/platform_texts.h"
#include "common/station_peers.h"
#include "files/delimited_text.h"
#include "files/journal_reader.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "image/data_check.h"
#include "link/port_lock.h"
#include "link/serial_link.h"
#include "session/app_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#endif

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
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

// The journal's lines as fields, the caption line first.
QList<QStringList> journalLines(const QString& path)
{
    return parseDelimited(QString::fromUtf8(fileBytes(path)), u';');
}

// The default journal: in the application-data folder, which the test run keeps its own (on
// Windows named by YALMERA_JOURNAL).
QString defaultJournal()
{
    if (qEnvironmentVariableIsSet("YALMERA_JOURNAL"))
        return qEnvironmentVariable("YALMERA_JOURNAL");
    return QFile::decodeName(qgetenv("XDG_DATA_HOME")) + QStringLiteral("/yalmera/journal.csv");
}

// Trace lines (comments left out) as their fields: time, direction, byte, phase, field.
QList<QStringList> traceLines(const QString& path)
{
    QList<QStringList> lines;
    for (const QString& line : QString::fromUtf8(fileBytes(path)).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(u'#'))
            lines.append(line.split(u'\t'));
    }
    return lines;
}

int countDirection(const QList<QStringList>& lines, const QString& direction)
{
    return static_cast<int>(std::count_if(
        lines.cbegin(), lines.cend(), [&](const QStringList& line) { return line.value(1) == direction; }));
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

// The manual page's example typed line by line in a folder of its own, the virtual station in place
// of /dev/pts/3: every step succeeds, and diff finds the plan the station was read into the same
// as the plan verify says it holds.
TEST_F(WriteReadCommands, ManualPageExampleRunsAsWrittenAndDiffAgreesWithVerify)
{
    QFile page(QStringLiteral(YALMERA_SOURCE_DIR "/docs/yalmera-cli.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    const qsizetype start = text.indexOf(u"Make, check and write a plan into the virtual station"_qs);
    ASSERT_GE(start, 0);
    StationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QList<QStringList> commands;
    for (QString line : text.mid(start, text.indexOf(u"\n.RE"_qs, start) - start).split(u'\n')) {
        line.replace(u"\\-"_qs, u"-"_qs).replace(u"/dev/pts/3"_qs, station.path());
        if (line.startsWith(u"yalmera-cli "_qs))
            commands << line.split(u' ', Qt::SkipEmptyParts).mid(1);
    }
    ASSERT_EQ(commands.size(), 9);
    for (const QStringList& command : commands) {
        const CliRun run = runCli(command, 60000, English, m_dir.path());
        EXPECT_EQ(run.exitCode, 0) << command.join(u' ').toStdString() << run.err.toStdString();
        if (command.first() == u"diff") {
            EXPECT_EQ(run.out, u"Not compared (no station keeps a byte for them): Серийный номер, P_1, P_2, "
                               u"P_3, P_4\nThe plans are the same\n"_qs);
        }
    }
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
        QString language = English;
    };
    const Case cases[] = {
        {plan30, "144-174", "30-60 MHz", "30000,00", "30012,50", 1},
        {ExamplePlan, "30-60", "144-174 MHz", "140000,00", "141000,00", 0},
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
        {plan30, "144-174", "(30-60 МГц, код типа 1), 2 канала сохранено в", "30000,00", "30012,50", 1,
         Russian},
#endif
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
                    out, QStringLiteral("--band"), QString::fromLatin1(c.givenBand)},
                   60000, c.language);
        ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_TRUE(read.out.contains(QString::fromUtf8(c.foundBand))) << read.out.toStdString();
        files::PlanDecodeResult saved = files::readPlanFile(out);
        ASSERT_TRUE(saved.contents.has_value());
        EXPECT_EQ(saved.contents->settings.textValue(u"Серийный номер", {}), QStringLiteral("0A1B2C"));
        EXPECT_EQ(saved.contents->table.cell(Column::RxFrequency, 1), QString::fromLatin1(c.firstRx));
        EXPECT_EQ(saved.contents->table.cell(Column::TxFrequency, 2), QString::fromLatin1(c.secondRx));
        EXPECT_EQ(saved.contents->typeCode, c.typeCode);
    }
}

// A run's own words in the user's language: each step's progress, counts with their plural forms,
// what was saved where, a common file error with the system's own text beside it.
TEST_F(WriteReadCommands, RunsSayEverythingInTheUserLanguage)
{
    StationProcess first;
    StationProcess second;
    ASSERT_FALSE(first.path().isEmpty() || second.path().isEmpty());
    const QString one = path(u"one.ini"_qs);
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"1"_qs, u"-o"_qs, one}).exitCode, 0);
    const auto templateOf = [&](const QString& count) {
        return QStringList{u"template"_qs, u"--count"_qs, count, u"-o"_qs, path(u"t.ini"_qs)};
    };
    const QStringList write{u"write"_qs, one, u"--port"_qs, first.path(), u"--verify"_qs};
    const QStringList read{u"read"_qs, u"--port"_qs, first.path(), u"-o"_qs, path(u"r.ini"_qs)};
    const QStringList fleet{u"write"_qs,  one,           u"--port"_qs,  first.path(),
                            u"--port"_qs, second.path(), u"--verify"_qs};
    const QString missing = path(u"missing.ini"_qs);
    // The system's own text beside the program's where they differ (Windows: "File not found.").
    const QString systemsOwn = test::noSuchFileText() == u"No such file or directory"_qs
                                   ? QString()
                                   : u" ("_qs + test::noSuchFileText() + u')';
    const std::tuple<QStringList, QString, QStringList> rows[] = {
        {templateOf(u"1"_qs), English, {u"1 channel, 140000 to 140000 kHz"_qs}},
        {templateOf(u"2"_qs), English, {u"2 channels, 140000 to 141000 kHz"_qs}},
        {write, English, {u"Writing ["_qs, u"Verifying ["_qs, u"1 channel written"_qs}},
        {read, English, {u"Reading ["_qs, u"1 channel saved to"_qs}},
        {fleet, English, {u": Writing\n"_qs, u": Verifying\n"_qs}},
        {{u"check"_qs, missing}, English, {missing + u": No such file or directory"_qs + systemsOwn + u'\n'}},
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
        {templateOf(u"1"_qs), Russian, {u"1 канал, от 140000 до 140000 кГц"_qs}},
        {templateOf(u"2"_qs), Russian, {u"2 канала, от"_qs}},
        {templateOf(u"5"_qs), Russian, {u"5 каналов, от"_qs}},
        {write, Russian, {u"Запись ["_qs, u"Проверка ["_qs, u"записан 1 канал"_qs}},
        {read, Russian, {u"Чтение ["_qs, u"1 канал сохранён в"_qs}},
        {fleet, Russian, {u": Запись\n"_qs, u": Проверка\n"_qs}},
        {{u"export"_qs, one, u"-o"_qs, path(u"one.csv"_qs)},
         Russian,
         {u"Таблица каналов (1 канал) сохранена в"_qs}},
        {{u"check"_qs, missing},
         Russian,
         {missing + u": Нет такого файла или папки (No such file or directory)\n"_qs}},
#endif
    };
    for (const auto& [arguments, language, said] : rows) {
        SCOPED_TRACE((language + u' ' + arguments.join(u' ')).toStdString());
        const CliRun run = runCli(arguments, 60000, language);
        for (const QString& text : said)
            EXPECT_TRUE((run.out + run.err).contains(text)) << (run.out + run.err).toStdString();
    }
}

TEST_F(WriteReadCommands, LateRepliesAreSaidWithTheLatencyAndThePredictedTimeAndJournalled)
{
    const QString one = path(u"one.ini"_qs);
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"1"_qs, u"-o"_qs, one}).exitCode, 0);
    const QRegularExpression said(u"опозданием (\\d+) мс: запись займет около (\\d+),(\\d) с"_qs);
    // The station's lateness, and the latency it gives: a 40 ms tick holds each reply until the
    // tick after its 16.7 ms round trip.
    const std::pair<QString, int> rows[] = {
        {u"--reply-delay=16"_qs, 16}, {u"--latency-timer=40"_qs, 23}, {u"--reply-delay=0"_qs, 0}};
    // The program's own start is no part of the write (some 0.3 s under Wine).
    QElapsedTimer startTimer;
    startTimer.start();
    runCli({u"--version"_qs});
    const double start = static_cast<double>(startTimer.elapsed()) / 1000.0;
    for (const auto& [late, delay] : rows) {
        SCOPED_TRACE(late.toStdString());
        StationProcess station({u"--pace"_qs, late});
        const QString journal = path(u"journal%1.csv"_qs.arg(delay));
        QElapsedTimer timer;
        timer.start();
        const CliRun write =
            runCli({u"write"_qs, one, u"--port"_qs, station.path(), u"--journal"_qs, journal});
        const double seconds = static_cast<double>(timer.elapsed()) / 1000.0 - start;
        ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
        const QRegularExpressionMatch match = said.match(write.err);
#ifdef Q_OS_WIN // Wine's own way from the pseudo-terminal adds some milliseconds to every reply
        if (delay == 0)
            continue;
#endif
        ASSERT_EQ(match.hasMatch(), delay > 0) << write.err.toStdString();
        bool journalled = false;
        const int journalledMs = journalLines(journal).value(1).value(12).toInt(&journalled);
        EXPECT_TRUE(journalled);
        if (delay > 0) // on time, how little it is depends on the machine's load
            EXPECT_NEAR(journalledMs, delay, 3);
        if (delay > 0) {
            EXPECT_NEAR(match.captured(1).toInt(), delay, 3);
            if (late.startsWith(u"--reply-delay")) { // the tick's row is there for its latency
                EXPECT_NEAR(match.captured(2).toDouble() + match.captured(3).toDouble() / 10, seconds,
                            seconds / 10);
            }
        }
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
        EXPECT_TRUE(
            write.err.contains(QStringLiteral("yalmera-cli write: Станция не отвечает: запись прервана")))
            << write.err.toStdString();
        EXPECT_TRUE(write.err.contains(QStringLiteral("AK")));
    }
#ifndef Q_OS_WIN
    // On a terminal the progress line is redrawn in place: it ends before the message follows.
    {
        StationProcess station({QStringLiteral("--silent-after"), QStringLiteral("10")});
        test::TestPty terminal;
        QProcess write;
        write.setProcessEnvironment(languageEnvironment(English));
        write.setStandardErrorFile(terminal.path());
        write.start(QStringLiteral(YALMERA_CLI), {u"write"_qs, ExamplePlan, u"--port"_qs, station.path()});
        QByteArray err;
        while (!write.waitForFinished(50))
            err += terminal.receive(65536, 50);
        err += terminal.receive(65536, 200);
        EXPECT_TRUE(QString::fromUtf8(err).contains(
            QRegularExpression(u"\\n\\r?yalmera-cli write: Станция не отвечает"_qs)))
            << err.toStdString();
    }
#endif
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
    const QString protocols = path(QStringLiteral("protocols"));
    const CliRun noPort =
        runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), missingPort,
                QStringLiteral("--serial"), QStringLiteral("1"), QStringLiteral("--protocol"), protocols});
    EXPECT_EQ(noPort.exitCode, 3);
    EXPECT_FALSE(QFileInfo::exists(protocols)) << "a failed write leaves no protocol folder";
    EXPECT_TRUE(noPort.err.contains(QStringLiteral("ie_BadId - Specified comport doesn't exist")));
    // The port and the step on a line of their own, which names the command too.
    EXPECT_TRUE(noPort.err.contains(
        u"\nyalmera-cli write: Порт %1, открытие: такого порта в системе нет. "_qs.arg(missingPort)))
        << noPort.err.toStdString();
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
    // Several stations: --serial names one, and each protocol needs its station's serial number.
    const QStringList twoPorts{u"--port"_qs, missingPort, u"--port"_qs, missingPort + u"2"_qs};
    EXPECT_EQ(runCli(QStringList{u"write"_qs, ExamplePlan, u"--serial"_qs, u"1"_qs} + twoPorts).exitCode, 2);
    EXPECT_EQ(
        runCli(QStringList{u"write"_qs, ExamplePlan, u"--protocol"_qs, path(u"p"_qs)} + twoPorts).exitCode,
        2);
    EXPECT_EQ(
        runCli({u"write"_qs, ExamplePlan, u"--port"_qs, missingPort, u"--port"_qs, missingPort}).exitCode, 2);
    EXPECT_EQ(runCli({u"verify"_qs, ExamplePlan}).exitCode, 2);
    EXPECT_EQ(runCli({u"verify"_qs, bad, u"--port"_qs, missingPort}).exitCode, 1);
    // A trace that would empty the plan it writes.
    const QString copy = path(QStringLiteral("plan.ini"));
    ASSERT_TRUE(QFile::copy(ExamplePlan, copy));
    EXPECT_EQ(runCli({QStringLiteral("write"), copy, QStringLiteral("--port"), missingPort,
                      QStringLiteral("--trace"), copy})
                  .exitCode,
              2);
    EXPECT_EQ(fileBytes(copy), fileBytes(ExamplePlan));
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

TEST_F(WriteReadCommands, DepotLoopWritesVerifiesSavesTheProtocolAndJournalsEveryStep)
{
    StationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    const qsizetype before = journalLines(defaultJournal()).size();
    const QString protocols = path(QStringLiteral("protocols"));
    const CliRun write = runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"),
                                 station.path(), QStringLiteral("--verify"), QStringLiteral("--serial"),
                                 QStringLiteral("К17М-00042"), QStringLiteral("--protocol"), protocols});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QString protocol = protocols + QStringLiteral("/Протокол К17М-00042.docx");
    EXPECT_TRUE(QFileInfo(protocol).isFile());

    const QList<QStringList> journal = journalLines(defaultJournal());
    ASSERT_EQ(journal.size(), std::max<qsizetype>(before, 1) + 3);
    EXPECT_EQ(journal[0].value(0), QStringLiteral("Время"));
    const QString plan = QDir::toNativeSeparators(QFileInfo(ExamplePlan).absoluteFilePath());
    const QString imageSha = QString::fromLatin1(
        QCryptographicHash::hash(checkedStream(ExamplePlan), QCryptographicHash::Sha256).toHex());
    // Operation, port, model, band code, channels, plan file, SHA-256 (write only), serial, outcome.
    const QStringList expected[] = {
        {u"запись"_qs, station.path(), u"Ялмера 4К-17"_qs, u"0"_qs, u"10"_qs, plan, imageSha,
         u"К17М-00042"_qs, u"выполнено"_qs},
        {u"проверка"_qs,
         station.path(),
         u"Ялмера 4К-17"_qs,
         u"0"_qs,
         u"10"_qs,
         plan,
         {},
         u"012345"_qs,
         u"выполнено"_qs},
        {u"протокол"_qs, station.path(), u"Ялмера 4К-17"_qs, u"0"_qs, u"10"_qs, plan, imageSha,
         u"К17М-00042"_qs, u"выполнено"_qs},
    };
    for (int i = 0; i < 3; ++i) {
        QStringList fields = journal[journal.size() - 3 + i].mid(2, 9);
        if (i == 1)
            fields[6].clear(); // the hash of the read stream, which holds the serial number
        EXPECT_EQ(fields, expected[i]) << i;
    }
    EXPECT_TRUE(journal.last().value(11).endsWith(QStringLiteral("Протокол К17М-00042.docx")));

    // The read of --verify is kept: the plan the station now holds.
    const QStringList backups = QDir(QFileInfo(defaultJournal()).path() + QStringLiteral("/backups"))
                                    .entryList({QStringLiteral("*_012345*.ini")}, QDir::Files, QDir::Time);
    ASSERT_FALSE(backups.isEmpty());
    EXPECT_EQ(
        checkedStream(QFileInfo(defaultJournal()).path() + QStringLiteral("/backups/") + backups.first()),
        checkedStream(ExamplePlan));
}

namespace {

// The journal's lines of one operation (field 2), each as port (3) -> outcome (10).
QMap<QString, QString> outcomesByPort(const QList<QStringList>& journal, const QString& operation)
{
    QMap<QString, QString> outcomes;
    for (const QStringList& line : journal) {
        if (line.value(2) == operation)
            outcomes.insert(line.value(3), line.value(10));
    }
    return outcomes;
}

} // namespace

TEST_F(WriteReadCommands, FleetWriteGoesOnPastAStationThatFallsSilent)
{
    // 30 channels, 566 bytes: the silent station stops answering inside the records.
    const QString plan = path(QStringLiteral("fleet.ini"));
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"30"_qs, u"-o"_qs, plan}).exitCode, 0);
    StationProcess first({u"--serial"_qs, u"000001"_qs});
    StationProcess silent({u"--serial"_qs, u"000002"_qs, u"--silent-after"_qs, u"500"_qs});
    StationProcess third({u"--serial"_qs, u"000003"_qs});
    const QString journal = path(QStringLiteral("journal.csv"));
    const CliRun write = runCli({u"write"_qs, plan, u"--port"_qs, first.path(), u"--port"_qs,
                                 silent.path() + u"=К17М-00042"_qs, u"--port"_qs, third.path(),
                                 u"--verify"_qs, u"--journal"_qs, journal});
    EXPECT_EQ(write.exitCode, 3) << write.err.toStdString();

    // The summary: port, serial (given, or as the station reports it), outcome, time.
    const QStringList summary = write.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(summary.size(), 4) << write.out.toStdString();
    EXPECT_EQ(summary[0].simplified(), u"Port Serial Outcome Time"_qs);
    const QString rows[] = {first.path() + u" 000001 written and verified"_qs,
                            silent.path() + u" К17М-00042 Станция не отвечает: запись прервана"_qs,
                            third.path() + u" 000003 written and verified"_qs};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(summary[i + 1].simplified().startsWith(rows[i])) << summary[i + 1].toStdString();

    const QList<QStringList> lines = journalLines(journal);
    const QMap<QString, QString> written{
        {first.path(), u"выполнено"_qs}, {silent.path(), u"нет ответа"_qs}, {third.path(), u"выполнено"_qs}};
    EXPECT_EQ(outcomesByPort(lines, u"запись"_qs), written);
    const QMap<QString, QString> verified{{first.path(), u"выполнено"_qs}, {third.path(), u"выполнено"_qs}};
    EXPECT_EQ(outcomesByPort(lines, u"проверка"_qs), verified);
    EXPECT_EQ(lines.size(), 1 + 3 + 2);
}

#ifdef Q_OS_WIN
// The several-stations progress on a console never shows escape sequences as text: redrawn in place
// where the console interprets them, plain lines where it does not (Wine's).
TEST(FleetProgressOnAConsole, ShowsNoEscapeSequenceAsText)
{
    FreeConsole(); // one of the test's own, whose screen it reads
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE screen = AllocConsole()
                              ? CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                            &inherited, OPEN_EXISTING, 0, nullptr)
                              : INVALID_HANDLE_VALUE;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(screen, &info) || !SetStdHandle(STD_ERROR_HANDLE, screen))
        GTEST_SKIP() << "no console to be had here";
    // Ports no peer of the suite takes (they link COM10 and above): two failed opens.
    QProcess write;
    write.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    write.start(QStringLiteral(YALMERA_CLI),
                {u"write"_qs, ExamplePlan, u"--port"_qs, u"COM6"_qs, u"--port"_qs, u"COM7"_qs});
    ASSERT_TRUE(write.waitForFinished(60000));
    std::wstring cells(static_cast<std::size_t>(info.dwSize.X) * 40, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, cells.data(), static_cast<DWORD>(cells.size()), COORD{0, 0}, &read);
    const QString shown = QString::fromStdWString(cells.substr(0, read));
    EXPECT_FALSE(shown.contains(u'\x1b')) << shown.simplified().toStdString();
    EXPECT_TRUE(shown.contains(u"COM6"_qs) && shown.contains(u"COM7"_qs));
}
#endif

TEST_F(WriteReadCommands, VerifyComparesStationsWithThePlanAndNamesTheCellThatDiffers)
{
    // One station holds the example plan, the other the same plan with channel 3's squelch at 3.
    files::PlanDecodeResult read = files::readPlanFile(ExamplePlan);
    ASSERT_TRUE(read.contents.has_value());
    read.contents->table.setCell(Column::Squelch, 3, u"3"_qs);
    const QString changed = path(QStringLiteral("changed.ini"));
    ASSERT_TRUE(files::writePlanFile(changed, read.contents->settings, read.contents->table, 0, 0).isEmpty());
    const QString held = path(QStringLiteral("held.bin"));
    const QString heldChanged = path(QStringLiteral("changed.bin"));
    ASSERT_EQ(runCli({u"image"_qs, ExamplePlan, u"-o"_qs, held}).exitCode, 0);
    ASSERT_EQ(runCli({u"image"_qs, changed, u"-o"_qs, heldChanged}).exitCode, 0);
    StationProcess holding({u"--image"_qs, held});
    StationProcess differing({u"--image"_qs, heldChanged, u"--serial"_qs, u"000002"_qs});
    const QString journal = path(QStringLiteral("journal.csv"));

    const CliRun same =
        runCli({u"verify"_qs, ExamplePlan, u"--port"_qs, holding.path(), u"--journal"_qs, journal});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_EQ(same.out, holding.path() +
                            u" (012345): holds the plan\n"_qs
                            u"Not compared (the station keeps no byte for them): Серийный номер=100000; "
                            u"P_1=5; P_2=10; P_3=25; P_4=40\n"_qs);

    const CliRun both = runCli({u"verify"_qs, ExamplePlan, u"--port"_qs, holding.path(), u"--port"_qs,
                                differing.path(), u"--journal"_qs, journal});
    EXPECT_EQ(both.exitCode, 1) << both.err.toStdString();
    EXPECT_TRUE(both.out.contains(differing.path() + u" (000002): 1 difference:\n"_qs
                                                     u"  channel 3, \"ШП\": plan \"1\", station \"3\"\n"_qs))
        << both.out.toStdString();

    const QList<QStringList> lines = journalLines(journal);
    ASSERT_EQ(lines.size(), 1 + 3);
    EXPECT_EQ(lines.last().value(2), u"сверка"_qs);
    const QMap<QString, QString> audited{{holding.path(), u"выполнено"_qs},
                                         {differing.path(), u"не совпадает"_qs}};
    EXPECT_EQ(outcomesByPort(lines.mid(2), u"сверка"_qs), audited);

#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
    // In Russian the output says it in Russian.
    const CliRun russian =
        runCli({u"verify"_qs, ExamplePlan, u"--port"_qs, differing.path(), u"--journal"_qs, journal}, 60000,
               Russian);
    EXPECT_TRUE(russian.out.startsWith(differing.path() +
                                       u" (000002): 1 различие:\n"_qs
                                       u"  канал 3, \"ШП\": план \"1\", станция \"3\"\n"_qs))
        << russian.out.toStdString();
#endif
    // The journal in the language of its columns, also after an English run.
    EXPECT_TRUE(std::any_of(lines.cbegin(), lines.cend(), [](const QStringList& line) {
        return line.value(static_cast<int>(files::JournalColumn::Message))
            .contains(u"канал 3, \"ШП\": план \"1\", станция \"3\""_qs);
    }));
}

TEST_F(WriteReadCommands, FleetReadNamesEachPlanBySerialAndReplacesNone)
{
    // Two stations that report the same serial number, each with its own trace.
    const QString held = path(QStringLiteral("held.bin"));
    ASSERT_EQ(runCli({u"image"_qs, ExamplePlan, u"-o"_qs, held}).exitCode, 0);
    StationProcess first({u"--image"_qs, held});
    StationProcess second({u"--image"_qs, held});
    const QString folder = path(QStringLiteral("fleet"));
    const CliRun read =
        runCli({u"read"_qs, u"--port"_qs, first.path(), u"--port"_qs, second.path(), u"-o"_qs, folder,
                u"--trace"_qs, path(u"read.trace"_qs), u"--journal"_qs, path(u"journal.csv"_qs)},
               60000, RussianByLanguage);
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
    // The summary in the user's language, times with the decimal comma of its texts, whatever the
    // locale's numbers.
    const QStringList summary = read.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(summary.size(), 3) << read.out.toStdString();
    EXPECT_EQ(summary[0].simplified(), u"Порт Серийный номер Итог Время"_qs);
    EXPECT_TRUE(QRegularExpression(u" 012345 +план сохранён как .+\\.ini +\\d+,\\d с$"_qs)
                    .match(summary[1])
                    .hasMatch())
        << summary[1].toStdString();
#endif
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              QStringList({u"012345.ini"_qs, u"012345_2.ini"_qs}));
    for (const QString& plan : QDir(folder).entryList(QDir::Files))
        EXPECT_EQ(checkedStream(folder + u'/' + plan), checkedStream(ExamplePlan)) << plan.toStdString();
    for (const StationProcess* station : {&first, &second}) {
        const QString trace = path(u"read-%1.trace"_qs.arg(QFileInfo(station->path()).fileName()));
        EXPECT_EQ(traceLines(trace).size(), 1 + 28 + 18 * 10) << trace.toStdString();
    }
    EXPECT_EQ(outcomesByPort(journalLines(path(u"journal.csv"_qs)), u"чтение"_qs).size(), 2);
}

TEST_F(WriteReadCommands, TraceHoldsEveryByteWithItsPhaseAndField)
{
    StationProcess station;
    const QString plan = path(QStringLiteral("one.ini"));
    ASSERT_EQ(runCli({QStringLiteral("template"), QStringLiteral("--count"), QStringLiteral("1"),
                      QStringLiteral("-o"), plan})
                  .exitCode,
              0);
    const QString writeTrace = path(QStringLiteral("write.trace"));
    ASSERT_EQ(runCli({QStringLiteral("write"), plan, QStringLiteral("--port"), station.path(),
                      QStringLiteral("--trace"), writeTrace})
                  .exitCode,
              0);
    const QList<QStringList> written = traceLines(writeTrace);
    EXPECT_EQ(countDirection(written, u"sent"_qs), 44);
    EXPECT_EQ(countDirection(written, u"received"_qs), 44);
    ASSERT_EQ(written.size(), 88);
    EXPECT_EQ(written[0].mid(1), (QStringList{u"sent"_qs, u"14"_qs, u"Writing"_qs, u"Command"_qs}));
    EXPECT_EQ(written[1].mid(1),
              (QStringList{u"received"_qs, u"06"_qs, u"Writing"_qs, u"reply to Command"_qs}));
    EXPECT_EQ(written[87].value(4), u"reply to record 1 Reserved"_qs);
    for (qsizetype i = 1; i < written.size(); ++i)
        EXPECT_LE(written[i - 1][0].toLongLong(), written[i][0].toLongLong()) << "monotonic, line " << i;

    const QString readTrace = path(QStringLiteral("read.trace"));
    ASSERT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"),
                      path(QStringLiteral("read.ini")), QStringLiteral("--trace"), readTrace})
                  .exitCode,
              0);
    const QList<QStringList> read = traceLines(readTrace);
    ASSERT_EQ(read.size(), 1 + 28 + 18);
    EXPECT_EQ(read[0].mid(1), (QStringList{u"sent"_qs, u"1E"_qs, u"ReadRequest"_qs, u"ReadCommand"_qs}));
    EXPECT_EQ(read[1].mid(1), (QStringList{u"received"_qs, u"01"_qs, u"Reading"_qs, u"SerialNumber"_qs}));
    EXPECT_EQ(read[29].value(4), u"record 1 ChannelFlags"_qs);

    // A failure of several lines stays a comment to its end.
    const QString failed = path(QStringLiteral("failed.trace"));
    runCli({u"write"_qs, plan, u"--port"_qs, u"/dev/yalmera-no-such-port"_qs, u"--trace"_qs, failed});
    EXPECT_TRUE(fileBytes(failed).contains("# end: OpenFailed") && traceLines(failed).isEmpty());
}

// Signals and pseudo-terminals held by the test are POSIX; a Windows console sends Ctrl-C to its
// whole group.
#ifndef Q_OS_WIN
// Starts a write of the example plan and returns once the station has answered a few of its bytes
// (the trace reaches its file at least every 0.1 s). With more ports, the first port's trace is
// watched.
bool startWriteUnderWay(QProcess& write, const QString& port, const QString& trace, const QString& journal,
                        const QStringList& more = {})
{
    const QString watched =
        more.contains(u"--port"_qs)
            ? QStringLiteral("%1-%2.trace").arg(trace.chopped(6), QFileInfo(port).fileName())
            : trace;
    write.start(QStringLiteral(YALMERA_CLI),
                QStringList{QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), port,
                            QStringLiteral("--trace"), trace, QStringLiteral("--journal"), journal} +
                    more);
    if (!write.waitForStarted(5000))
        return false;
    for (int i = 0; i < 400 && countDirection(traceLines(watched), u"received"_qs) < 3; ++i)
        QThread::msleep(50);
    return countDirection(traceLines(watched), u"received"_qs) >= 3;
}

// A write stopped by a signal, and the next write on the port started a moment later; the
// stopped write may have come through a symbolic link to the port (as /dev/serial/by-id/...),
// the next one through the device's own name.
struct Interruption
{
    int signal;
    int retryAfterMs;
    bool throughLink = false;
};

void PrintTo(const Interruption& c, std::ostream* os)
{
    *os << sigabbrev_np(c.signal) << (c.throughLink ? " through a link" : "") << ", retried after "
        << c.retryAfterMs << " ms";
}

class InterruptedWrite : public WriteReadCommands, public testing::WithParamInterface<Interruption>
{
};

TEST_P(InterruptedWrite, EndsBetweenTwoBytesAndTheNextWriteLeavesItsPlanInTheStation)
{
    const Interruption c = GetParam();
    // The station gives up a broken write after the time the program allows for.
    StationProcess station(
        {QStringLiteral("--reply-delay=5"),
         QStringLiteral("--abandon-after=%1").arg(Yalmera4K17.timings.stationAbandon.count())});
    ASSERT_FALSE(station.path().isEmpty());
    const QString trace = path(QStringLiteral("write.trace"));
    const QString journal = path(QStringLiteral("journal.csv"));
    const QString link = path(QStringLiteral("usb-Yalmera_by-id"));
    ASSERT_TRUE(!c.throughLink || QFile::link(station.path(), link));
    QProcess write;
    ASSERT_TRUE(startWriteUnderWay(write, c.throughLink ? link : station.path(), trace, journal));
    ASSERT_EQ(::kill(static_cast<pid_t>(write.processId()), c.signal), 0);
    ASSERT_TRUE(write.waitForFinished(20000));
    if (c.signal != SIGKILL) {
        // The byte in flight is answered, the port freed, the stop journalled.
        EXPECT_EQ(write.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(write.exitCode(), 128 + c.signal);
        const QString err = QString::fromUtf8(write.readAllStandardError());
        EXPECT_TRUE(err.contains(
            QStringLiteral("yalmera-cli write: Запись прервана: в станции осталась часть плана. "
                           "Следующий обмен через этот порт начнется не раньше чем через 1,25 с")))
            << err.toStdString();
        const QList<QStringList> lines = journalLines(journal);
        EXPECT_EQ(lines.value(lines.size() - 1).value(10), QStringLiteral("прервано"));
        EXPECT_EQ(countDirection(traceLines(trace), u"sent"_qs),
                  countDirection(traceLines(trace), u"received"_qs));
    }
    EXPECT_LT(countDirection(traceLines(trace), u"sent"_qs), 26 + 18 * 10);

    // Taken for the rest of the broken stream, the next write would be acknowledged to its end.
    QThread::msleep(static_cast<unsigned long>(c.retryAfterMs));
    const CliRun again = runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"),
                                 station.path(), QStringLiteral("--journal"), journal});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    const QString held = path(QStringLiteral("held.ini"));
    ASSERT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"),
                      held, QStringLiteral("--journal"), journal})
                  .exitCode,
              0);
    EXPECT_EQ(checkedStream(held), checkedStream(ExamplePlan));
}

constexpr Interruption Interruptions[] = {
    {SIGINT, 0},  {SIGINT, 500},  {SIGINT, 1000},  {SIGTERM, 0}, {SIGTERM, 500},    {SIGTERM, 1000},
    {SIGKILL, 0}, {SIGKILL, 500}, {SIGKILL, 1000}, {SIGHUP, 0},  {SIGINT, 0, true}, {SIGKILL, 0, true},
};

INSTANTIATE_TEST_SUITE_P(RetriedAfter, InterruptedWrite, testing::ValuesIn(Interruptions),
                         [](const testing::TestParamInfo<Interruption>& info) {
                             return std::string(sigabbrev_np(info.param.signal)) +
                                    (info.param.throughLink ? "ThroughALink" : "") + "Then" +
                                    std::to_string(info.param.retryAfterMs) + "ms";
                         });

TEST_F(WriteReadCommands, SignalStopsEveryStationOfAFleetAndEachJournalsIt)
{
    StationProcess first({QStringLiteral("--reply-delay=5")});
    StationProcess second({QStringLiteral("--reply-delay=5")});
    const QString journal = path(QStringLiteral("journal.csv"));
    QProcess write;
    // The first station's trace shows the write under way.
    ASSERT_TRUE(
        startWriteUnderWay(write, first.path(), path(u"w.trace"_qs), journal, {u"--port"_qs, second.path()}));
    ASSERT_EQ(::kill(static_cast<pid_t>(write.processId()), SIGINT), 0);
    ASSERT_TRUE(write.waitForFinished(20000));
    EXPECT_EQ(write.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(write.exitCode(), 130);
    const QMap<QString, QString> stopped{{first.path(), u"прервано"_qs}, {second.path(), u"прервано"_qs}};
    EXPECT_EQ(outcomesByPort(journalLines(journal), u"запись"_qs), stopped);
}

TEST_F(WriteReadCommands, ASecondProgramIsRefusedThePortUnderAnyName)
{
    StationProcess station({QStringLiteral("--reply-delay=5")});
    ASSERT_FALSE(station.path().isEmpty());
    const QString link = path(QStringLiteral("ttyUSB-by-id"));
    ASSERT_TRUE(QFile::link(station.path(), link));
    // The second program comes through a symbolic link, or finds the first's lock file gone (a
    // program that removed it): the device itself is held. A first program that came through the
    // link holds the device's own lock file.
    const struct
    {
        const char* name;
        QString first;
        QString second;
        bool lockFileRemoved;
    } cases[] = {
        {"through a link", station.path(), link, false},
        {"lock file removed", station.path(), station.path(), true},
        {"first through a link, its lock file removed", link, station.path(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString journal = path(QStringLiteral("journal.csv"));
        QProcess first;
        // A trace of its own: the last one's lines would say this write is under way at once.
        const QString trace = path(QStringLiteral("first-%1.trace").arg(&c - cases));
        ASSERT_TRUE(startWriteUnderWay(first, c.first, trace, journal, {QStringLiteral("--verify")}));
        if (c.lockFileRemoved) {
            ASSERT_TRUE(QFile::remove(portLockFilePath(station.path())));
        }
        const CliRun second = runCli({QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"),
                                      c.second, QStringLiteral("--journal"), journal});
        EXPECT_EQ(second.exitCode, 3);
        EXPECT_TRUE(second.err.contains(QStringLiteral("ie_Open - device already open")))
            << second.err.toStdString();
        ASSERT_TRUE(first.waitForFinished(30000));
        EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    }
}
#endif

// Another program holds the journal as the write ends: the station is written all the same, and
// the command ends once the wait allowed has run out, or at once on a signal, with the line it
// could not add on stderr.
TEST_F(WriteReadCommands, HeldJournalEndsTheWriteInBoundedTimeWithItsLineOnStderr)
{
    const struct
    {
        const char* what;
        int signal; // sent once the command says it waits; 0: none, the wait runs out
        int exitCode;
        QString locale;
        const char* waiting; // what the command says as it waits
        const char* written; // and what it says of the station
        const char* ended;   // how the wait ended
    } cases[] = {
        {"the wait runs out", 0, 4, English, "", "10 channels written", "ожидание прекращено через 1 с"},
#ifndef Q_OS_WIN
        {"Ctrl-C", SIGINT, 130, English,
         "is held by another program; waiting for it up to 30 s (Ctrl-C stops", "10 channels written",
         "ожидание прервано"},
        {"SIGTERM", SIGTERM, 143, Russian, "занят другой программой; ожидание до 30 с (Ctrl-C прерывает",
         "записано 10 каналов", "ожидание прервано"},
        {"SIGHUP", SIGHUP, 129, English, "is held by another program; waiting for it up to 30 s",
         "10 channels written", "ожидание прервано"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StationProcess station;
        ASSERT_FALSE(station.path().isEmpty());
        const QString journal = path(QStringLiteral("journal-%1.csv").arg(c.signal));
        test::HeldJournalLock other(journal);
        ASSERT_TRUE(other.held());
        QProcessEnvironment environment = languageEnvironment(c.locale);
        // The whole 30 s when a signal ends the wait, 1 s when it runs out.
        environment.insert(QStringLiteral("YALMERA_JOURNAL_WAIT"), c.signal ? u"30"_qs : u"1"_qs);
        QProcess write;
        write.setProcessEnvironment(environment);
        write.start(QStringLiteral(YALMERA_CLI),
                    {QStringLiteral("write"), ExamplePlan, QStringLiteral("--port"), station.path(),
                     QStringLiteral("--journal"), journal});
        QString err;
#ifndef Q_OS_WIN
        if (c.signal) {
            for (int i = 0; i < 600 && !err.contains(QString::fromUtf8(c.waiting)); ++i) {
                write.waitForReadyRead(100);
                err += QString::fromUtf8(write.readAllStandardError());
            }
            ASSERT_TRUE(err.contains(QString::fromUtf8(c.waiting))) << err.toStdString();
            ASSERT_EQ(::kill(static_cast<pid_t>(write.processId()), c.signal), 0);
        }
#endif
        ASSERT_TRUE(write.waitForFinished(60000));
        err += QString::fromUtf8(write.readAllStandardError());
        EXPECT_EQ(write.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(write.exitCode(), c.exitCode) << err.toStdString();
        const QString out = QString::fromUtf8(write.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.written))) << out.toStdString();
        // Why, and the line as the journal would hold it, on a line of its own.
        const QString lead =
            QStringLiteral("%1\nСтрока журнала, которая не записана:\n").arg(QString::fromUtf8(c.ended));
        const qsizetype at = err.indexOf(lead);
        ASSERT_GE(at, 0) << err.toStdString();
        const QStringList line =
            parseDelimited(err.mid(at + lead.size()).section(u'\n', 0, 0), u';').value(0);
        ASSERT_EQ(line.size(), files::JournalColumnCount) << err.toStdString();
        EXPECT_EQ((QStringList{line[2], line[3], line[6], line[10]}),
                  (QStringList{u"запись"_qs, station.path(), u"10"_qs, u"выполнено"_qs}));
        EXPECT_EQ(fileBytes(journal), QByteArray());
    }
}

TEST_F(WriteReadCommands, ReadChecksItsOutputAndJournalFirstAndKeepsThePlanItReplaces)
{
    const QString image = path(QStringLiteral("plan.bin"));
    ASSERT_EQ(runCli({QStringLiteral("image"), ExamplePlan, QStringLiteral("-o"), image}).exitCode, 0);
    StationProcess station({QStringLiteral("--image"), image});
    const QString journal = path(QStringLiteral("journal.csv"));
    const QString notAFolder = path(QStringLiteral("file"));
    QFile plain(notAFolder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    // An output whose copy would take a name too long, or go through a link or into a folder.
    const QString longName = path(QString(246, u'x') + QStringLiteral(".ini"));
    const QString victim = path(QStringLiteral("victim"));
    for (const QString& existing :
         {longName, path(QStringLiteral("l.ini")), path(QStringLiteral("d.ini")), victim})
        ASSERT_TRUE(QFile::copy(notAFolder, existing));
    QDir().mkdir(path(QStringLiteral("d.ini.bak")));
    // Refused at once: no read, no journal line.
    QList<std::tuple<QString, QString, QStringList>> refused = {
        {path(QStringLiteral("no/such/folder/x.ini")), journal, {}},
        {path(QStringLiteral("x.ini")), notAFolder + QStringLiteral("/journal.csv"), {}},
        {longName, journal, {}},
        {path(QStringLiteral("d.ini")), journal, {}},
        {journal, journal, {}},
        {path(QStringLiteral("x.ini")), journal, {QStringLiteral("--trace"), path(QStringLiteral("x.ini"))}},
    };
#ifndef Q_OS_WIN
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    refused.append({fifo, journal, {}});
    ASSERT_TRUE(QFile::link(victim, path(QStringLiteral("l.ini.bak"))));
    refused.append({path(QStringLiteral("l.ini")), journal, {}});
    // The journal through a link, before it exists.
    ASSERT_TRUE(QFile::link(journal, path(QStringLiteral("journal-link"))));
    refused.append({path(QStringLiteral("x.ini")),
                    journal,
                    {QStringLiteral("--trace"), path(QStringLiteral("journal-link"))}});
#endif
    for (const auto& [output, journalFile, more] : refused) {
        const CliRun run =
            runCli(QStringList{QStringLiteral("read"), QStringLiteral("--port"), station.path(),
                               QStringLiteral("-o"), output, QStringLiteral("--journal"), journalFile} +
                   more);
        EXPECT_EQ(run.exitCode, 2) << output.toStdString() << more.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("yalmera-cli read: "))) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("Reading ["))) << "nothing was read";
        EXPECT_FALSE(QFile::exists(journal));
    }
    EXPECT_TRUE(fileBytes(victim).isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.ini"))));

    const QString out = path(QStringLiteral("station.ini"));
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old plan");
    old.close();
    const CliRun read = runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(),
                                QStringLiteral("-o"), out, QStringLiteral("--journal"), journal});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(fileBytes(out + QStringLiteral(".bak")), QByteArray("old plan"));
    EXPECT_EQ(checkedStream(out), checkedStream(ExamplePlan));
    const QList<QStringList> lines = journalLines(journal);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].mid(2, 9),
              (QStringList{u"чтение"_qs, station.path(), u"Ялмера 4К-17"_qs, u"0"_qs, u"10"_qs,
                           QDir::toNativeSeparators(QFileInfo(out).absoluteFilePath()), lines[1][8],
                           u"012345"_qs, u"выполнено"_qs}));
    EXPECT_EQ(QDir(path(QStringLiteral("backups"))).entryList(QDir::Files).size(), 1);

    // A second read onto the same file keeps the user's own plan as it was and the first read's too.
    const QByteArray firstRead = fileBytes(out);
    ASSERT_EQ(runCli({QStringLiteral("read"), QStringLiteral("--port"), station.path(), QStringLiteral("-o"),
                      out, QStringLiteral("--journal"), journal})
                  .exitCode,
              0);
    EXPECT_EQ(fileBytes(out + QStringLiteral(".bak")), QByteArray("old plan"));
    EXPECT_EQ(fileBytes(out + QStringLiteral(".2.bak")), firstRead);
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
    // The output and the journal go where that user may write: they are checked before the port.
    const QString open = path(QStringLiteral("open"));
    ASSERT_TRUE(QDir().mkdir(open));
    ASSERT_TRUE(QFile::setPermissions(open, QFile::Permissions(0x7777)));

    QProcess read;
    read.setProcessEnvironment(languageEnvironment(Russian));
    read.setChildProcessModifier([] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    });
    read.start(QStringLiteral(YALMERA_CLI), {QStringLiteral("read"), QStringLiteral("--port"), device,
                                             QStringLiteral("-o"), open + QStringLiteral("/out.ini"),
                                             QStringLiteral("--journal"), open + QStringLiteral("/j.csv")});
    if (!read.waitForStarted(5000) || (read.waitForFinished(60000) && read.exitCode() == 99))
        GTEST_SKIP() << "cannot run yalmera-cli as the user nobody here";
    ASSERT_EQ(read.state(), QProcess::NotRunning);
    const QString err = QString::fromUtf8(read.readAllStandardError());
    EXPECT_EQ(read.exitCode(), 3) << err.toStdString();
    // As the guide says it, beside the system's own words.
    EXPECT_TRUE(err.contains(QStringLiteral("read: Отказано в доступе (Permission denied)\n")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("«sudo usermod -aG dialout $USER» и войдите в систему заново")))
        << err.toStdString();
}

#endif
