#include "ui_test_support.h"

#include "ui/channel_grid.h"
#include "ui/channel_table_model.h"
#include "ui/plan_markers.h"
#include "ui/unsaved_plan.h"

#include "common/held_journal_lock.h"
#include "common/station_peers.h"
#include "files/delimited_text.h"
#include "files/journal_reader.h"
#include "files/plan_file.h"
#include "link/read_exchange.h"
#include "link/write_exchange.h"
#include "ui/fleet_write_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <list>

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

using VirtualStationProcess = test::StationProcess;

class StationLinkWindowTest : public ::testing::Test, public ProgramFixture
{
protected:
    void SetUp() override
    {
        windows.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
        link = &windows.stationLinkWindow();
    }

    template <typename T = QWidget> T* linkChild(const char* name)
    {
        return link->findChild<T*>(QString::fromLatin1(name));
    }

    void makeCheckedPlan(const QString& count)
    {
        main().findChild<QAction*>(QStringLiteral("N2"))->trigger();
        mainChild<QLineEdit>("Edit1")->setText(count);
        QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
        main().findChild<QAction*>(QStringLiteral("N19"))->trigger();
        ASSERT_TRUE(state.dataChecked());
        feedback.clear();
    }

    void openOnPort(const QString& port)
    {
        main().findChild<QAction*>(QStringLiteral("N23"))->trigger();
        ASSERT_TRUE(link->isVisible());
        QTest::mouseClick(linkChild<QRadioButton>("RadioButton3"), Qt::LeftButton);
        linkChild<QComboBox>("ComboBox1")->setEditText(port);
        ASSERT_EQ(link->portChoice(), port);
    }

    bool buttonsEnabled()
    {
        return linkChild("BitBtn1")->isEnabled() && linkChild("BitBtn2")->isEnabled() &&
               linkChild("BitBtn3")->isEnabled();
    }

    static QList<int> ints(const QSignalSpy& spy)
    {
        QList<int> values;
        for (const QList<QVariant>& call : spy)
            values.append(call.at(0).toInt());
        return values;
    }
    static QStringList strings(const QSignalSpy& spy)
    {
        QStringList values;
        for (const QList<QVariant>& call : spy)
            values.append(call.at(0).toString());
        return values;
    }

    // The status texts the window shows as the exchange goes through its phases, each once.
    const QStringList& shownStatuses(StationExchange* exchange)
    {
        m_shown.emplace_back();
        QStringList& shown = m_shown.back();
        // Connected after the window's own slot, so the label already shows the phase.
        QObject::connect(exchange, &StationExchange::phaseChanged, link, [this, &shown] {
            const QString text = linkChild<QLabel>("StaticText1")->text();
            if (shown.isEmpty() || shown.last() != text)
                shown << text;
        });
        return shown;
    }

    template <typename T = QWidget> T* fleetChild(const QString& name)
    {
        return windows.fleetWriteWindow().findChild<T*>(name);
    }
    // Opens "Запись в несколько станций" with the ports typed in, each checked as it is added.
    FleetWriteWindow& openFleetOn(const QStringList& ports, const QString& journalPath)
    {
        FleetWriteWindow& fleet = windows.fleetWriteWindow();
        fleet.setJournalPath(journalPath);
        mainChild<QAction>("FleetWriteItem")->trigger();
        EXPECT_TRUE(fleet.isVisible());
        for (const QString& port : ports) {
            fleetChild<QLineEdit>(QStringLiteral("OtherPortName"))->setText(port);
            QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("AddPortButton")), Qt::LeftButton);
        }
        return fleet;
    }
    static QList<QStringList> journalLines(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? parseDelimited(QString::fromUtf8(file.readAll()), u';')
                                              : QList<QStringList>();
    }

    StationLinkWindow* link = nullptr;
    std::list<QStringList> m_shown;
};

