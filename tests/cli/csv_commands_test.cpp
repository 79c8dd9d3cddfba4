#include "cli_runner.h"

#include "files/plan_text_codec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CliCsv, ExportThenImportSavesTheSamePlanFileAndABadValueChangesNothing)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    // A plan as the program saves what it read: its settings block is the one import rebuilds.
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"12"_qs, u"--band"_qs, u"30-60"_qs, u"--module"_qs,
                      u"3"_qs, u"-o"_qs, at("t.ini")})
                  .exitCode,
              0);
    ASSERT_EQ(
        runCli({u"import"_qs, at("t.csv"), u"--settings-from"_qs, at("t.ini"), u"-o"_qs, at("plan.ini")})
            .exitCode,
        2); // no spreadsheet file yet
    ASSERT_EQ(runCli({u"export"_qs, at("t.ini"), u"-o"_qs, at("t.csv")}).exitCode, 0);
    ASSERT_EQ(
        runCli({u"import"_qs, at("t.csv"), u"--settings-from"_qs, at("t.ini"), u"-o"_qs, at("plan.ini")})
            .exitCode,
        0);

    const CliRun exported = runCli({u"export"_qs, at("plan.ini"), u"-o"_qs, at("plan.csv")});
    const CliRun imported = runCli(
        {u"import"_qs, at("plan.csv"), u"--settings-from"_qs, at("plan.ini"), u"-o"_qs, at("again.ini")});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(exported.out, u"Channel table (12 channels) saved to %1\n"_qs.arg(at("plan.csv")));
    EXPECT_EQ(imported.out, u"Plan (12 channels from %1, the settings from %2) saved to %3\n"_qs.arg(
                                at("plan.csv"), at("plan.ini"), at("again.ini")));
    EXPECT_EQ(readAll(at("again.ini")), readAll(at("plan.ini")));
    EXPECT_EQ(readAll(at("plan.csv")), readAll(at("t.csv")));

    QByteArray bad = readAll(at("plan.csv"));
    bad.replace(QString(u"\r\n3;32000;32000;Нет;"_qs).toUtf8(),
                QString(u"\r\n3;32000;\"32\n000\";Нет;"_qs).toUtf8());
    QFile file(at("bad.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bad);
    file.close();
    const CliRun refused = runCli(
        {u"import"_qs, at("bad.csv"), u"--settings-from"_qs, at("plan.ini"), u"-o"_qs, at("again.ini")});
    EXPECT_EQ(refused.exitCode, 2);
    // Named in the spreadsheet file, not in the plan file it would have made.
    EXPECT_TRUE(refused.err.contains(at("bad.csv") +
                                     u": Строка 4 файла, столбец «Tx, кГц»: управляющий символ U+000A"_qs))
        << refused.err.toStdString();
    EXPECT_EQ(readAll(at("plan.ini")), readAll(at("again.ini")));
}

TEST(CliDiff, ListsAnAddedChannelAndAChangedSettingAndComparesASpreadsheetByItsChannels)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"10"_qs, u"-o"_qs, at("a.ini")}).exitCode, 0);
    ASSERT_EQ(runCli({u"template"_qs, u"--count"_qs, u"11"_qs, u"-o"_qs, at("b.ini")}).exitCode, 0);
    // The program's own converter: the Windows build's Qt has none for this code page.
    QByteArray b = readAll(at("b.ini"));
    const QByteArray volume = *yalmera::files::encodeWindows1251(u"Громкость=8");
    ASSERT_TRUE(b.contains(volume));
    b.replace(volume, *yalmera::files::encodeWindows1251(u"Громкость=5"));
    QFile file(at("b.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(b);
    file.close();

    const CliRun diff = runCli({u"diff"_qs, at("a.ini"), at("b.ini"), u"--text"_qs});
    EXPECT_EQ(diff.exitCode, 1) << diff.err.toStdString();
    EXPECT_EQ(diff.out, u"settings \"Громкость\": a.ini \"8\", b.ini \"5\"\n"
                        u"channel 11: only in b.ini\n"_qs);
    // By default as stations would hold them: the same differences, after what no station keeps.
    const CliRun held = runCli({u"diff"_qs, at("a.ini"), at("b.ini")});
    EXPECT_EQ(held.exitCode, 1) << held.err.toStdString();
    EXPECT_EQ(held.out,
              u"Not compared (no station keeps a byte for them): Серийный номер, P_1, P_2, P_3, P_4\n"_qs +
                  diff.out);

    // A spreadsheet file holds no settings: only its channels are compared.
    ASSERT_EQ(runCli({u"export"_qs, at("b.ini"), u"-o"_qs, at("b.csv")}).exitCode, 0);
    const CliRun same = runCli({u"diff"_qs, at("b.ini"), at("b.csv")});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_EQ(same.out,
              u"Settings not compared: b.csv holds only a channel table\nThe plans are the same\n"_qs);
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not from LANG
    EXPECT_EQ(runCli({u"diff"_qs, at("b.ini"), at("b.csv")}, 60000, Russian).out,
              u"Установки не сравниваются: b.csv содержит только таблицу каналов\nПланы одинаковы\n"_qs);
#endif
    EXPECT_EQ(runCli({u"diff"_qs, at("a.ini"), at("missing.ini")}).exitCode, 2);

    // A plan no station could hold: the check's message, and the way to compare its text.
    b.replace(*yalmera::files::encodeWindows1251(u"Громкость=5"),
              *yalmera::files::encodeWindows1251(u"Громкость=17"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(b);
    file.close();
    const CliRun refused = runCli({u"diff"_qs, at("a.ini"), at("b.ini")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.isEmpty()) << refused.out.toStdString();
    EXPECT_EQ(refused.err, u"yalmera-cli diff: "_qs + at("b.ini") +
                               u": Уровень громкости изм. 1-16\n"
                               u"yalmera-cli diff: "_qs +
                               at("b.ini") +
                               u" cannot be compared as a station would hold it; 'yalmera-cli diff --text' "
                               u"compares the files' texts\n"_qs);
    EXPECT_EQ(runCli({u"diff"_qs, at("a.ini"), at("b.ini"), u"--text"_qs}).exitCode, 1);
}
