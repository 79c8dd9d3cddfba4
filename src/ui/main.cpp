#include "exit_signals.h"
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

#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

// A line for the user on stdout or stderr. A desktop program on Windows has no console of its
// own: the text goes where its output is redirected as UTF-8, as on other systems, or to the
// console it was started from as UTF-16, which the console shows whatever its code page.
void print(FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && !GetConsoleMode(handle, &mode)) {
        const QByteArray bytes = text.toUtf8();
        DWORD written = 0;
        WriteFile(handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return;
    }
    AttachConsole(ATTACH_PARENT_PROCESS); // fails harmlessly when already attached
    handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return; // started without a console: nowhere to write
    DWORD written = 0;
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), static_cast<DWORD>(text.size()),
                  &written, nullptr);
    CloseHandle(handle);
#else
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
#endif
}

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
    // --help and --version are answered before the toolkit starts, so that they need no display.
    const yalmera::ui::ProgramArguments asked = yalmera::ui::parseProgramArguments(argumentsOf(argc, argv));
    if (asked.help || asked.version) {
        print(stdout, asked.help ? yalmera::ui::programHelp() : yalmera::ui::programVersionLine());
        return 0;
    }

    std::optional<yalmera::files::QuietStartMessages> quiet(std::in_place);
    QApplication application(argc, argv);
    quiet.reset();
    // What Qt left of the line once it took its own options.
    // Qt's own list: on Windows it keeps the file names of the wide command line whole.
    const yalmera::ui::ProgramArguments parsed =
        yalmera::ui::parseProgramArguments(QCoreApplication::arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        print(stderr, QStringLiteral("yalmera: %1\nTry 'yalmera --help'.\n").arg(parsed.error));
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
    yalmera::ui::StandardPlanFileDialogs dialogs;
    yalmera::ui::UserStores stores = yalmera::ui::UserStores::forUser();
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
