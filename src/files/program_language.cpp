#include "program_language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcessEnvironment>
#include <QTranslator>

namespace yalmera::files {

namespace {

// "ru" of "ru_RU.UTF-8@euro" or "ru-RU".
QStringView languagePart(QStringView name)
{
    qsizetype end = 0;
    while (end < name.size() && !QStringView(u"_-.@").contains(name[end]))
        ++end;
    return name.left(end);
}

bool isCLocale(QStringView name)
{
    return name.isEmpty() || name == u"POSIX" || languagePart(name) == u"C";
}

} // namespace

ProgramLanguage firstKnownLanguage(const QStringList& languages)
{
    for (const QString& language : languages) {
        if (language.isEmpty())
            continue;
        // In LANGUAGE, "C" ends the search with the texts as written.
        if (isCLocale(language) || languagePart(language) == u"en")
            return ProgramLanguage::English;
        if (languagePart(language) == u"ru")
            return ProgramLanguage::Russian;
    }
    return ProgramLanguage::English;
}

ProgramLanguage messageLanguage(const QProcessEnvironment& environment)
{
    QString locale;
    for (const QString& variable :
         {QStringLiteral("LC_ALL"), QStringLiteral("LC_MESSAGES"), QStringLiteral("LANG")}) {
        locale = environment.value(variable);
        if (!locale.isEmpty())
            break;
    }
    if (isCLocale(locale))
        return ProgramLanguage::English;
    // When LANGUAGE names no language the programs speak, the locale's decides.
    return firstKnownLanguage(environment.value(QStringLiteral("LANGUAGE")).split(u':') << locale);
}

ProgramLanguage userLanguage()
{
#ifdef Q_OS_WIN
    return firstKnownLanguage(QLocale::system().uiLanguages());
#else
    return messageLanguage(QProcessEnvironment::systemEnvironment());
#endif
}

void useUserLanguage(QCoreApplication& app, QStringView program)
{
    const bool russian = userLanguage() == ProgramLanguage::Russian;
    // The texts' numbers ("%L1") in the texts' language.
    QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    // The translator lives as long as the application, which owns it. English takes one too: the
    // plural forms of the English texts, and the libraries' Russian words for system errors.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral(":/translations/%1_%2")
                             .arg(program, russian ? QStringLiteral("ru") : QStringLiteral("en"))))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace yalmera::files
