#pragma once

#include "files/program_language.h"

#include <QString>
#include <QStringList>

namespace yalmera::ui {

// What the desktop program's command line asks for. --help and --version are answered before the
// toolkit starts, so they need no display; what is left once Qt has taken its own options
// (-platform, -style, ...) is checked again, and anything unknown there is a usage error.
struct ProgramArguments
{
    bool help = false;
    bool version = false;
    QString planFile; // the plan file to read once the window is open; the first one given
    QString error;    // "unknown option '--x'", empty when the line is good
};

// The arguments without the program's name. The error is said in language.
ProgramArguments parseProgramArguments(const QStringList& arguments, files::ProgramLanguage language);

// "Usage: yalmera ...": the same form as the help of yalmera-cli and yalmera-station, and like
// theirs in the user's language (the windows speak Russian whatever it is).
QString programHelp(files::ProgramLanguage language);
// A usage error on stderr: the error and where to look.
QString usageErrorText(const QString& error, files::ProgramLanguage language);
QString programVersionLine();

} // namespace yalmera::ui
