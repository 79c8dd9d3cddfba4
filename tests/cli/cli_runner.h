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
// LANG's value, optionally followed by more variables ("en_US.UTF-8 LANGUAGE=ru").
inline const QString English = QStringLiteral("C.UTF-8");
inline const QString Russian = QStringLiteral("ru_RU.UTF-8");
// Russian asked for by LANGUAGE alone, in an English locale.
inline const QString RussianByLanguage = QStringLiteral("en_US.UTF-8 LANGUAGE=ru:en");
inline QProcessEnvironment languageEnvironment(const QString& locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_NUMERIC"})
        env.remove(QString::fromLatin1(name));
    const QStringList variables = locale.split(u' ');
    env.insert(QStringLiteral("LANG"), variables.first());
    for (const QString& variable : variables.mid(1))
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
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
