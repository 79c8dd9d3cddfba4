#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs yalmera-cli as a user would and collects what it says.
struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The programs speak the user's language: the tests read English unless they ask for another.
inline const QString English = QStringLiteral("C.UTF-8");
inline const QString Russian = QStringLiteral("ru_RU.UTF-8");
inline QProcessEnvironment languageEnvironment(const QString& locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), locale);
    return env;
}

inline CliRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 60000,
                         const QString& locale = English, const QString& workingDirectory = {})
{
    QProcess p;
    p.setProcessEnvironment(languageEnvironment(locale));
    p.setWorkingDirectory(workingDirectory);
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, program + QStringLiteral(" did not finish")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline CliRun runCli(const QStringList& arguments, int timeoutMs = 60000, const QString& locale = English,
                     const QString& workingDirectory = {})
{
    return runProgram(QStringLiteral(YALMERA_CLI), arguments, timeoutMs, locale, workingDirectory);
}