TEST_F(StationLinkWindowTest, OpensWithItsComponents)
{
    main().findChild<QAction*>(QStringLiteral("N23"))->trigger();
    EXPECT_EQ(link->windowTitle(), QStringLiteral("Прием и передача информации в станцию"));
    EXPECT_FALSE(link->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(link->minimumSize(), link->maximumSize());
    EXPECT_EQ(linkChild<QRadioButton>("RadioButton1")->text(), QStringLiteral(" COM1"));
    EXPECT_EQ(linkChild<QRadioButton>("RadioButton1")->toolTip(), QStringLiteral("Верхний разъем"));
    EXPECT_EQ(linkChild<QRadioButton>("RadioButton2")->text(), QStringLiteral(" COM2"));
    EXPECT_EQ(linkChild<QRadioButton>("RadioButton2")->toolTip(), QStringLiteral("Нижний разъем"));
    EXPECT_TRUE(linkChild<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(link->portChoice(), QStringLiteral("COM2"));
    EXPECT_EQ(linkChild<QPushButton>("BitBtn1")->text(), QStringLiteral("Выход"));
    EXPECT_EQ(linkChild<QPushButton>("BitBtn2")->text(), QStringLiteral("Запись данных "));
    EXPECT_EQ(linkChild<QPushButton>("BitBtn3")->text(), QStringLiteral("Чтение данных "));
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("- -"));
    auto* gauge = linkChild<QProgressBar>("Gauge1");
    EXPECT_EQ(gauge->orientation(), Qt::Vertical);
    EXPECT_EQ(gauge->minimum(), 0);
    EXPECT_EQ(gauge->maximum(), 100);
    EXPECT_EQ(gauge->value(), 0);

    QTest::mouseClick(linkChild<QRadioButton>("RadioButton1"), Qt::LeftButton);
    EXPECT_EQ(link->portChoice(), QStringLiteral("COM1"));
    // A typed device path chooses the other port.
    linkChild<QComboBox>("ComboBox1")->setEditText(QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(link->portChoice(), QStringLiteral("/dev/ttyUSB0"));
    testing::saveScreenshot(*link, QStringLiteral("station-link-window"));

    // The port chosen comes back at the next start, with the typed one in its field.
    std::list<AppState> nextStates;
    for (const char* choice : {"RadioButton3", "RadioButton1"}) {
        main().findChild<QAction*>(QStringLiteral("N23"))->trigger();
        QTest::mouseClick(linkChild<QRadioButton>(choice), Qt::LeftButton);
        const QString chosen = link->portChoice();
        QTest::mouseClick(linkChild<QPushButton>("BitBtn1"), Qt::LeftButton);
        ProgramWindows next(nextStates.emplace_back(), feedback, dialogs, stores);
        EXPECT_EQ(next.stationLinkWindow().portChoice(), chosen);
        EXPECT_EQ(next.stationLinkWindow().findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(),
                  QStringLiteral("/dev/ttyUSB0"));
    }
}

TEST_F(StationLinkWindowTest, WriteIsRefusedWithoutACheck)
{
    main().findChild<QAction*>(QStringLiteral("N23"))->trigger();
    QSignalSpy statuses(link->writeExchange(), &StationExchange::phaseChanged);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(
        feedback.texts(),
        QStringList{QStringLiteral("Введенные данные не будут переданы, так как они не проверены.")});
    EXPECT_TRUE(statuses.isEmpty());
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("- -"));
    EXPECT_TRUE(buttonsEnabled());

    // The missing check is told first, even when the other port is chosen without a name.
    feedback.clear();
    QTest::mouseClick(linkChild<QRadioButton>("RadioButton3"), Qt::LeftButton);
    linkChild<QComboBox>("ComboBox1")->setEditText(QString());
    ASSERT_TRUE(link->portChoice().isEmpty());
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(
        feedback.texts(),
        QStringList{QStringLiteral("Введенные данные не будут переданы, так как они не проверены.")});

    // Without a plan there is nothing to compare, and no port is asked for.
    feedback.clear();
    QTest::mouseClick(linkChild<QPushButton>("BitBtn4"), Qt::LeftButton);
    EXPECT_EQ(feedback.texts(),
              QStringList{u"Нет плана для сравнения: создайте шаблон, прочитайте файл или станцию."_qs});
    EXPECT_FALSE(link->exchangeRunning());
}

TEST_F(StationLinkWindowTest, PortThatCannotBeOpenedIsShownAndTheWindowIsUsableAgain)
{
    makeCheckedPlan(QStringLiteral("1"));
    openOnPort(QStringLiteral("/dev/no-such-yalmera-port"));
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].kind, MessageKind::Failure);
    // The link's code, and below it in Russian the port, the step and what to do.
    EXPECT_TRUE(feedback.messages[0].text.startsWith(
        u"ie_BadId - Specified comport doesn't exist\nПорт /dev/no-such-yalmera-port, открытие: "_qs));
    EXPECT_EVENTUALLY(!link->exchangeRunning());
    EXPECT_EVENTUALLY_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("- -"));
    EXPECT_TRUE(buttonsEnabled());

    // The other port chosen without a name starts nothing.
    feedback.clear();
    linkChild<QComboBox>("ComboBox1")->setEditText(QString());
    QTest::mouseClick(linkChild<QPushButton>("BitBtn3"), Qt::LeftButton);
    EXPECT_EQ(
        feedback.texts(),
        QStringList{QStringLiteral("Не указан порт: выберите его из списка или введите путь к устройству.")});
    EXPECT_FALSE(link->exchangeRunning());
}

