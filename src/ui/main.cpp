#include "console_text.h"
#include "exit_signals.h"
#include "files/program_language.h"
#include "files/recent_plans.h"
#include "files/start_messages.h"
#include "model/version.h"
#include "plan_file_dialogs.h"
#include "program_arguments.h"
#include "program_windows.h"
#include "qt_translations.h"
#include "session/app_state.h"
#include "user_feedback.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <optional>

namespace {

using yalmera::ui::printToConsole;

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    // What the program says on the console is in the user's language; its windows are Russian.
    const yalmera::files::ProgramLanguage language = yalmera::files::userLanguage();
    // --help and --version are answered before the toolkit starts, so that they need no display.
    const yalmera::ui::ProgramArguments asked =
        yalmera::ui::parseProgramArguments(argumentsOf(argc, argv), language);
    if (asked.help || asked.version) {
        printToConsole(stdout,
                       asked.help ? yalmera::ui::programHelp(language) : yalmera::ui::programVersionLine());
        return 0;
    }

    std::optional<yalmera::files::QuietStartMessages> quiet(std::in_place);
    QApplication application(argc, argv);
    quiet.reset();
    // What Qt left of the line once it took its own options.
    // Qt's own list: on Windows it keeps the file names of the wide command line whole.
    const yalmera::ui::ProgramArguments parsed =
        yalmera::ui::parseProgramArguments(QCoreApplication::arguments().mid(1), language);
    if (!parsed.error.isEmpty()) {
        printToConsole(stderr, yalmera::ui::usageErrorText(parsed.error, language));
        return 2;
    }
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
    yalmera::ui::UserStores stores = yalmera::ui::UserStores::forUser();
    yalmera::ui::StandardPlanFileDialogs dialogs(stores.choices);
    yalmera::ui::ProgramWindows windows(state, feedback, dialogs, stores);
    QObject::connect(&windows.mainWindow(), &yalmera::ui::MainWindow::closed, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    // Ended by a signal: a running exchange stops at its next byte and is journalled first.
    const yalmera::ui::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &yalmera::ui::ExitSignals::received, &application, [&windows](int code) {
        windows.stationLinkWindow().endExchangeNow();
        windows.fleetWriteWindow().endRunNow();
        windows.mainWindow().keepPlanForRecovery();
        QCoreApplication::exit(code);
    });
    windows.show();
    // Once the window is up: the plan a killed program left, then the plan file named on the
    // command line (the desktop entry's and Windows' "Open with"; the first one only).
    const QString planFile = parsed.planFile;
    QTimer::singleShot(0, &windows.mainWindow(), [&windows, planFile] {
        windows.mainWindow().offerRecovery();
        if (!planFile.isEmpty())
            windows.mainWindow().readPlanFrom(planFile);
    });
    return application.exec();
}
