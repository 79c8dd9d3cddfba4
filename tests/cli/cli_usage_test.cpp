#include "cli_runner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(CliUsage, HelpListsEveryCommandAndUnknownCommandsAreUsageErrors)
{
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command :
         {"template", "check", "image", "write", "read", "verify", "diff", "protocol", "export", "import"})
        EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;

    EXPECT_EQ(runCli({}).exitCode, 2);
    const CliRun unknown = runCli({QStringLiteral("frobnicate")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("frobnicate")));
}

// Every command that reads a file and writes one: an output that is one of its inputs (or another
// output) under any name is refused before anything is written, and every file stays as it was.
TEST(CliUsage, NoCommandWritesIntoAFileItReadsUnderAnyName)
{
    QTemporaryDir dir;
    const auto at = [&](const QString& name) { return dir.filePath(name); };
    ASSERT_EQ(runCli({u"template"_qs, u"-o"_qs, at(u"plan.ini"_qs)}).exitCode, 0);
    ASSERT_EQ(runCli({u"export"_qs, at(u"plan.ini"_qs), u"-o"_qs, at(u"plan.csv"_qs)}).exitCode, 0);
    ASSERT_TRUE(QFile::copy(at(u"plan.ini"_qs), at(u"plan.pdf"_qs))); // a plan the protocol would replace
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"sub"_qs));
    const QString port = u"/dev/yalmera-no-such-port"_qs;
    const QString plan = at(u"plan.ini"_qs);
    const QString csv = at(u"plan.csv"_qs);
    // Each row: the arguments, and the two names of one file the refusal gives.
    QList<std::tuple<QStringList, QString, QString>> rows = {
        {{u"image"_qs, plan, u"-o"_qs, plan}, plan, plan},
        {{u"image"_qs, plan, u"-o"_qs, at(u"sub/../plan.ini"_qs)}, plan, at(u"sub/../plan.ini"_qs)},
        {{u"export"_qs, plan, u"--output"_qs, QDir::current().relativeFilePath(plan)},
         plan,
         QDir::current().relativeFilePath(plan)},
        {{u"protocol"_qs, at(u"plan.pdf"_qs), u"--serial"_qs, u"1"_qs, u"-o"_qs, at(u"plan.pdf"_qs)},
         at(u"plan.pdf"_qs),
         at(u"plan.pdf"_qs)},
        {{u"import"_qs, csv, u"--settings-from"_qs, plan, u"-o"_qs, csv}, csv, csv},
        {{u"import"_qs, csv, u"--settings-from"_qs, plan, u"-o"_qs, plan}, plan, plan},
        {{u"write"_qs, plan, u"--port"_qs, port, u"--journal"_qs, plan}, plan, plan},
        {{u"verify"_qs, plan, u"--port"_qs, port, u"--trace"_qs, plan}, plan, plan},
        {{u"read"_qs, u"--port"_qs, port, u"-o"_qs, at(u"new.ini"_qs), u"--trace"_qs, at(u"new.ini"_qs)},
         at(u"new.ini"_qs),
         at(u"new.ini"_qs)},
    };
#ifndef Q_OS_WIN
    ASSERT_TRUE(QFile::link(plan, at(u"link.ini"_qs)));
    ASSERT_TRUE(QFile::link(plan, at(u"link.docx"_qs)));
    ASSERT_EQ(::link(QFile::encodeName(plan).constData(), QFile::encodeName(at(u"hard.ini"_qs)).constData()),
              0);
    ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(at(u"hard.csv"_qs)).constData()),
              0);
    const QString link = at(u"link.ini"_qs);
    const QString hard = at(u"hard.ini"_qs);
    rows += {
        {{u"image"_qs, plan, u"-o"_qs, link}, plan, link},
        {{u"export"_qs, plan, u"-o"_qs, hard}, plan, hard},
        {{u"protocol"_qs, plan, u"--serial"_qs, u"1"_qs, u"-o"_qs, at(u"link.docx"_qs)},
         plan,
         at(u"link.docx"_qs)},
        {{u"import"_qs, csv, u"--settings-from"_qs, link, u"-o"_qs, plan}, link, plan},
        {{u"import"_qs, csv, u"--settings-from"_qs, plan, u"-o"_qs, at(u"hard.csv"_qs)},
         csv,
         at(u"hard.csv"_qs)},
        {{u"write"_qs, plan, u"--port"_qs, port, u"--trace"_qs, hard}, plan, hard},
        {{u"verify"_qs, link, u"--port"_qs, port, u"--journal"_qs, hard}, link, hard},
        {{u"read"_qs, u"--port"_qs, port, u"-o"_qs, hard, u"--trace"_qs, link}, hard, link},
    };
#endif
    const auto contents = [&] {
        QList<QByteArray> all;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files, QDir::Name))
            all << name.toUtf8() << fileBytes(at(name));
        return all;
    };
    const QList<QByteArray> before = contents();
    for (const auto& [arguments, first, second] : rows) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("(%1) and ").arg(first)) &&
                    run.err.contains(QStringLiteral("(%1) name the same file").arg(second)))
            << run.err.toStdString();
        EXPECT_EQ(contents(), before);
    }
}
