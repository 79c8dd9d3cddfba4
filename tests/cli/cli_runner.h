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

inline CliRun runCli(const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess p;
    p.start(QStringLiteral(YALMERA_CLI), arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("yalmera-cli did not finish")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