TEST_F(StationLinkWindowTest, PortChoiceTakesNoInputWhileAnExchangeRuns)
{
    struct Case
    {
        const char* name;
        const char* button;
        QStringList stationArguments;
        bool portExists = true;
    };
    const Case cases[] = {
        {"Written", "BitBtn2", {}},
        {"StationSilent", "BitBtn2", {QStringLiteral("--silent-after"), QStringLiteral("0")}},
        {"PortMissing", "BitBtn2", {}, false},
        {"ReadBack", "BitBtn3", {}},
        {"Compared", "BitBtn4", {}},
    };
    const auto enabledPortChoices = [this] {
        return linkChild("RadioButton1")->isEnabled() + linkChild("RadioButton2")->isEnabled() +
               linkChild("RadioButton3")->isEnabled() + linkChild("ComboBox1")->isEnabled();
    };
    makeCheckedPlan(QStringLiteral("1"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualStationProcess station(c.stationArguments);
        ASSERT_FALSE(station.path().isEmpty());
        const QString port = c.portExists ? station.path() : QStringLiteral("/dev/no-such-yalmera-port");
        openOnPort(port);
        QSignalSpy runningChanges(link, &StationLinkWindow::exchangeRunningChanged);
        QTest::mouseClick(linkChild<QPushButton>(c.button), Qt::LeftButton);
        EXPECT_EQ(enabledPortChoices(), 0);
        QTest::mouseClick(linkChild<QRadioButton>("RadioButton1"), Qt::LeftButton);
        EXPECT_EQ(link->portChoice(), port);
        EXPECT_EVENTUALLY_EQ(runningChanges.count(), 2); // started, ended
        EXPECT_EQ(enabledPortChoices(), 4);
        feedback.clear();
    }
}

TEST_F(StationLinkWindowTest, WritesAndReadsBackThroughTheVirtualStation)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    makeCheckedPlan(QStringLiteral("3"));
    main().findChild<QAction*>(QStringLiteral("N15"))->trigger(); // module 3 travels with the plan
    openOnPort(station.path());

    QSignalSpy gauge(link->writeExchange(), &StationExchange::gaugeChanged);
    const QStringList& statuses = shownStatuses(link->writeExchange());
    QSignalSpy finished(link->writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    EXPECT_EQ(ints(gauge), (QList<int>{0, 33, 66, 100, 0, 33, 67, 100, 100}));
    EXPECT_EQ(statuses, (QStringList{QStringLiteral("ПР"), QStringLiteral("- -")}));
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("- -"));
    EXPECT_EQ(linkChild<QProgressBar>("Gauge1")->value(), 100);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(state.dataChecked()); // the same image can go to the next station

    // Another plan of the other band in the window; the read brings the station's back, decoded
    // with the station's own band, which it selects.
    main().findChild<QAction*>(QStringLiteral("N12"))->trigger();
    main().findChild<QAction*>(QStringLiteral("N3062"))->trigger();
    main().findChild<QAction*>(QStringLiteral("N2"))->trigger();
    mainChild<QLineEdit>("Edit1")->setText(QStringLiteral("7"));
    QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(main().tableModel()->rowCount(), 7);

    QSignalSpy readGauge(link->readExchange(), &StationExchange::gaugeChanged);
    const QStringList& readStatuses = shownStatuses(link->readExchange());
    QSignalSpy readFinished(link->readExchange(), &ReadExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn3"), Qt::LeftButton);
    ASSERT_TRUE(readFinished.wait(20000));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    EXPECT_EQ(ints(readGauge), (QList<int>{100, 67, 34, 1, 0}));
    EXPECT_EQ(readStatuses, (QStringList{QStringLiteral("ПП"), QStringLiteral("- -")}));
    EXPECT_TRUE(buttonsEnabled());

    ChannelTableModel* model = main().tableModel();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(2, columnIndex(Column::RxFrequency)).data().toString(),
              QStringLiteral("142000,00"));
    EXPECT_EQ(model->index(2, columnIndex(Column::Scan)).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Checked);
    EXPECT_EQ(moduleCode(state.moduleType()), 3);
    EXPECT_TRUE(mainChild<QAction>("N15")->isChecked());
    EXPECT_EQ(state.stationType(), StationType::forBand(Band::Mhz144to174));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-17"));
    EXPECT_TRUE(mainChild<QAction>("N3063")->isChecked());
    EXPECT_EQ(mainChild<QLineEdit>("Edit2")->text(), QStringLiteral("140000"));
    const QString settings = mainChild<QPlainTextEdit>("Memo1")->toPlainText();
    EXPECT_TRUE(
        settings.startsWith(QStringLiteral("[Общие установки]\nСерийный номер=012345\nId_номер=0001\n")));
    EXPECT_TRUE(settings.contains(QStringLiteral("Тон8=1990")));
    testing::saveScreenshot(*link, QStringLiteral("station-link-window-after-read"));

    // Leaving shows the plan read from the station.
    QTest::mouseClick(linkChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(link->isVisible());
    EXPECT_TRUE(mainChild("StringGrid1")->isVisible());
    EXPECT_TRUE(mainChild("Memo1")->isVisible());
    testing::saveScreenshot(main(), QStringLiteral("main-window-after-station-read"));

    // The plan read back passes the check and can be written again.
    main().findChild<QAction*>(QStringLiteral("N19"))->trigger();
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Все данные введены верно.")});
}

TEST_F(StationLinkWindowTest, ExchangesAreJournaledAndAReadIsBackedUpBeforeItReplacesThePlan)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    link->setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    link->setTracePath(folder.filePath(QStringLiteral("trace.txt")));
    // A plan read from a file and checked, for the station the protocol window names.
    AppState planned;
    ASSERT_TRUE(planned.createTemplate({QStringLiteral("2"), QStringLiteral("145000"), QStringLiteral("25")})
                    .isEmpty());
    const QString planPath = folder.filePath(QStringLiteral("plan.ini"));
    ASSERT_TRUE(files::writePlanFile(planPath, planned.settings(), planned.table(), 0, 0).isEmpty());
    dialogs.openPaths.push_back(planPath);
    mainChild<QAction>("N5")->trigger();
    mainChild<QAction>("N19")->trigger();
    ASSERT_TRUE(state.dataChecked());
    feedback.clear();
    windows.protocolWindow()
        .findChild<QLineEdit*>(QStringLiteral("Edit1"))
        ->setText(QStringLiteral("К17М-00077"));
    openOnPort(station.path());

    const auto journal = [&] {
        QFile file(link->journalPath());
        return file.open(QIODevice::ReadOnly) ? parseDelimited(QString::fromUtf8(file.readAll()), u';')
                                              : QList<QStringList>();
    };
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(journal().size(), 2);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn3"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(journal().size(), 3);
    const QList<QStringList> lines = journal();
    ASSERT_EQ(lines.size(), 3);
    // Operation, port, model, band code, channels, plan file, serial number, outcome.
    const auto fields = [](const QStringList& line) {
        return QStringList{line[2], line[3], line[4], line[5], line[6], line[7], line[9], line[10]};
    };
    const QString backup = lines[2][7];
    EXPECT_EQ(fields(lines[1]),
              (QStringList{u"запись"_qs, station.path(), u"Ялмера 4К-17"_qs, u"0"_qs, u"2"_qs,
                           QDir::toNativeSeparators(QFileInfo(planPath).absoluteFilePath()), u"К17М-00077"_qs,
                           u"выполнено"_qs}));
    EXPECT_EQ(fields(lines[2]), (QStringList{u"чтение"_qs, station.path(), u"Ялмера 4К-17"_qs, u"0"_qs,
                                             u"2"_qs, backup, u"012345"_qs, u"выполнено"_qs}));
    EXPECT_TRUE(backup.startsWith(QDir::toNativeSeparators(folder.filePath(QStringLiteral("backups/")))));
    // The backup holds what the read put into the program.
    const files::PlanDecodeResult kept = files::readPlanFile(backup);
    ASSERT_TRUE(kept.contents.has_value());
    EXPECT_EQ(kept.contents->settings.lines(), state.settings().lines());
    // Both exchanges went into the one trace file ($YALMERA_TRACE).
    QFile trace(folder.filePath(QStringLiteral("trace.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QByteArray traced = trace.readAll();
    EXPECT_TRUE(traced.contains("# end: Completed, 62 sent, 62 received\n# yalmera")) << traced.constData();
    EXPECT_TRUE(traced.endsWith("# end: Completed, 1 sent, 64 received\n")) << traced.constData();
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(StationLinkWindowTest, VerifyAfterWriteReadsTheStationBackAndKeepsThePlan)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    link->setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    makeCheckedPlan(QStringLiteral("3"));
    openOnPort(station.path());
    auto* verify = linkChild<QCheckBox>("CheckBox1");
    EXPECT_EQ(verify->text(), QStringLiteral("Сверить после записи"));
    EXPECT_FALSE(verify->isChecked()); // the write as it always was, until asked
    QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(6, verify->height() / 2));
    ASSERT_TRUE(verify->isChecked());
    testing::saveScreenshot(*link, QStringLiteral("station-link-window-verify"));
    const PlanSnapshot plan = state.snapshot();

    QSignalSpy runningChanges(link, &StationLinkWindow::exchangeRunningChanged);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(feedback.texts(), QStringList{QStringLiteral("Сверка после записи: совпадает.")});
    EXPECT_EQ(runningChanges.count(), 2); // one run: the write and its read
    EXPECT_EQ(state.snapshot(), plan);
    EXPECT_TRUE(state.dataChecked());
    EXPECT_TRUE(buttonsEnabled());
    QFile journal(link->journalPath());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QList<QStringList> lines = parseDelimited(QString::fromUtf8(journal.readAll()), u';');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ((QStringList{lines[2][2], lines[2][10]}), (QStringList{u"проверка"_qs, u"выполнено"_qs}));
    EXPECT_TRUE(UserChoices(configFolder.filePath(QStringLiteral("choices.ini"))).verifyAfterWrite());
}

TEST_F(StationLinkWindowTest, ComparisonMarksWhereTheStationDiffersAndLeavesThePlanAsItWas)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    link->setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    makeCheckedPlan(QStringLiteral("3"));
    openOnPort(station.path());
    QSignalSpy written(link->writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    ASSERT_TRUE(written.wait(20000));
    PlanMarkers& markers = *main().planMarkers();
    const auto compare = [&] {
        feedback.clear();
        QSignalSpy read(link->readExchange(), &ReadExchange::finished);
        QTest::mouseClick(linkChild<QPushButton>("BitBtn4"), Qt::LeftButton);
        EXPECT_TRUE(read.wait(20000));
        EXPECT_EQ(feedback.messages.size(), 1u);
        return feedback.texts().value(0);
    };
    // The station holds what was written, whatever way the plan writes its values.
    mainChild<QAction>("CompareItem")->trigger();
    EXPECT_TRUE(linkChild("BitBtn4")->hasFocus());
    const QString notCompared =
        u"Не сравнивались (в станции для них нет места): P_1=5; P_2=10; P_3=25; P_4=40"_qs;
    EXPECT_EQ(compare(), u"Станция хранит этот план.\n"_qs + notCompared);
    EXPECT_TRUE(markers.marks(MarkKind::Difference).isEmpty());

    // Two cells and a setting edited after the write; the plan need not be checked again.
    ChannelTableModel* model = main().tableModel();
    model->setData(model->index(1, columnIndex(Column::RxFrequency)), QStringLiteral("141025"));
    model->setData(model->index(2, columnIndex(Column::Scan)), Qt::Unchecked, Qt::CheckStateRole);
    auto* memo = mainChild<QPlainTextEdit>("Memo1");
    memo->setPlainText(memo->toPlainText().replace(u"Громкость=8"_qs, u"Громкость=5"_qs));
    const PlanSnapshot plan = state.snapshot();
    const bool unsaved = main().unsavedPlan()->isUnsaved();
    const QString undo = mainChild<QAction>("UndoItem")->text();
    EXPECT_EQ(compare(),
              u"Станция хранит другой план: отличий 3.\nОтмечено в главном окне: 3 (F7 — следующее "
              u"отличие). Отметки снимает правка плана.\n"_qs +
                  notCompared);
    EXPECT_EQ(markers.marks(MarkKind::Difference),
              (PlanMarks{
                  PlanMark::line(17, u"в станции: \"8\", в плане: \"5\""_qs),
                  PlanMark::cell(2, Column::RxFrequency, u"в станции: \"141000,00\", в плане: \"141025\""_qs),
                  PlanMark::cell(3, Column::Scan, u"в станции: \"да\", в плане: \"нет\""_qs)}));
    EXPECT_EQ(state.snapshot(), plan);
    EXPECT_TRUE(state.dataChecked());
    EXPECT_EQ(main().unsavedPlan()->isUnsaved(), unsaved);
    EXPECT_EQ(mainChild<QAction>("UndoItem")->text(), undo);
    QFile journal(link->journalPath());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QList<QStringList> lines = parseDelimited(QString::fromUtf8(journal.readAll()), u';');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ((QStringList{lines[2][2], lines[2][10], lines[3][2], lines[3][10]}),
              (QStringList{u"сверка"_qs, u"выполнено"_qs, u"сверка"_qs, u"не совпадает"_qs}));

    // Back in the main window: the count, F7 to the first difference, a picture with a tool tip.
    QTest::mouseClick(linkChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    auto* count = mainChild<QToolButton>("DifferenceCount");
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(count->text(), QStringLiteral("отличий: 3"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    QTest::keyClick(&main(), Qt::Key_F7);
    EXPECT_TRUE(memo->hasFocus());
    EXPECT_EQ(memo->textCursor().blockNumber(), 17);
    const QRect cell = main().grid()->visualRect(model->index(1, columnIndex(Column::RxFrequency)));
    QHelpEvent help(QEvent::ToolTip, cell.center(), main().grid()->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(main().grid()->viewport(), &help);
    testing::saveScreenshot(main(), QStringLiteral("main-window-station-differences"), /*withPopups=*/true);

    // An edit ends the marks: they describe the plan as it was compared.
    model->setData(model->index(0, columnIndex(Column::RxFrequency)), QStringLiteral("140025"));
    EXPECT_TRUE(markers.marks(MarkKind::Difference).isEmpty());
    EXPECT_FALSE(count->isVisible());
}

TEST_F(StationLinkWindowTest, StaysPaintedWhileTheExchangeRuns)
{
    VirtualStationProcess station({QStringLiteral("--pace")});
    ASSERT_FALSE(station.path().isEmpty());
    makeCheckedPlan(QStringLiteral("3"));
    openOnPort(station.path());
    QSignalSpy finished(link->writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);

    // The window's own thread is free: the gauge moves and the window paints mid-exchange.
    EXPECT_EVENTUALLY(linkChild<QProgressBar>("Gauge1")->value() > 0);
    EXPECT_TRUE(link->exchangeRunning());
    EXPECT_FALSE(linkChild("BitBtn1")->isEnabled());
    EXPECT_FALSE(linkChild("BitBtn2")->isEnabled());
    EXPECT_FALSE(linkChild("BitBtn3")->isEnabled());
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("ПР"));
    EXPECT_FALSE(link->grab().isNull());
    testing::saveScreenshot(*link, QStringLiteral("station-link-window-writing"));
    // Leaving is not possible until it ends, nor can the main window be used or closed meanwhile.
    link->close();
    EXPECT_TRUE(link->isVisible());
    EXPECT_FALSE(main().isEnabled());
    main().close();
    EXPECT_TRUE(main().isVisible());

    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(main().isEnabled());
    EXPECT_FALSE(linkChild("LatencyNote")->isVisible()); // replies on time: nothing said
}

TEST_F(StationLinkWindowTest, LateRepliesAreSaidBelowTheButtonsWhileTheWriteRuns)
{
    VirtualStationProcess station({QStringLiteral("--pace"), QStringLiteral("--latency-timer=16")});
    ASSERT_FALSE(station.path().isEmpty());
    makeCheckedPlan(QStringLiteral("1"));
    openOnPort(station.path());
    QSignalSpy finished(link->writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    QLabel* note = linkChild<QLabel>("LatencyNote");
    EXPECT_EVENTUALLY(note->isVisible());
    EXPECT_TRUE(link->exchangeRunning());
    const QRegularExpressionMatch said =
        QRegularExpression(QStringLiteral("опозданием (\\d+) мс: запись займет около")).match(note->text());
    ASSERT_TRUE(said.hasMatch()) << note->text().toStdString();
    EXPECT_NEAR(said.captured(1).toInt(), 16, 3);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(note->isVisible()); // until the next write
}

TEST_F(StationLinkWindowTest, SilentStationShowsAKAndTheFailure)
{
    VirtualStationProcess station({QStringLiteral("--silent-after"), QStringLiteral("0")});
    ASSERT_FALSE(station.path().isEmpty());
    makeCheckedPlan(QStringLiteral("1"));
    openOnPort(station.path());
    QSignalSpy finished(link->writeExchange(), &WriteExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("AK"));
    EXPECT_TRUE(buttonsEnabled());
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(
        u"ie_NOpen - device not open\nПорт %1, ожидание ответа на байт 1: "_qs.arg(station.path())));

    // A read from the silent station changes nothing of the plan.
    const ChannelTable before = state.table();
    QSignalSpy readFinished(link->readExchange(), &ReadExchange::finished);
    QTest::mouseClick(linkChild<QPushButton>("BitBtn3"), Qt::LeftButton);
    ASSERT_TRUE(readFinished.wait(10000));
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("AK"));
    EXPECT_EQ(state.table(), before);
    EXPECT_TRUE(buttonsEnabled());

    // Opened again, the window shows no station's state.
    QTest::mouseClick(linkChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    main().findChild<QAction*>(QStringLiteral("N23"))->trigger();
    EXPECT_EQ(linkChild<QLabel>("StaticText1")->text(), QStringLiteral("- -"));
    EXPECT_EQ(linkChild<QProgressBar>("Gauge1")->value(), 0);
}

TEST_F(StationLinkWindowTest, ProgramEndingInTheMiddleOfAWriteStopsItAndJournalsIt)
{
    VirtualStationProcess station({QStringLiteral("--reply-delay=20")});
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    link->setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    makeCheckedPlan(QStringLiteral("10"));
    openOnPort(station.path());
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY(linkChild<QProgressBar>("Gauge1")->value() == 33);
    link->endExchangeNow();
    EXPECT_FALSE(link->exchangeRunning());
    QFile journal(link->journalPath());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(parseDelimited(QString::fromUtf8(journal.readAll()), u';').value(1).value(10), u"прервано"_qs);
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

// Another program holds the journal as a write ends: both windows wait as long as allowed and keep
// the line that did not get in in what they say.
TEST_F(StationLinkWindowTest, HeldJournalEndsTheWriteWithTheLineInTheWindowsMessage)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    const QString journal = folder.filePath(QStringLiteral("journal.csv"));
    test::HeldJournalLock other(journal);
    ASSERT_TRUE(other.held());
    const QString lead = QStringLiteral("не записан: его держит другая программа; ожидание прекращено через "
                                        "0,3 с\nСтрока журнала, которая не записана:\n");
    const auto lineOf = [&](const QString& said) {
        const qsizetype at = said.indexOf(lead);
        return at < 0 ? QStringList() : parseDelimited(said.mid(at + lead.size()), u';').value(0);
    };
    makeCheckedPlan(QStringLiteral("3"));
    link->setJournalPath(journal);
    link->setJournalWaitLimit(std::chrono::milliseconds(300));
    openOnPort(station.path());
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY(!feedback.messages.empty());
    const QStringList line = lineOf(feedback.texts().join(u'\n'));
    ASSERT_EQ(line.size(), files::JournalColumnCount) << feedback.texts().join(u'\n').toStdString();
    EXPECT_EQ((QStringList{line[2], line[3], line[10]}),
              (QStringList{u"запись"_qs, station.path(), u"выполнено"_qs}));
    EXPECT_TRUE(buttonsEnabled());
    link->leave();

    FleetWriteWindow& fleet = openFleetOn({station.path()}, journal);
    fleet.setJournalWaitLimit(std::chrono::milliseconds(300));
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("StartButton")), Qt::LeftButton);
    EXPECT_EVENTUALLY(!fleet.running());
    const QString status = fleetChild<QLabel>(QStringLiteral("Status:") + station.path())->text();
    EXPECT_EQ(lineOf(status).value(3), station.path()) << status.toStdString();
    EXPECT_EQ(journalLines(journal), QList<QStringList>());
}

TEST_F(StationLinkWindowTest, ProgramEndingWhileTheJournalIsHeldEndsWithoutWaitingItOut)
{
    VirtualStationProcess station;
    ASSERT_FALSE(station.path().isEmpty());
    QTemporaryDir folder;
    link->setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    test::HeldJournalLock other(link->journalPath());
    ASSERT_TRUE(other.held());
    link->setJournalWaitLimit(std::chrono::seconds(60));
    makeCheckedPlan(QStringLiteral("3"));
    openOnPort(station.path());
    QSignalSpy runningChanges(link, &StationLinkWindow::exchangeRunningChanged);
    // SIGTERM comes once the write has ended and its line waits for the journal (ExitSignals ends
    // the exchange this way).
    QObject::connect(link->writeExchange(), &WriteExchange::finished, link,
                     [this] { QTimer::singleShot(300, link, [this] { link->endExchangeNow(); }); });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(ints(runningChanges), (QList<int>{1, 0}));
    EXPECT_LT(clock.elapsed(), 30000); // half the wait allowed: it was not waited out
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(StationLinkWindowTest, FleetWindowWritesEveryCheckedPortAndTablesTheOutcomes)
{
    VirtualStationProcess paced(
        {QStringLiteral("--pace"), QStringLiteral("--serial"), QStringLiteral("000042")});
    VirtualStationProcess silent({QStringLiteral("--silent-after"), QStringLiteral("0")});
    ASSERT_FALSE(paced.path().isEmpty());
    ASSERT_FALSE(silent.path().isEmpty());
    QTemporaryDir folder;
    makeCheckedPlan(QStringLiteral("3"));
    FleetWriteWindow& fleet =
        openFleetOn({paced.path(), silent.path()}, folder.filePath(QStringLiteral("journal.csv")));
    fleetChild<QCheckBox>(QStringLiteral("VerifyCheck"))->setChecked(true);
    fleetChild<QCheckBox>(QStringLiteral("ProtocolCheck"))->setChecked(true);
    fleetChild<QLineEdit>(QStringLiteral("ProtocolFolder"))
        ->setText(folder.filePath(QStringLiteral("protocols")));
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("StartButton")), Qt::LeftButton);

    // Each port shows its own progress; the main window waits meanwhile.
    EXPECT_EVENTUALLY(fleetChild<QProgressBar>(QStringLiteral("Progress:") + paced.path())->value() > 0);
    EXPECT_TRUE(fleet.running());
    EXPECT_FALSE(main().isEnabled());
    EXPECT_FALSE(fleetChild(QStringLiteral("StartButton"))->isEnabled());
    testing::saveScreenshot(fleet, QStringLiteral("fleet-write-window-running"));
    EXPECT_EVENTUALLY(!fleet.running());
    EXPECT_TRUE(main().isEnabled());
    testing::saveScreenshot(fleet, QStringLiteral("fleet-write-window-ended"));
    EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Hint"))->text(),
              QStringLiteral("Запись завершена: план в 1 из 2 станций; сбой связи: 1."));

    const QString silentOutcome =
        QStringLiteral("Станция не отвечает: запись прервана, в станции осталась часть "
                       "плана; следующая запись заменит его целиком. (ie_NOpen - device "
                       "not open — Порт %1, ожидание ответа на байт 1: станция не ответила за 200 мс. "
                       "Проверьте, включена ли станция и подключен ли ее кабель к этому порту, и "
                       "повторите.)")
            .arg(silent.path());
    EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Status:") + paced.path())->text(),
              QStringLiteral("записано и сверено, протокол сохранен"));
    EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Status:") + silent.path())->text(), silentOutcome);
    const QStringList copied = fleet.resultText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 3);
    EXPECT_EQ(copied[0], QStringLiteral("Порт\tСерийный номер\tИтог\tВремя"));
    // The time in seconds with a decimal comma, as "2,8 с".
    const auto timed = [](const QString& line, const QString& fields) {
        return QRegularExpression(u'^' + QRegularExpression::escape(fields) + QStringLiteral("\t\\d+,\\d с$"))
            .match(line)
            .hasMatch();
    };
    EXPECT_TRUE(
        timed(copied[1], paced.path() + QStringLiteral("\t000042\tзаписано и сверено, протокол сохранен")))
        << copied[1].toStdString();
    EXPECT_TRUE(timed(copied[2], silent.path() + QStringLiteral("\t\t") + silentOutcome))
        << copied[2].toStdString();
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("CopyButton")), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), fleet.resultText());
    // Ctrl+C copies the rows selected.
    auto* results = fleetChild<QTableWidget>(QStringLiteral("ResultTable"));
    results->selectRow(1);
    QTest::keyClick(results, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringList({copied[0], copied[2], {}}).join(u'\n'));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("protocols/Протокол 000042.docx"))));

    // Operation, port, serial number, outcome: each station's own lines.
    QStringList journalled;
    for (const QStringList& line : journalLines(folder.filePath(QStringLiteral("journal.csv"))).mid(1))
        journalled.append(QStringList{line[2], line[3], line[9], line[10]}.join(u' '));
    journalled.sort();
    const auto expectedLine = [](QStringView operation, const QString& port, QStringView serial,
                                 QStringView outcome) {
        return QStringList{operation.toString(), port, serial.toString(), outcome.toString()}.join(u' ');
    };
    QStringList expected{expectedLine(u"запись", paced.path(), u"", u"выполнено"),
                         expectedLine(u"проверка", paced.path(), u"000042", u"выполнено"),
                         expectedLine(u"протокол", paced.path(), u"000042", u"выполнено"),
                         expectedLine(u"запись", silent.path(), u"", u"нет ответа")};
    expected.sort();
    EXPECT_EQ(journalled, expected);

    // Once more with a journal that cannot be written: the summary names the worse end first.
    fleet.setJournalPath(folder.filePath(QStringLiteral("protocols/Протокол 000042.docx/journal.csv")));
    fleet.start();
    EXPECT_EVENTUALLY(!fleet.running());
    EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Hint"))->text(),
              QStringLiteral("Запись завершена: план в 1 из 2 станций; сбой связи: 1; не записаны журнал, "
                             "копия или протокол: 1."));
}

