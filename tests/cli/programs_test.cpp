#include "cli_runner.h"

#include "files/files_texts.h"
#include "files/recent_plans.h"
#include "link/link_texts.h"
#include "model/version.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtCore/qtestsupport_core.h>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

#ifndef Q_OS_WIN
#include <signal.h>
#endif

namespace {

QString output(QProcess& process)
{
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

TEST(Programs, EachPrintsItsNameAndVersion)
{
    const std::pair<const char*, const char*> programs[] = {
        {"yalmera-cli", YALMERA_CLI},
        {"yalmera-station", YALMERA_STATION},
        {"yalmera", YALMERA_GUI},
    };
    for (const auto& [name, path] : programs) {
        if (QString::fromLatin1(path).isEmpty())
            continue; // not built on this platform
        for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
            QProcess p;
            // No display: the desktop program answers before its toolkit starts.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.remove(QStringLiteral("DISPLAY"));
            p.setProcessEnvironment(env);
            p.start(QString::fromLatin1(path), {option});
            ASSERT_TRUE(p.waitForFinished(30000)) << name;
            EXPECT_EQ(p.exitCode(), 0) << name;
            EXPECT_EQ(output(p), QStringLiteral("%1 %2\n").arg(QLatin1String(name),
                                                               QLatin1String(yalmera::ProgramVersion)))
                << name << " " << option.toStdString();
        }
    }
}

TEST(Programs, HelpOfEveryProgramAndCommandHasOneFormatInTheUserLanguage)
{
    const std::tuple<const char*, QStringList, QString> helps[] = {
        {YALMERA_CLI, {QStringLiteral("--help")}, English},
        {YALMERA_CLI, {QStringLiteral("-h")}, English},
        {YALMERA_CLI, {QStringLiteral("write"), QStringLiteral("--help")}, English},
        {YALMERA_CLI, {QStringLiteral("ports"), QStringLiteral("-h")}, English},
        {YALMERA_CLI, {QStringLiteral("check"), QStringLiteral("--help")}, Russian},
        {YALMERA_CLI, {QStringLiteral("--help")}, Russian},
        {YALMERA_CLI, {QStringLiteral("write"), QStringLiteral("--help")}, Russian},
        {YALMERA_STATION, {QStringLiteral("--help")}, English},
        {YALMERA_STATION, {QStringLiteral("-h")}, Russian},
        {YALMERA_GUI, {QStringLiteral("--help")}, English},
        {YALMERA_GUI, {QStringLiteral("-h")}, English},
        {YALMERA_GUI, {QStringLiteral("--help")}, Russian},
    };
    for (const auto& [path, arguments, language] : helps) {
        if (QString::fromLatin1(path).isEmpty())
            continue;
        const bool russian = language == Russian;
#ifdef Q_OS_WIN
        if (russian)
            continue; // Windows takes the language from the user's settings, not from LANG
#endif
        QProcess p;
        // No display: the desktop program answers before its toolkit starts.
        QProcessEnvironment env = languageEnvironment(language);
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        p.setProcessEnvironment(env);
        p.start(QString::fromLatin1(path), arguments);
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString help = QString::fromUtf8(p.readAllStandardOutput());
        const QString name = QFileInfo(QString::fromLatin1(path)).completeBaseName(); // without ".exe"
        SCOPED_TRACE(help.toStdString());
        EXPECT_EQ(p.exitCode(), 0);
        // Usage, what it does, options, exit codes, in that order, all in the user's language.
        const QString format = russian
                                   ? QStringLiteral("^Использование: %1 .+\n\n\\S.+\n\nПараметры:\n(  -.+\n)+"
                                                    ".*\nКоды завершения: 0 .+\n$")
                                   : QStringLiteral("^Usage: %1 .+\n\n\\S.+\n\n(Commands:\n.+\n\n)?"
                                                    "Options:\n(  -.+\n)+.*\nExit codes: 0 .+\n$");
        EXPECT_TRUE(QRegularExpression(format.arg(QRegularExpression::escape(name)),
                                       QRegularExpression::DotMatchesEverythingOption)
                        .match(help)
                        .hasMatch());
        // The desktop program's plan file and its exit codes of SIGHUP and SIGTERM.
        EXPECT_TRUE(name != u"yalmera" || (help.contains(u"[PLAN.ini]") && help.contains(u"129 ") &&
                                           help.contains(u"143 ") && help.contains(u"SIGTERM")));
    }
}

// The order in which several stations' exit codes give the command's (the save-fault tests run
// it), as the station commands' help (either language: it is the program's), the manual pages and
// the guide state it: each says it, and says no other.
TEST(Programs, HelpAndDocumentsStateOneOrderOfTheWorstStationsExitCode)
{
    const QString order = QStringLiteral("3, 2, 1, 4, 0");
    QList<std::pair<QString, QString>> texts; // what, its text
    for (const char* command : {"write", "read", "verify"})
        texts.append(
            {QString::fromLatin1(command), runCli({QString::fromLatin1(command), u"--help"_qs}).out});
    for (const char* document : {"docs/yalmera-cli.1", "docs/ru/yalmera-cli.1", "docs/руководство.md"}) {
        QFile file(QStringLiteral(YALMERA_SOURCE_DIR "/") + QString::fromUtf8(document));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << document;
        texts.append({QString::fromUtf8(document), QString::fromUtf8(file.readAll())});
    }
    const QRegularExpression stated(QStringLiteral("(?:then|затем) ((?:\\d+, )+\\d+)"));
    for (const auto& [what, text] : texts) {
        SCOPED_TRACE(what.toStdString());
        int statements = 0;
        for (auto it = stated.globalMatch(text.simplified()); it.hasNext(); ++statements)
            EXPECT_EQ(it.next().captured(1), order);
        EXPECT_GT(statements, 0);
    }
}

// Late replies: the message and the journal's column in the guide and the manual pages, the
// station's --latency-timer in its help and pages, the adapter's timer in the help of ports.
TEST(Programs, LateRepliesAndTheLatencyTimerAreDescribedWhereTheUserLooks)
{
    const QStringList late{yalmera::texts::link::LatencyNotice.toString().section(u'%', 0, 0),
                           yalmera::texts::files::JournalCaptions.back().toString(), u"ftd2xx.dll"_qs};
    for (const char* document : {"руководство.md", "yalmera-cli.1", "ru/yalmera-cli.1", "yalmera-station.1",
                                 "ru/yalmera-station.1"}) {
        QFile file(QStringLiteral(YALMERA_SOURCE_DIR "/docs/") + QString::fromUtf8(document));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << document;
        const QString text = QString::fromUtf8(file.readAll()).simplified();
        const bool station = QString::fromUtf8(document).contains(u"station");
        for (const QString& wanted : station ? QStringList{u"\\-\\-latency\\-timer"_qs} : late)
            EXPECT_TRUE(text.contains(wanted)) << document << ": " << wanted.toStdString();
    }
    EXPECT_TRUE(runCli({u"ports"_qs, u"--help"_qs}).out.contains(u"latency timer"_qs));
    if (!QString::fromLatin1(YALMERA_STATION).isEmpty()) {
        EXPECT_TRUE(
            runProgram(QStringLiteral(YALMERA_STATION), {u"--help"_qs}).out.contains(u"--latency-timer"_qs));
    }
}

#ifndef Q_OS_WIN
TEST(Programs, NoWordOfAMissingRuntimeFolder)
{
    // A chroot or a service has no XDG_RUNTIME_DIR: the programs that start Qt's GUI part say
    // only what they have to say.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    const std::tuple<const char*, QStringList, int, QString> runs[] = {
        {YALMERA_CLI,
         {QStringLiteral("protocol"), QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini"),
          QStringLiteral("--serial"), QStringLiteral("К17М-12345"), QStringLiteral("-o"), pdf},
         0,
         {}},
        {YALMERA_GUI,
         {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--no-such-option")},
         2,
         QStringLiteral("yalmera: unknown option '--no-such-option'\nTry 'yalmera --help'.\n")},
    };
    for (const auto& [path, arguments, exitCode, err] : runs) {
        if (QString::fromLatin1(path).isEmpty())
            continue;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        p.setProcessEnvironment(env);
        p.start(QString::fromLatin1(path), arguments);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), exitCode) << path;
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), err) << path;
    }
}

