#include "cli_runner.h"

#include "files/plan_file.h"
#include "session/app_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <functional>

using namespace yalmera;

namespace {

const QString Passed = QStringLiteral("Все данные введены верно.\n");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

const QByteArray OneChannelTemplateStream =
    bytes({0x14, 0x01, 0x08, 0x01, 0xC8, 0x00, 0x46, 0x4B, 0x64, 0x78, 0x8C, 0x9B, 0xAA, 0xC7, 0xD2,
           0xF0, 0x00, 0x01, 0x00, 0x00, 0xC8, 0x06, 0x00, 0x00, 0x00, 0x00, 0xBE, 0x01, 0x11, 0xCE,
           0x81, 0x11, 0x5E, 0x01, 0xC8, 0xC8, 0x00, 0x00, 0x01, 0x01, 0x04, 0xFF, 0x00, 0x00});

class CheckImageCommands : public testing::Test
{
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A template plan of `count` channels saved as a file after `edit` changed it.
    QString planFile(const QString& name, int count, const std::function<void(AppState&)>& edit = {})
    {
        AppState state;
        TemplateFields fields;
        fields.count = QString::number(count);
        fields.startKHz = QStringLiteral("145000");
        EXPECT_TRUE(state.createTemplate(fields).isEmpty());
        if (edit)
            edit(state);
        const QString file = path(name);
        EXPECT_TRUE(files::writePlanFile(file, state.settings(), state.table(), state.stationType().typeCode,
                                         moduleCode(state.moduleType()))
                        .isEmpty());
        return file;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CheckImageCommands, ExamplePlansPass)
{
    for (const char* example : {"k17m_10.ini", "k15m_10.ini"}) {
        const CliRun run = runCli({QStringLiteral("check"), QStringLiteral(YALMERA_SOURCE_DIR "/examples/") +
                                                                QString::fromLatin1(example)});
        EXPECT_EQ(run.exitCode, 0) << example << run.err.toStdString();
        EXPECT_EQ(run.out, Passed) << example;
    }
}

TEST_F(CheckImageCommands, OneChannelTemplateImageByteForByte)
{
    const QString plan = path(QStringLiteral("one.ini"));
    const CliRun made =
        runCli({QStringLiteral("template"), QStringLiteral("--count"), QStringLiteral("1"),
                QStringLiteral("--start"), QStringLiteral("140000"), QStringLiteral("--offset"),
                QStringLiteral("1000"), QStringLiteral("-o"), plan});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();

    const QString image = path(QStringLiteral("one.bin"));
    const CliRun run = runCli({QStringLiteral("image"), plan, QStringLiteral("-o"), image});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, Passed);
    EXPECT_EQ(readAll(image), OneChannelTemplateStream);
}

TEST_F(CheckImageCommands, ModuleAndBandCodeComeFromTheFile)
{
    const QString plan = path(QStringLiteral("low.ini"));
    ASSERT_EQ(runCli({QStringLiteral("template"), QStringLiteral("--count"), QStringLiteral("2"),
                      QStringLiteral("--band"), QStringLiteral("30-60"), QStringLiteral("--module"),
                      QStringLiteral("3"), QStringLiteral("-o"), plan})
                  .exitCode,
              0);
    const QString image = path(QStringLiteral("low.bin"));
    ASSERT_EQ(runCli({QStringLiteral("image"), plan, QStringLiteral("-o"), image}).exitCode, 0);
    const QByteArray stream = readAll(image);
    ASSERT_EQ(stream.size(), 26 + 2 * 18);
    EXPECT_EQ(stream.mid(22, 4), bytes({3, 1, 1, 1}));
    EXPECT_EQ(stream.mid(26 + 2, 3), bytes({0x12, 0x02, 0x01})); // 30000 kHz received, modulus 8
}

TEST_F(CheckImageCommands, RefusalsExitOneWithTheMessageOnStderrAndWriteNothing)
{
    struct Case
    {
        const char* name;
        std::function<void(AppState&)> edit;
        QString message;
    };
    const Case cases[] = {
        {"power min 4", [](AppState& s) { s.editTable().setCell(Column::PowerMin, 2, QStringLiteral("4")); },
         QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень")},
        {"frequency no number",
         [](AppState& s) { s.editTable().setCell(Column::RxFrequency, 1, QStringLiteral("abc")); },
         QStringLiteral("'abc' is not a valid floating point value")},
        {"special channel",
         [](AppState& s) {
             QStringList lines = s.settings().lines();
             lines.replaceInStrings(QStringLiteral("СК=1"), QStringLiteral("СК=5"));
             s.editSettings().setLines(lines);
         },
         QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала")},
    };
    for (const Case& c : cases) {
        const QString plan = planFile(QStringLiteral("bad.ini"), 3, c.edit);
        const CliRun check = runCli({QStringLiteral("check"), plan});
        EXPECT_EQ(check.exitCode, 1) << c.name;
        EXPECT_EQ(check.err, QStringLiteral("yalmera-cli check: ") + c.message + u'\n') << c.name;
        EXPECT_TRUE(check.out.isEmpty()) << c.name;

        const QString image = path(QStringLiteral("kept.bin"));
        QFile old(image);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const CliRun run = runCli({QStringLiteral("image"), plan, QStringLiteral("-o"), image});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_EQ(run.err, QStringLiteral("yalmera-cli image: ") + c.message + u'\n') << c.name;
        EXPECT_EQ(readAll(image), QByteArray("old")) << c.name;
    }
}

TEST_F(CheckImageCommands, UsageAndFileErrorsExitTwoOnStderr)
{
    const QString plan = planFile(QStringLiteral("good.ini"), 2);
    const QString missing = path(QStringLiteral("missing.ini"));
    const QStringList cases[] = {
        {QStringLiteral("check")},
        {QStringLiteral("check"), plan, plan},
        {QStringLiteral("check"), missing},
        {QStringLiteral("check"), QStringLiteral("--frobnicate"), plan},
        {QStringLiteral("image"), plan},
        {QStringLiteral("image"), missing, QStringLiteral("-o"), path(QStringLiteral("x.bin"))},
        {QStringLiteral("image"), plan, QStringLiteral("-o"), path(QStringLiteral("no/such/dir/x.bin"))},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.bin"))));
}

// FIFOs, /dev/zero, the station program and names as bytes are POSIX's.
#ifndef Q_OS_WIN
TEST_F(CheckImageCommands, FifosAndDevicesAreNeitherReadNorReplaced)
{
    const QString plan = planFile(QStringLiteral("good.ini"), 2);
    const QString fifo = path(QStringLiteral("fifo"));
    const QString fifoPdf = path(QStringLiteral("fifo.pdf"));
    for (const QString& name : {fifo, fifoPdf})
        ASSERT_EQ(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    const QString out = path(QStringLiteral("out.pdf"));
    const QString cli = QStringLiteral(YALMERA_CLI);
    const QString station = QStringLiteral(YALMERA_STATION);
    const QString notRegular = QStringLiteral("не к обычному файлу, а к каналу или устройству");
    // As inputs they would block the open (a FIFO) or never end (a device); as outputs the save
    // would put a regular file in their place. The station's image (here a plan file of 10
    // channels) is at most one write stream.
    const std::tuple<QString, QStringList, QString> cases[] = {
        {cli, {QStringLiteral("check"), fifo}, notRegular},
        {cli, {QStringLiteral("check"), QStringLiteral("/dev/zero")}, notRegular},
        {cli, {QStringLiteral("image"), fifo, QStringLiteral("-o"), out}, notRegular},
        {cli,
         {QStringLiteral("protocol"), fifo, QStringLiteral("--serial=1"), QStringLiteral("-o"), out},
         notRegular},
        {cli, {QStringLiteral("write"), fifo, QStringLiteral("--port=/dev/yalmera-none")}, notRegular},
        {cli, {QStringLiteral("image"), plan, QStringLiteral("-o"), fifo}, notRegular},
        {cli, {QStringLiteral("template"), QStringLiteral("-o"), fifo}, notRegular},
        {cli,
         {QStringLiteral("protocol"), plan, QStringLiteral("--serial=1"), QStringLiteral("-o"), fifoPdf},
         notRegular},
        {station, {QStringLiteral("--pty"), QStringLiteral("--image"), fifo}, notRegular},
        {station,
         {QStringLiteral("--pty"), QStringLiteral("--image"),
          QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini")},
         QStringLiteral("larger than a write stream")},
    };
    for (const auto& [program, arguments, message] : cases) {
        const CliRun run = runProgram(program, arguments, 20000);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
    for (const QString& name : {fifo, fifoPdf})
        EXPECT_FALSE(QFileInfo(name).isFile()) << name.toStdString();

    // A symbolic link to a regular file (not the plan it reads) is still saved through.
    const QString target = path(QStringLiteral("target.bin"));
    ASSERT_TRUE(QFile::copy(plan, target));
    const QString link = path(QStringLiteral("link.bin"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(runCli({QStringLiteral("image"), plan, QStringLiteral("-o"), link}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target).size(), 26 + 18 * 2);
}

TEST_F(CheckImageCommands, NamesThatAreNoUtf8AreRefusedWhereverAPathIsTaken)
{
    // $B: "План" in Windows-1251, which Qt would read as "\uFFFD\uFFFD\uFFFD\uFFFD"; a file of
    // that decoded name stands by, as one an earlier run wrote in its place.
    const QString plan = planFile(QStringLiteral("plan.ini"), 2);
    ASSERT_TRUE(QFile::copy(plan, path(QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD.ini"))));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const char* const commands[] = {
        R"("$C" template -o "$D/$B.ini")",
        R"("$C" image "$P" -o "$D/$B.bin")",
        R"("$C" check "$D/$B.ini")",
        R"("$C" export "$P" -o "$D/$B.csv")",
        R"("$C" protocol "$P" --serial=1 -o "$D/$B.pdf")",
        R"("$C" read --port /dev/yalmera-none -o "$D/$B.ini")",
        R"("$C" read --port /dev/yalmera-none -o "$D/x.ini" --trace "$D/$B")",
        R"("$C" write "$P" --port /dev/yalmera-none --journal "$D/$B.csv")",
        R"("$C" write "$P" --port /dev/yalmera-none --serial 1 --protocol "$D/$B")",
        R"(YALMERA_JOURNAL="$D/$B.csv" "$C" write "$P" --port /dev/yalmera-none)",
    };
    const QString names = QStringLiteral("C='%1' D='%2' P='%3' B=$(printf '\\317\\353\\340\\355'); ")
                              .arg(QStringLiteral(YALMERA_CLI), m_dir.path(), plan);
    for (const char* command : commands) {
        const CliRun run =
            runProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), names + QLatin1String(command)});
        EXPECT_EQ(run.exitCode, 2) << command << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("UTF-8"))) << command << "\n" << run.err.toStdString();
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before) << command;
    }
    // Said once the program's texts are loaded: in the user's language too.
    const CliRun russian = runProgram(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), names + QLatin1String(R"(LANG=ru_RU.UTF-8 "$C" check "$D/$B.ini")")});
    EXPECT_TRUE(russian.err.contains(QStringLiteral("не текст UTF-8"))) << russian.err.toStdString();
}

#endif

TEST_F(CheckImageCommands, ControlCharactersOfPlanTextArePrintedEscaped)
{
    // A cell that would clear the screen and set the terminal's title.
    const QString plan = planFile(QStringLiteral("escape.ini"), 1, [](AppState& state) {
        state.editTable().setCell(Column::CtcssRx, 1, QStringLiteral("\x1b[2J\x1b]0;Тон\x07"));
    });
    const CliRun run = runCli({QStringLiteral("check"), plan});
    EXPECT_TRUE(run.err.contains(QStringLiteral("значение \"\\x1b[2J\\x1b]0;Тон\\x07\" не из списка")))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(u'\x1b'));
    EXPECT_FALSE(run.err.contains(u'\x07'));
}

TEST_F(CheckImageCommands, HelpForBoth)
{
    for (const char* command : {"check", "image"}) {
        const CliRun run = runCli({QLatin1String(command), QStringLiteral("--help")});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.contains(QStringLiteral("Usage: yalmera-cli ") + QLatin1String(command)))
            << command;
    }
}