TEST_F(StationLinkWindowTest, FleetWindowRefusesToStartWithoutTouchingAPort)
{
    test::TestPty line;
    ASSERT_TRUE(line.ok());
    QTemporaryDir folder;
    const QString journal = folder.filePath(QStringLiteral("journal.csv"));
    struct Case
    {
        const char* name;
        bool planChecked;
        bool portChecked;
        QString protocolFolder; // protocols saved when not null
        QString refusal;
        bool startEnabled;
    };
    const Case cases[] = {
        {"UncheckedPlan",
         false,
         true,
         {},
         QStringLiteral("Введенные данные не будут переданы, так как они не проверены."),
         false},
        {"NoPortChecked",
         true,
         false,
         {},
         QStringLiteral("Не отмечен ни один порт: отметьте порты, к которым подключены станции."),
         false},
        {"ProtocolsWithoutFolder", true, true, QStringLiteral(""),
         QStringLiteral("Не указана папка для протоколов."), true},
        {"ProtocolWithoutSerial", true, true, folder.path(),
         QStringLiteral("Для протокола нужен серийный номер каждой станции: введите его у порта %1 или "
                        "включите «Сверить после записи», и станция сообщит свой.")
             .arg(line.path()),
         true},
    };
    FleetWriteWindow& fleet = openFleetOn({line.path()}, journal);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.planChecked && !state.dataChecked())
            makeCheckedPlan(QStringLiteral("1"));
        fleetChild<QCheckBox>(QStringLiteral("Port:") + line.path())->setChecked(c.portChecked);
        fleetChild<QCheckBox>(QStringLiteral("ProtocolCheck"))->setChecked(!c.protocolFolder.isNull());
        fleetChild<QLineEdit>(QStringLiteral("ProtocolFolder"))->setText(c.protocolFolder);
        if (!c.startEnabled)
            EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Hint"))->text(), c.refusal);
        EXPECT_EQ(fleetChild(QStringLiteral("StartButton"))->isEnabled(), c.startEnabled);
        fleet.start();
        EXPECT_EQ(feedback.texts(), QStringList{c.refusal});
        EXPECT_FALSE(fleet.running());
        feedback.clear();
    }
    EXPECT_TRUE(line.receive(1, 300).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(journal));
}

