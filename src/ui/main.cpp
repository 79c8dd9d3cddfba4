#include "image/app_state.h"
#include "plan_file_dialogs.h"
#include "program_windows.h"
#include "qt_translations.h"
#include "user_feedback.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    yalmera::ui::installRussianQtTranslations(application);

    yalmera::AppState state;
    yalmera::ui::MessageBoxFeedback feedback;
    yalmera::ui::StandardPlanFileDialogs dialogs;
    yalmera::ui::ProgramWindows windows(state, feedback, dialogs);
    QObject::connect(&windows.mainWindow(), &yalmera::ui::MainWindow::closed, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    windows.show();
    return application.exec();
}
