#include "program_language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace yalmera::files {

void useUserLanguage(QCoreApplication& app, QStringView program)
{
    // The translator lives as long as the application, which owns it. Without a file for the
    // user's languages the texts stay English.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale::system(), program.toString(), QStringLiteral("_"),
                         QStringLiteral(":/translations")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace yalmera::files
