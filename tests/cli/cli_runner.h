#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs yalmera-cli as a user would and collects what it says.
struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, program + QStringLiteral(" did not finish")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline CliRun runCli(const QStringList& arguments, int timeoutMs = 60000)
{
    return runProgram(QStringLiteral(YALMERA_CLI), arguments, timeoutMs);
}
