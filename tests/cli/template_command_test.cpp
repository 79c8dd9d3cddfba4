#include "cli_runner.h"

#include "common/platform_texts.h"
#include "files/plan_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList args(std::initializer_list<const char16_t*> list)
{
    QStringList result{QStringLiteral("template")};
    for (const char16_t* a : list)
        result << QString::fromUtf16(a);
    return result;
}

} // namespace

TEST(CliTemplate, OneChannelTemplateIsTheExampleFileByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    const CliRun run =
        runCli(args({u"--count", u"1", u"--start", u"140000", u"--offset", u"1000", u"-o"}) << path);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QByteArray example =
        readAll(QStringLiteral(YALMERA_SOURCE_DIR "/tests/files/data/one_channel_template.ini"));
    ASSERT_FALSE(example.isEmpty());
    EXPECT_EQ(readAll(path), example);
}

TEST(CliTemplate, DefaultsMakeTheCommittedTenChannelExampleAndSaySoInTheUserLanguage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K17M_10.ini"));
    const CliRun run = runCli(args({u"--output"}) << path);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("10 channels, 140000 to 149000 kHz, Ялмера 4К-17 (144-174 MHz, type code "
                             "0), module 0, saved to %1\n")
                  .arg(path));
    const QByteArray example = readAll(QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini"));
    ASSERT_FALSE(example.isEmpty());
    EXPECT_EQ(readAll(path), example);
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
    EXPECT_EQ(runCli(args({u"--output"}) << path, 60000, Russian).out,
              QStringLiteral("10 каналов, от 140000 до 149000 кГц, Ялмера 4К-17 (144-174 МГц, код типа 0), "
                             "модуль 0, сохранено в %1\n")
                  .arg(path));
#endif
}

TEST(CliTemplate, BandAndModuleAreSavedAsTypeAndModuleType)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k15.ini"));
    const CliRun run =
        runCli(args({u"--band", u"30-60", u"--module", u"3", u"--count", u"3", u"--offset", u"6,25", u"-o"})
               << path);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const files::PlanDecodeResult read = files::readPlanFile(path);
    ASSERT_TRUE(read.contents.has_value());
    EXPECT_EQ(read.contents->typeCode, 1);
    EXPECT_EQ(read.contents->moduleType, 3);
    EXPECT_EQ(read.contents->table.channelCount(), 3);
    EXPECT_EQ(read.contents->table.cell(Column::RxFrequency, 1), QStringLiteral("30000"));
    EXPECT_EQ(read.contents->table.cell(Column::TxFrequency, 3), QStringLiteral("30012,5"));
}

TEST(CliTemplate, RefusalsExitOneWithTheirOneMessageAndWriteNothing)
{
    struct Case
    {
        std::initializer_list<const char16_t*> arguments;
        const char16_t* message;
    };
    const Case cases[] = {
        {{u"--count", u"100"}, u"Вы не ввели количество каналов или ввели слишком много"},
        {{u"--count", u"0"}, u"Вы не ввели количество каналов или ввели слишком много"},
        {{u"--start", u"140001"}, u"Частота должна быть кратна 6,25кГц"},
        {{u"--offset", u"1,5"}, u"Шаг смещения должен быть кратен 6,25кГц"},
        {{u"--start", u"139993,75"},
         u"Введенная частота не соответствует частотному диапазону, частотный диапазон 140-174 МГц"},
        {{u"--band", u"30-60", u"--start", u"140000"},
         u"Введенная частота не соответствует частотному диапазону, частотный диапазон 30-60 МГц"},
        {{u"--start", u"abc"}, u"'abc' is not a valid floating point value"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.ini"));
    for (const Case& c : cases) {
        const CliRun run = runCli(args(c.arguments) << QStringLiteral("-o") << path);
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("yalmera-cli template: ") + QString::fromUtf16(c.message) + u'\n');
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST(CliTemplate, UsageAndFileErrorsExitTwo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.ini"));
    const std::initializer_list<const char16_t*> usage[] = {
        {u"--band", u"400-486"}, {u"--module", u"5"}, {u"--module", u"-1"}, {u"--colour", u"red"}, {u"extra"},
    };
    for (const auto& arguments : usage) {
        const CliRun run = runCli(args(arguments) << QStringLiteral("-o") << path);
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(runCli(args({u"--count", u"5"})).exitCode, 2); // no output file

    const CliRun noFolder = runCli(args({u"-o"}) << dir.filePath(QStringLiteral("нет/plan.ini")));
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(noFolder.err.contains(test::noSuchFolderText())) << noFolder.err.toStdString();
}

TEST(CliTemplate, ARefusedTemplateLeavesAnExistingFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.ini"));
    ASSERT_EQ(runCli(args({u"--count", u"2", u"-o"}) << path).exitCode, 0);
    const QByteArray before = readAll(path);
    EXPECT_EQ(runCli(args({u"--count", u"", u"-o"}) << path).exitCode, 1);
    EXPECT_EQ(readAll(path), before);
}

TEST(CliTemplate, HelpExplainsEveryOption)
{
    const CliRun run = runCli(args({u"--help"}));
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--count", "--start", "--offset", "--band", "--module", "--output", "144-174", "30-60"})
        EXPECT_TRUE(run.out.contains(QLatin1String(option))) << option;
}
