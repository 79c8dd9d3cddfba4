#include "program_arguments.h"

#include "model/version.h"

namespace yalmera::ui {

ProgramArguments parseProgramArguments(const QStringList& arguments)
{
    ProgramArguments parsed;
    for (const QString& argument : arguments) {
        if (argument == u"-h" || argument == u"--help")
            parsed.help = true;
        else if (argument == u"-v" || argument == u"--version")
            parsed.version = true;
        else if (!argument.startsWith(u'-') && parsed.planFile.isEmpty())
            parsed.planFile = argument;
        else if (parsed.error.isEmpty())
            parsed.error = argument.startsWith(u'-')
                               ? QStringLiteral("unknown option '%1'").arg(argument)
                               : QStringLiteral("unexpected argument '%1'").arg(argument);
    }
    return parsed;
}

QString programHelp()
{
    return QStringLiteral(
        "Usage: yalmera [OPTIONS] [PLAN.ini]\n"
        "\n"
        "The desktop program of Yalmera Programmer: makes channel plans of \"Ялмера\" stations, checks\n"
        "them, writes them into a station or reads a station back, and makes the programming protocol.\n"
        "Its windows speak Russian; yalmera-cli does the same from a shell. A plan file named on the\n"
        "command line is read once the window is open, as \"Чтение файла\" reads it; a file it\n"
        "refuses is named in a message and the program starts without a plan.\n"
        "\n"
        "Options:\n"
        "  -h, --help      this text\n"
        "  -v, --version   the program's version\n"
        "  and Qt's own options, such as -platform NAME and -style NAME\n"
        "\n"
        "Environment: YALMERA_JOURNAL names the journal file (default: journal.csv in the user's\n"
        "application-data folder), YALMERA_TRACE a file that records every byte of each exchange.\n"
        "\n"
        "Exit codes: 0 the main window was closed; 2 usage error; 129 or 143 ended by SIGHUP or\n"
        "SIGTERM. Messages on stderr.\n");
}

QString programVersionLine()
{
    return QStringLiteral("yalmera ") + QString::fromLatin1(ProgramVersion) + u'\n';
}

} // namespace yalmera::ui
