// The station-link window itself against a station that falls silent or vanishes: its status
// field, its three buttons, the messages it shows and the program's plan.

#ifdef YALMERA_HARDENING_WINDOWS

#include "hardening_fixture.h"

#include "link/link_texts.h"
#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "ui/station_link_window.h"
#include "ui/user_feedback.h"
#include "ui/user_stores.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace yalmera::hardening {
namespace {

// Lets the window's queued reports arrive until done() holds or the time is up.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class RecordingFeedback : public ui::UserInterfaceFeedback
{
public:
    void show(const UserMessage& message, QWidget*) override
    {
        if (!message.isEmpty())
            messages.push_back(message);
    }
    void sound(Sound) override {}
    ui::Answer ask(const QString&, bool, QWidget*) override { return ui::Answer::No; }

    std::vector<UserMessage> messages;
};

class StationWindowFault : public ::testing::Test
{
protected:
    void useStation(const QString& port)
    {
        window.show();
        child<QRadioButton>("RadioButton3")->setChecked(true);
        child<QComboBox>("ComboBox1")->setEditText(port);
        ASSERT_EQ(window.portChoice(), port);
    }

    template <typename T = QWidget> T* child(const char* name)
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QString status() { return child<QLabel>("StaticText1")->text(); }
    bool allButtonsEnabled()
    {
        return child("BitBtn1")->isEnabled() && child("BitBtn2")->isEnabled() &&
               child("BitBtn3")->isEnabled();
    }
    void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    AppState state = checkedTemplateState(3, QStringLiteral("150000"));
    RecordingFeedback feedback;
    QTemporaryDir config;
    ui::UserChoices choices{config.filePath(QStringLiteral("choices.ini"))};
    ui::StationLinkWindow window{state, feedback, choices};
};

TEST_F(StationWindowFault, StationSilentInTheMiddleOfTheWrite)
{
    const PlanSnapshot before = PlanSnapshot::of(state);
    StationProcess station({QStringLiteral("--silent-after=30")});
    ASSERT_FALSE(station.path().isEmpty());
    useStation(station.path());

    QSignalSpy finished(window.writeExchange(), &WriteExchange::finished);
    click("BitBtn2");
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(waitUntil([&] { return status() == QStringLiteral("AK"); })) << status().toStdString();
    EXPECT_TRUE(allButtonsEnabled());
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(test::lineOf(feedback.messages[0], 0), texts::link::NotOpen);
    EXPECT_EQ(PlanSnapshot::of(state), before);
}

TEST_F(StationWindowFault, StationSilentInTheMiddleOfTheReadLeavesThePlan)
{
    const AppState stationPlan = checkedTemplateState(5);
    QTemporaryDir dir;
    const QString imagePath = dir.filePath(QStringLiteral("station.bin"));
    ASSERT_TRUE(writeFileBytes(imagePath, stationPlan.image().writeStream(0, 0)));
    StationProcess station({QStringLiteral("--image"), imagePath, QStringLiteral("--silent-after=70")});
    ASSERT_FALSE(station.path().isEmpty());
    useStation(station.path());
    const PlanSnapshot before = PlanSnapshot::of(state);

    QSignalSpy finished(window.readExchange(), &ReadExchange::finished);
    QSignalSpy planRead(&window, &ui::StationLinkWindow::planRead);
    click("BitBtn3");
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(waitUntil([&] { return status() == QStringLiteral("AK"); })) << status().toStdString();
    EXPECT_TRUE(allButtonsEnabled());
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(planRead.isEmpty());
    EXPECT_EQ(PlanSnapshot::of(state), before);

    // The same window reads a whole station right after.
    StationProcess whole({QStringLiteral("--image"), imagePath});
    child<QComboBox>("ComboBox1")->setEditText(whole.path());
    click("BitBtn3");
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(waitUntil([&] { return status() == QStringLiteral("- -"); })) << status().toStdString();
    EXPECT_EQ(planRead.size(), 1);
    EXPECT_EQ(state.table().channelCount(), 5);
    EXPECT_TRUE(allButtonsEnabled());
}

TEST_F(StationWindowFault, StationKilledDuringTheReadLeavesThePlan)
{
    const AppState stationPlan = checkedTemplateState(10);
    QTemporaryDir dir;
    const QString imagePath = dir.filePath(QStringLiteral("station.bin"));
    ASSERT_TRUE(writeFileBytes(imagePath, stationPlan.image().writeStream(0, 0)));
    StationProcess station({QStringLiteral("--image"), imagePath, QStringLiteral("--pace")});
    ASSERT_FALSE(station.path().isEmpty());
    useStation(station.path());
    const PlanSnapshot before = PlanSnapshot::of(state);

    QSignalSpy gauge(window.readExchange(), &StationExchange::gaugeChanged);
    click("BitBtn3");
    ASSERT_TRUE(waitUntil([&] { return gauge.size() >= 3; })); // the header and a record are in
    station.kill();
    // The vanished line may end the read before a spy could start waiting for its end.
    ASSERT_TRUE(window.readExchange()->waitFinished(20000));
    EXPECT_TRUE(waitUntil([&] { return status() == QStringLiteral("AK"); })) << status().toStdString();
    EXPECT_TRUE(allButtonsEnabled());
    EXPECT_EQ(PlanSnapshot::of(state), before);
    // The failed line is said with the port and the byte (Wine's COM port reads it as silence).
    EXPECT_TRUE(test::runsUnderWine() ||
                feedback.messages.at(0).text.startsWith(u"Порт %1, прием байта "_qs.arg(station.path())));
}

} // namespace
} // namespace yalmera::hardening

#endif
