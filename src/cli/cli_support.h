#pragma once

#include <QString>
#include <QStringList>

namespace yalmera::cli {

// Exit codes of yalmera-cli.
enum ExitCode : int {
    ExitSuccess = 0,
    ExitRefused = 1, // the system's own rules refused the input
    ExitUsage = 2,   // usage or file error
    ExitLink = 3,    // the station link failed
};

// Lines on the standard streams, UTF-8.
void printOut(const QString& text);
void printErr(const QString& text);

// A command gets its arguments without the program and command names.
using CommandFunction = int (*)(const QStringList& arguments);

int runTemplate(const QStringList& arguments);
int runCheck(const QStringList& arguments);
int runImage(const QStringList& arguments);
int runWrite(const QStringList& arguments);
int runRead(const QStringList& arguments);
int runProtocol(const QStringList& arguments);

} // namespace yalmera::cli
