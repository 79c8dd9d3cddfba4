#include "ui/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace yalmera::ui {
namespace {

TEST(QtTranslations, StandardButtonsSpeakRussian)
{
    const QLocale systemLocale;
    std::unique_ptr<QTranslator> translator(installRussianQtTranslations(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    const QLocale::Language language = QLocale().language();
    translator.reset(); // leaves the application as other tests expect it
    QLocale::setDefault(systemLocale);

    // Qt's own folder counts whatever the program searches: where a distribution package
    // provides the texts there (Debian's qt6-translations-l10n), the program must find them.
    const QStringList folders = qtTranslationFolders() << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (std::none_of(folders.cbegin(), folders.cend(), [](const QString& folder) {
            return QDir(folder).exists(QStringLiteral("qtbase_ru.qm"));
        }))
        GTEST_SKIP() << "no qtbase_ru.qm on this machine (Debian package qt6-translations-l10n)";
    EXPECT_EQ(yes, QStringLiteral("&Да"));
    EXPECT_EQ(language, QLocale::Russian);
}

} // namespace
} // namespace yalmera::ui