TEST_F(StationLinkWindowTest, FleetWindowKeepsChecksSerialsAndTypedPortsWhenThePortsAreListedAgain)
{
    FleetWriteWindow& fleet =
        openFleetOn({QStringLiteral("/dev/typed-a"), QStringLiteral("/dev/typed-b")}, {});
    fleetChild<QCheckBox>(QStringLiteral("Port:/dev/typed-b"))->setChecked(false);
    fleetChild<QLineEdit>(QStringLiteral("Serial:/dev/typed-a"))->setText(QStringLiteral("К17М-00042"));
    fleet.refreshPorts();
    EXPECT_TRUE(fleetChild<QCheckBox>(QStringLiteral("Port:/dev/typed-a"))->isChecked());
    EXPECT_FALSE(fleetChild<QCheckBox>(QStringLiteral("Port:/dev/typed-b"))->isChecked());
    EXPECT_EQ(fleetChild<QLineEdit>(QStringLiteral("Serial:/dev/typed-a"))->text(),
              QStringLiteral("К17М-00042"));
}

TEST_F(StationLinkWindowTest, ClosingTheFleetWindowMidRunStopsEveryStationAndJournalsIt)
{
    VirtualStationProcess first({QStringLiteral("--reply-delay=20")});
    VirtualStationProcess second({QStringLiteral("--reply-delay=20")});
    QTemporaryDir folder;
    makeCheckedPlan(QStringLiteral("10"));
    FleetWriteWindow& fleet =
        openFleetOn({first.path(), second.path()}, folder.filePath(QStringLiteral("journal.csv")));
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("StartButton")), Qt::LeftButton);
    EXPECT_EVENTUALLY(fleetChild<QProgressBar>(QStringLiteral("Progress:") + second.path())->value() > 0);
    // "Нет": the run goes on.
    fleet.close();
    EXPECT_TRUE(fleet.isVisible());
    EXPECT_TRUE(fleet.running());
    feedback.answers.push_back(Answer::Yes);
    fleet.close();
    EXPECT_EQ(feedback.questions.size(), 2);
    EXPECT_EVENTUALLY(!fleet.isVisible());
    EXPECT_FALSE(fleet.running());
    QStringList outcomes;
    for (const QStringList& line : journalLines(folder.filePath(QStringLiteral("journal.csv"))).mid(1))
        outcomes.append(line[10]);
    EXPECT_EQ(outcomes, (QStringList{u"прервано"_qs, u"прервано"_qs}));
    EXPECT_TRUE(main().isEnabled());
}

