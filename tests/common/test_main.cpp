#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef YALMERA_TEST_WIDGETS
#include <QApplication>
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", YALMERA_TEST_PLATFORM);
    // The exchange journal, its backups and the recovery copies of unsaved plans go to a folder of
    // the run's own, for the tests and for the programs they start alike, never into the user's
    // application data; so do the desktop program's recent files and choices.
    const QTemporaryDir userData;
    qunsetenv("YALMERA_JOURNAL");
#ifdef Q_OS_WIN
    // Windows gives no environment variable for the application-data folder, so the programs the
    // tests start are pointed at the run's folder by name.
    QStandardPaths::setTestModeEnabled(true);
    qputenv("YALMERA_JOURNAL", QFile::encodeName(userData.filePath(QStringLiteral("yalmera/journal.csv"))));
#else
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userData.filePath(QStringLiteral("config"))));
#endif
    qunsetenv("YALMERA_TRACE");
    testing::InitGoogleTest(&argc, argv);
#ifdef YALMERA_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
