#include "qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace yalmera::ui {

QStringList qtTranslationFolders()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return {
        programFolder.filePath(QStringLiteral("translations")),
        QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/yalmera/translations"))),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
}

QTranslator* installRussianQtTranslations(QCoreApplication& application)
{
    // Dates, sizes and numbers in the file dialogs follow the Russian conventions too.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto* translator = new QTranslator(&application);
    for (const QString& folder : qtTranslationFolders()) {
        // The exact file only: QTranslator would otherwise also take a language-less qtbase.qm.
        const QString file = QDir(folder).filePath(QStringLiteral("qtbase_ru.qm"));
        if (QFileInfo::exists(file) && translator->load(file)) {
            QCoreApplication::installTranslator(translator);
            return translator;
        }
    }
    delete translator;
    return nullptr;
}

} // namespace yalmera::ui
