#pragma once

#include "common/qt_printers.h"
#include "files/recent_plans.h"
#include "session/app_state.h"
#include "ui/plan_file_dialogs.h"
#include "ui/program_windows.h"
#include "ui/user_feedback.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <ostream>
#include <vector>

// Waits up to 10 s, running the event loop, for a condition that signals from a worker thread
// make true, then checks it with GoogleTest (QtTest's own QTRY_ macros would fail unnoticed here).
#define EXPECT_EVENTUALLY(condition)                                                                         \
    do {                                                                                                     \
        (void)QTest::qWaitFor([&] { return static_cast<bool>(condition); }, 10000);                          \
        EXPECT_TRUE(condition);                                                                              \
    } while (false)
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                               \
    do {                                                                                                     \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); }, 10000);                                \
        EXPECT_EQ(actual, expected);                                                                         \
    } while (false)

namespace yalmera::ui::testing {

// Keeps every message and sound instead of showing boxes, which would block the test.
class RecordingFeedback : public UserInterfaceFeedback
{
public:
    void show(const UserMessage& message, QWidget*) override
    {
        sound(message.sound);
        if (!message.isEmpty())
            messages.push_back(message);
    }
    void sound(Sound s) override
    {
        if (s != Sound::None)
            sounds.push_back(s);
    }
    // The answers queued by the test, in turn; "Нет" when none is left.
    Answer ask(const QString& question, bool, QWidget*) override
    {
        questions.append(question);
        if (answers.empty())
            return Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList texts() const
    {
        QStringList result;
        for (const UserMessage& message : messages)
            result.append(message.text);
        return result;
    }
    void clear()
    {
        messages.clear();
        sounds.clear();
        questions.clear();
    }

    std::vector<UserMessage> messages;
    std::vector<Sound> sounds;
    QStringList questions;
    std::deque<Answer> answers;
};

// Answers the file dialogs with the paths queued by the test, plan and spreadsheet files alike;
// nothing queued means "cancel".
class ScriptedPlanFileDialogs : public PlanFileDialogs
{
public:
    std::optional<QString> askSavePath(QWidget*) override { return next(savePaths, saveAsked); }
    std::optional<QString> askOpenPath(QWidget*) override { return next(openPaths, openAsked); }
    std::optional<QString> askCsvSavePath(QWidget*) override { return next(savePaths, saveAsked); }
    std::optional<QString> askCsvOpenPath(QWidget*) override { return next(openPaths, openAsked); }

    std::deque<std::optional<QString>> savePaths;
    std::deque<std::optional<QString>> openPaths;
    int saveAsked = 0;
    int openAsked = 0;

private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& queue, int& asked)
    {
        ++asked;
        if (queue.empty())
            return std::nullopt;
        const std::optional<QString> path = std::move(queue.front());
        queue.pop_front();
        return path;
    }
};

// The program's windows over a fresh state, as main() creates them; the recent files, the
// choices and the recovery copies are kept in folders of the test's own, never the user's.
struct ProgramFixture
{
    AppState state;
    RecordingFeedback feedback;
    ScriptedPlanFileDialogs dialogs;
    QTemporaryDir configFolder;
    QTemporaryDir recoveryFolder;
    UserStores stores{configFolder.path(), recoveryFolder.path()};
    ProgramWindows windows{state, feedback, dialogs, stores};

    MainWindow& main() { return windows.mainWindow(); }

    template <typename T = QWidget> T* mainChild(const char* name)
    {
        return main().findChild<T*>(QString::fromLatin1(name));
    }
};

// Saves a picture of the window into the build folder so that it can be looked at; withPopups:
// with the tool tips and lists open over it, drawn where they stand.
inline void saveScreenshot(QWidget& window, const QString& name, bool withPopups = false)
{
    const QString folder = QStringLiteral(YALMERA_BINARY_DIR "/ui-screenshots");
    QDir().mkpath(folder);
    QPixmap picture = window.grab();
    if (withPopups) {
        QPainter painter(&picture);
        for (QWidget* popup : QApplication::topLevelWidgets()) {
            if (popup != &window && popup->isVisible() && popup->windowType() == Qt::ToolTip)
                popup->render(&painter, window.mapFromGlobal(popup->mapToGlobal(QPoint())));
        }
    }
    picture.save(folder + u'/' + name + QStringLiteral(".png"));
}

} // namespace yalmera::ui::testing