// The desktop entry's "yalmera %f": the plan is read as the menu reads it, which remembers it
// among the recent files of the user's configuration (here the test's own).
TEST(Programs, DesktopProgramReadsThePlanFileItIsGiven)
{
    if (QString::fromLatin1(YALMERA_GUI).isEmpty())
        GTEST_SKIP() << "the desktop program is not built";
    QTemporaryDir dir;
    const QString plan = dir.filePath(QStringLiteral("план.ini"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini"), plan));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(QString::fromLatin1(YALMERA_GUI), {QStringLiteral("план.ini")});
    const yalmera::files::RecentPlans recent(dir.filePath(QStringLiteral("config/yalmera/recent.ini")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return recent.paths() == QStringList{plan}; }, 20000));
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 143) << p.readAllStandardError().toStdString();
}
#endif

TEST(Programs, PortsListsWhatTheSystemReportsAndSaysPseudoTerminalsAreNot)
{
    QProcess p;
    p.start(QString::fromLatin1(YALMERA_CLI), {QStringLiteral("ports")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines = output(p).split(u'\n', Qt::SkipEmptyParts);
    // A caption line, then one line per port, none of them a pseudo-terminal.
    if (!lines.isEmpty()) {
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("PORT"))) << lines[0].toStdString();
        for (const QString& line : lines)
            EXPECT_FALSE(line.contains(QStringLiteral("/dev/pts/"))) << line.toStdString();
    }
#ifdef Q_OS_WIN
    constexpr bool SaysPseudoTerminals = false; // Windows has none
#else
    constexpr bool SaysPseudoTerminals = true;
#endif
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError())
                  .contains(QStringLiteral("yalmera-cli ports: pseudo-terminals")),
              SaysPseudoTerminals);
}