TEST_F(StationLinkWindowTest, ProgramEndingMidFleetRunStopsEveryStationAndJournalsItBeforeItReturns)
{
    VirtualStationProcess station({QStringLiteral("--reply-delay=20")});
    QTemporaryDir folder;
    makeCheckedPlan(QStringLiteral("10"));
    FleetWriteWindow& fleet = openFleetOn({station.path()}, folder.filePath(QStringLiteral("journal.csv")));
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("StartButton")), Qt::LeftButton);
    EXPECT_EVENTUALLY(fleetChild<QProgressBar>(QStringLiteral("Progress:") + station.path())->value() > 0);
    fleet.endRunNow();
    EXPECT_FALSE(fleet.running());
    EXPECT_EQ(journalLines(folder.filePath(QStringLiteral("journal.csv"))).value(1).value(10),
              u"прервано"_qs);
    EXPECT_EQ(fleet.resultText().count(u'\n'), 2);
    EXPECT_EQ(fleetChild<QLabel>(QStringLiteral("Hint"))->text(),
              QStringLiteral("Запись завершена: план в 0 из 1 станций; прервано: 1."));
}

TEST_F(StationLinkWindowTest, MainWindowWaitsUntilBothStationWindowsHaveEnded)
{
    VirtualStationProcess paced({QStringLiteral("--pace")});
    makeCheckedPlan(QStringLiteral("3"));
    FleetWriteWindow& fleet = openFleetOn({paced.path()}, {});
    QTest::mouseClick(fleetChild<QPushButton>(QStringLiteral("StartButton")), Qt::LeftButton);
    ASSERT_TRUE(fleet.running());
    // A one-station exchange that ends while the fleet still writes leaves the main window waiting.
    openOnPort(QStringLiteral("/dev/no-such-yalmera-port"));
    QTest::mouseClick(linkChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EVENTUALLY(!link->exchangeRunning() && !feedback.messages.empty());
    EXPECT_TRUE(fleet.running());
    EXPECT_FALSE(main().isEnabled());
    EXPECT_EVENTUALLY(!fleet.running());
    EXPECT_TRUE(main().isEnabled());
}

} // namespace
} // namespace yalmera::ui
