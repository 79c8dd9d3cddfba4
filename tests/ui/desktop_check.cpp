// yalmera-desktop-check PORT: the program's windows on the system's own display (under Wine and
// Xvfb in scripts/windows gui), used as a user uses them: the main window starts, a template of
// ten channels is made and checked, the station-link window writes it through PORT to a station,
// and the protocol window shows the protocol's preview. Passes when the write ends with "- -" and
// nothing to report, and the preview opens. With YALMERA_SCREENSHOTS naming a folder, the window
// of each step is saved there with its frame, at its size on the screen (scripts/screenshots makes
// the pictures of the documents this way, scripts/windows gui those of Windows).

#include "files/recent_plans.h"
#include "session/app_state.h"
#include "ui/channel_table_model.h"
#include "ui/plan_file_dialogs.h"
#include "ui/program_windows.h"
#include "ui/qt_translations.h"
#include "ui/user_feedback.h"

#include "link/write_exchange.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace yalmera;

namespace {

// Messages are kept, not shown: a box would wait for a click nobody makes.
class KeptFeedback : public ui::UserInterfaceFeedback
{
public:
    void show(const UserMessage& message, QWidget*) override
    {
        if (!message.isEmpty())
            texts << message.text;
    }
    void sound(Sound) override {}
    ui::Answer ask(const QString& question, bool, QWidget*) override
    {
        texts << question;
        return ui::Answer::No;
    }

    QStringList texts;
};

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

void screenshot(const QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("YALMERA_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(500); // the window system draws what the program painted, and the frame
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const QRect frame = window.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(path);
    say(QStringLiteral("screenshot %1 (%2 x %3)").arg(path).arg(frame.width()).arg(frame.height()));
}

template <typename T = QWidget> T* child(QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

int fail(const QString& text)
{
    say(QStringLiteral("FAILED: ") + text);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        say(QStringLiteral("usage: yalmera-desktop-check PORT"));
        return 2;
    }
    const QString port = QString::fromLocal8Bit(argv[1]);
    ui::installRussianQtTranslations(application);

    AppState state;
    KeptFeedback feedback;
    const QTemporaryDir settings; // the recent files, choices and recovery copies of the check's own
    ui::UserStores stores(settings.path(), settings.filePath(QStringLiteral("recovery")));
    ui::StandardPlanFileDialogs dialogs(stores.choices);
    ui::ProgramWindows windows(state, feedback, dialogs, stores);
    ui::MainWindow& main = windows.mainWindow();
    windows.show();
    if (!QTest::qWaitForWindowExposed(&main, 20000))
        return fail(QStringLiteral("the main window did not appear"));
    say(QStringLiteral("main window: %1").arg(main.windowTitle()));
    screenshot(main, QStringLiteral("main-window-empty"));

    child<QAction>(main, "N2")->trigger();
    child<QLineEdit>(main, "Edit1")->setText(QStringLiteral("10"));
    QTest::mouseClick(child<QPushButton>(main, "BitBtn1"), Qt::LeftButton);
    if (main.tableModel()->rowCount() != 10)
        return fail(QStringLiteral("the template has %1 channels").arg(main.tableModel()->rowCount()));
    say(QStringLiteral("template: 10 channels"));

    child<QAction>(main, "N19")->trigger();
    if (!state.dataChecked())
        return fail(QStringLiteral("the check refused the template: ") + feedback.texts.join(u' '));
    say(QStringLiteral("check: ") + feedback.texts.join(u' '));
    feedback.texts.clear();
    screenshot(main, QStringLiteral("main-window"));

    ui::StationLinkWindow& link = windows.stationLinkWindow();
    child<QAction>(main, "N23")->trigger();
    if (!QTest::qWaitForWindowExposed(&link, 20000))
        return fail(QStringLiteral("the station-link window did not appear"));
    QTest::mouseClick(child<QRadioButton>(link, "RadioButton3"), Qt::LeftButton);
    child<QComboBox>(link, "ComboBox1")->setEditText(port);
    QSignalSpy finished(link.writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(child<QPushButton>(link, "BitBtn2"), Qt::LeftButton);
    if (!finished.wait(60000))
        return fail(QStringLiteral("the write through %1 did not end").arg(port));
    QTest::qWait(100); // the last reports of the worker arrive
    const QString status = child<QLabel>(link, "StaticText1")->text();
    const int gauge = child<QProgressBar>(link, "Gauge1")->value();
    say(QStringLiteral("write through %1: status \"%2\", gauge %3%").arg(port, status).arg(gauge));
    screenshot(link, QStringLiteral("station-link-window"));
    if (status != u"- -" || gauge != 100 || !feedback.texts.isEmpty())
        return fail(QStringLiteral("the write did not complete: ") + feedback.texts.join(u' '));

    // Back to the main window, then "Создать протокол" and its preview, whose first page is the
    // picture of the protocol.
    QTest::mouseClick(child<QPushButton>(link, "BitBtn1"), Qt::LeftButton);
    ui::ProtocolWindow& protocol = windows.protocolWindow();
    child<QAction>(main, "N21")->trigger();
    if (!QTest::qWaitForWindowExposed(&protocol, 20000))
        return fail(QStringLiteral("the protocol window did not appear"));
    bool previewShown = false;
    // The preview is modal: it is looked at, saved and closed from inside its own event loop.
    QTimer::singleShot(1000, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (!preview)
            return;
        previewShown = true;
        // Both pages side by side: the title and settings, and the channel table.
        preview->resize(1000, 480);
        if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) {
            pages->setViewMode(QPrintPreviewWidget::AllPagesView);
            pages->fitInView();
        }
        QTest::qWait(1500); // laid out and painted at the new size
        screenshot(*preview, QStringLiteral("protocol"));
        preview->close();
    });
    QTest::mouseClick(child<QPushButton>(protocol, "BitBtn3"), Qt::LeftButton);
    if (!previewShown || !feedback.texts.isEmpty())
        return fail(QStringLiteral("the protocol's preview did not open: ") + feedback.texts.join(u' '));
    say(QStringLiteral("protocol preview shown"));
    say(QStringLiteral("PASSED"));
    return 0;
}