#ifndef Q_OS_WIN
TEST(Programs, StationStartedInTheBackgroundOfAnInteractiveShellKeepsRunning)
{
    // The first step a newcomer takes, typed into bash on a terminal of its own: a background job
    // that reads the terminal is stopped by the shell.
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
    // The options are util-linux's: another script (BSD's) refuses them.
    const QStringList terminal{QStringLiteral("-qfec"), QStringLiteral("true"), QStringLiteral("/dev/null")};
    if (script.isEmpty() || bash.isEmpty() || QProcess::execute(script, terminal) != 0)
        GTEST_SKIP() << "needs bash and script (util-linux) to give the shell a terminal";
    if (QStringLiteral(YALMERA_STATION).isEmpty())
        GTEST_SKIP() << "no virtual station on this platform";

    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"),
               QFileInfo(QStringLiteral(YALMERA_STATION)).path() + u':' + env.value(QStringLiteral("PATH")));
    env.insert(QStringLiteral("TERM"), QStringLiteral("dumb"));
    shell.setProcessEnvironment(env);
    shell.start(script, {QStringLiteral("-qfec"), bash + QStringLiteral(" --norc --noprofile -i"),
                         QStringLiteral("/dev/null")});
    ASSERT_TRUE(shell.waitForStarted(5000));

    QString seen;
    // What the terminal shows until pattern turns up (or the shell ends or stays silent for 30 s).
    const auto waitFor = [&](const QRegularExpression& pattern) {
        QRegularExpressionMatch match;
        while (!(match = pattern.match(seen)).hasMatch() && shell.waitForReadyRead(30000))
            seen += output(shell);
        return match;
    };
    pid_t station = 0;
    struct Cleanup
    {
        pid_t& pid;
        ~Cleanup()
        {
            if (pid > 0) {
                ::kill(pid, SIGTERM);
                ::kill(pid, SIGCONT); // a stopped job takes the signal only once it runs
            }
        }
    } cleanup{station};

    shell.write("yalmera-station --pty &\necho PID-$!\n");
    const QRegularExpressionMatch pid = waitFor(QRegularExpression(QStringLiteral("PID-(\\d+)")));
    ASSERT_TRUE(pid.hasMatch()) << seen.toStdString();
    station = pid.captured(1).toInt();
    EXPECT_TRUE(waitFor(QRegularExpression(QStringLiteral("/dev/pts/\\d+"))).hasMatch())
        << seen.toStdString();

    // More typing, and a line typed ahead while a foreground command runs: a station watching the
    // terminal reads it and is stopped.
    seen.clear();
    shell.write("sleep 1; jobs\ntrue\necho JOBS-$((6*7))\n");
    ASSERT_TRUE(waitFor(QRegularExpression(QStringLiteral("JOBS-42"))).hasMatch()) << seen.toStdString();
    EXPECT_TRUE(seen.contains(QStringLiteral("Running"))) << seen.toStdString();
    EXPECT_FALSE(seen.contains(QStringLiteral("Stopped"))) << seen.toStdString();

    shell.write("kill %1; wait; exit\n");
    if (shell.waitForFinished(30000))
        station = 0;
    else
        shell.kill();
}
#endif
