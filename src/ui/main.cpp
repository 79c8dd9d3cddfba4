#include "exit_signals.h"
#include "image/app_state.h"
#include "model/version.h"
#include "plan_file_dialogs.h"
#include "program_windows.h"
#include "qt_translations.h"
#include "user_feedback.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

// ASCII only: the console of a Windows program may hold any code page.
const char HelpText[] =
    "Usage: yalmera [PLAN.ini]\n"
    "\n"
    "The desktop program of Yalmera Programmer: channel plans for Yalmera radio stations, their\n"
    "check, the write into a station and the read back. A plan file named on the command line is\n"
    "read once the window is open, as the menu command that reads a plan file reads it; a file it\n"
    "refuses is named in a message and the program starts without a plan.\n"
    "\n"
    "Options:\n"
    "  --help      this text\n"
    "  --version   the program's version\n"
    "\n"
    "Exit codes: 0 the window was closed; 129 or 143 ended by SIGHUP or SIGTERM.\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before the toolkit starts, so that it needs no display.
    const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
    if (argc == 2 && (help || std::strcmp(argv[1], "--version") == 0)) {
#ifdef Q_OS_WIN
        // A desktop program has no console of its own: the line goes to the one it was started
        // from, or where its output is redirected, as the same bytes as on other systems.
        if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS) &&
            !std::freopen("CONOUT$", "w", stdout))
            return 1;
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        if (help)
            std::fputs(HelpText, stdout);
        else
            std::printf("yalmera %s\n", yalmera::ProgramVersion);
        return 0;
    }

    QApplication application(argc, argv);
    // Names the user's application-data folder (the exchange journal), the same as yalmera-cli's.
    QApplication::setApplicationName(QStringLiteral("yalmera"));
    application.setQuitOnLastWindowClosed(false);
    yalmera::ui::installRussianQtTranslations(application);
    // Qt draws the SVG only with its svg plugin (a package of its own on Debian): the PNG
    // rendered from it stands in where the plugin is missing.
    QIcon icon(QStringLiteral(":/icons/yalmera.svg"));
    icon.addFile(QStringLiteral(":/icons/yalmera-256.png"));
    QApplication::setWindowIcon(icon);

    yalmera::AppState state;
    yalmera::ui::MessageBoxFeedback feedback;
    yalmera::ui::StandardPlanFileDialogs dialogs;
    yalmera::ui::UserStores stores = yalmera::ui::UserStores::forUser();
    yalmera::ui::ProgramWindows windows(state, feedback, dialogs, stores);
    QObject::connect(&windows.mainWindow(), &yalmera::ui::MainWindow::closed, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    // Ended by a signal: a running exchange stops at its next byte and is journalled first.
    const yalmera::ui::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &yalmera::ui::ExitSignals::received, &application, [&windows](int code) {
        windows.stationLinkWindow().endExchangeNow();
        windows.mainWindow().keepPlanForRecovery();
        QCoreApplication::exit(code);
    });
    windows.show();
    // Once the window is up: the plan a killed program left, then the plan file named on the
    // command line (the desktop entry's and Windows' "Open with"; the first one only).
    const QStringList arguments = QCoreApplication::arguments();
    const QString planFile = arguments.size() > 1 ? arguments.at(1) : QString();
    QTimer::singleShot(0, &windows.mainWindow(), [&windows, planFile] {
        windows.mainWindow().offerRecovery();
        if (!planFile.isEmpty())
            windows.mainWindow().readPlanFrom(planFile);
    });
    return application.exec();
}
