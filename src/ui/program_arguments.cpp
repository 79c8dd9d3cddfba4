#include "program_arguments.h"

#include "model/version.h"

namespace yalmera::ui {

namespace {

using files::ProgramLanguage;

QString inLanguage(ProgramLanguage language, const QString& english, const QString& russian)
{
    return language == ProgramLanguage::Russian ? russian : english;
}

} // namespace

ProgramArguments parseProgramArguments(const QStringList& arguments, ProgramLanguage language)
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
                               ? inLanguage(language, QStringLiteral("unknown option '%1'"),
                                            QStringLiteral("неизвестный параметр «%1»"))
                                     .arg(argument)
                               : inLanguage(language, QStringLiteral("unexpected argument '%1'"),
                                            QStringLiteral("лишний аргумент «%1»"))
                                     .arg(argument);
    }
    return parsed;
}

QString programHelp(ProgramLanguage language)
{
    if (language == ProgramLanguage::Russian)
        return QStringLiteral(
            "Использование: yalmera [ПАРАМЕТРЫ] [PLAN.ini]\n"
            "\n"
            "Настольная программа Yalmera Programmer: создаёт планы каналов станций \"Ялмера\",\n"
            "проверяет их, записывает в станцию или считывает станцию и составляет протокол\n"
            "программирования. Окна программы говорят по-русски; то же из командной строки делает\n"
            "yalmera-cli. Файл плана, названный в командной строке, читается, когда окно открыто, как его\n"
            "читает \"Чтение файла\"; файл, который не принят, называется в сообщении, и программа\n"
            "начинает без плана.\n"
            "\n"
            "Параметры:\n"
            "  -h, --help      этот текст\n"
            "  -v, --version   версия программы\n"
            "  а также собственные параметры Qt, например -platform NAME и -style NAME\n"
            "\n"
            "Окружение: YALMERA_JOURNAL называет файл журнала (по умолчанию journal.csv в папке данных\n"
            "приложения пользователя), YALMERA_TRACE - файл, в который записывается каждый байт каждого\n"
            "обмена.\n"
            "\n"
            "Коды завершения: 0 главное окно закрыто; 2 ошибка вызова; 129 или 143 завершена сигналом\n"
            "SIGHUP или SIGTERM. Сообщения в stderr.\n");
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

QString usageErrorText(const QString& error, ProgramLanguage language)
{
    return QStringLiteral("yalmera: %1\n").arg(error) +
           inLanguage(language, QStringLiteral("Try 'yalmera --help'.\n"),
                      QStringLiteral("Подробнее: 'yalmera --help'.\n"));
}

QString programVersionLine()
{
    return QStringLiteral("yalmera ") + QString::fromLatin1(ProgramVersion) + u'\n';
}

} // namespace yalmera::ui
