#include "ui_test_support.h"

#include "ui/channel_grid.h"
#include "ui/channel_table_model.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "image/read_back.h"
#include "session/app_state.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <functional>

namespace yalmera::ui {
namespace {

// A three-channel template on the screen, made as the user makes it.
class TableEditingTest : public ::testing::Test, public testing::ProgramFixture
{
public:
    void SetUp() override
    {
        windows.show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        makeTemplate(u"3"_qs);
        grid = main().grid();
        ASSERT_EQ(grid->channelModel()->rowCount(), 3);
    }

    void makeTemplate(const QString& count)
    {
        mainChild<QAction>("N2")->trigger();
        mainChild<QLineEdit>("Edit1")->setText(count);
        QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    }
    void trigger(const char* name) { mainChild<QAction>(name)->trigger(); }
    void click(Column column, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndex index = grid->channelModel()->index(row - 1, columnIndex(column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(index).center());
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    QString memoText() { return mainChild<QPlainTextEdit>("Memo1")->toPlainText(); }

    ChannelGrid* grid = nullptr;
};

struct ReplacementCase
{
    const char* name;
    std::function<void(TableEditingTest&, const QString& folder)> replace;
};

TEST_F(TableEditingTest, UndoOfEachWholePlanReplacementRestoresThePreviousPlanExactly)
{
    const std::vector<ReplacementCase> cases{
        {"template", [](TableEditingTest& t, const QString&) { t.makeTemplate(u"5"_qs); }},
        {"file read",
         [](TableEditingTest& t, const QString& folder) {
             const QString path = folder + u"/other.ini"_qs;
             ChannelTable table = t.state.table();
             table.setCell(Column::RxFrequency, 1, u"45000"_qs);
             ASSERT_TRUE(files::writePlanFile(path, GeneralSettings({u"[Общие установки]"_qs}), table, 1, 2)
                             .isEmpty());
             t.dialogs.openPaths.push_back(path);
             t.trigger("N5");
         }},
        {"station read",
         [](TableEditingTest& t, const QString&) {
             ReadBack station{
                 u"012345"_qs, GeneralSettings({u"[Общие установки]"_qs}), t.state.table(), {}, 4, 1};
             station.table.setRowCount(2);
             t.main().showPlanReadFromStation(applyReadBack(t.state, station));
         }},
        {"spreadsheet import",
         [](TableEditingTest& t, const QString& folder) {
             ChannelTable table = t.state.table();
             table.setFlag(Column::Active, 3, false);
             ASSERT_TRUE(files::writePlanCsv(folder + u"/t.csv"_qs, table).isEmpty());
             t.dialogs.openPaths.push_back(folder + u"/t.csv"_qs);
             t.trigger("ImportCsvItem");
         }},
    };
    QTemporaryDir folder;
    for (const ReplacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        trigger("N15");
        mainChild<QPlainTextEdit>("Memo1")->appendPlainText(u"Громкость=3"_qs);
        click(Column::Scan, 2);
        ASSERT_TRUE(runDataCheck(state).passed);
        // The frequency a repeater mark replaced comes back with its plan.
        ASSERT_TRUE(state.writeRepeaterMark(u"3"_qs, RepeaterMode::Receive).ok());
        ASSERT_FALSE(state.repeaterSavedTexts().isEmpty());
        const PlanSnapshot before = state.snapshot();
        const QString beforeText = memoText();

        c.replace(*this, folder.path());
        ASSERT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
        const PlanSnapshot after = state.snapshot();
        ASSERT_NE(after, before);

        trigger("UndoItem");
        EXPECT_EQ(state.snapshot(), before);
        EXPECT_FALSE(state.dataChecked());
        EXPECT_EQ(memoText(), beforeText);
        EXPECT_EQ(main().windowTitle(), u"Ялмера 4К-17"_qs);
        EXPECT_TRUE(mainChild<QAction>("N15")->isChecked());
        EXPECT_EQ(grid->channelModel()->rowCount(), 3);

        ASSERT_TRUE(runDataCheck(state).passed);
        trigger("RedoItem");
        EXPECT_EQ(state.snapshot(), after);
        EXPECT_FALSE(state.dataChecked());
        trigger("UndoItem");
    }
}

TEST_F(TableEditingTest, CellEditsAreStepsThatLeaveTheGate)
{
    ASSERT_TRUE(runDataCheck(state).passed);
    const ChannelTable original = state.table();
    click(Column::RxFrequency, 2);
    for (const QChar c : u"145000"_qs)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    key(Qt::Key_Return); // also copies the frequency into " Tx, кГц"
    click(Column::IdTone, 1);
    ASSERT_EQ(state.table().cell(Column::TxFrequency, 2), u"145000"_qs);

    // Toggle, Enter copy, then all six keystrokes at once.
    for (int step = 0; step < 3; ++step)
        key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.table(), original);
    EXPECT_TRUE(state.dataChecked());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state.table().cell(Column::RxFrequency, 2), u"145000"_qs);
    EXPECT_EQ(state.table().cell(Column::TxFrequency, 2), u"141000"_qs);
    EXPECT_TRUE(state.dataChecked());
}

TEST_F(TableEditingTest, RepeaterMarkUndoneTakesItsSavedFrequencyAlongAndRedoneClearsTheGate)
{
    ASSERT_TRUE(runDataCheck(state).passed);
    const ChannelTable unmarked = state.table();
    trigger("N11");
    mainChild<QLineEdit>("Edit4")->setText(u"2"_qs);
    QTest::mouseClick(mainChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    ASSERT_EQ(state.table().cell(Column::TxFrequency, 2), u"РЕТР_ПР"_qs);

    trigger("UndoItem");
    EXPECT_EQ(state.table(), unmarked);
    EXPECT_TRUE(state.repeaterSavedTexts().isEmpty());
    ASSERT_TRUE(runDataCheck(state).passed);
    trigger("RedoItem");
    EXPECT_EQ(state.repeaterSavedTexts().value(2).text, u"141000"_qs);
    EXPECT_FALSE(state.dataChecked());
}

TEST_F(TableEditingTest, ClipboardCarriesABlockAsTabSeparatedTextBothWays)
{
    state.editTable().setCell(Column::RxFrequency, 2, u"145006,25"_qs);
    click(Column::RxFrequency, 1);
    click(Column::CtcssRx, 2, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRange(), (CellRange{1, 2, 1, 3}));
    EXPECT_EQ(QApplication::focusWidget(), grid); // no list opened on the way
    testing::saveScreenshot(main(), u"main-window-block-selected"_qs);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"140000\t140000\tНет\n145006,25\t141000\tНет\n"_qs);

    // Pasted under the last row: a fourth channel is added for the second line.
    click(Column::RxFrequency, 3);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    EXPECT_EQ(grid->channelModel()->rowCount(), 4);
    EXPECT_EQ(state.table().cell(Column::RxFrequency, 4), u"145006,25"_qs);
    EXPECT_EQ(grid->selectedRange(), (CellRange{3, 4, 1, 3}));
    trigger("UndoItem");
    EXPECT_EQ(grid->channelModel()->rowCount(), 3);
}

TEST_F(TableEditingTest, RowCommandsKeepFlagsWithTheirRowsAndUndo)
{
    const ChannelTable original = state.table();
    click(Column::IdTone, 2);
    const ChannelTable flagged = state.table();
    key(Qt::Key_Insert, Qt::AltModifier);
    EXPECT_EQ(state.table().cell(Column::ChannelNumber, 3), u"4"_qs);
    EXPECT_EQ(state.table().flag(Column::IdTone, 3), true);
    key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(state.table().cell(Column::ChannelNumber, 1), u"4"_qs);
    EXPECT_EQ(state.table().flag(Column::IdTone, 1), true);
    click(Column::ChannelNumber, 3, Qt::ShiftModifier);
    key(Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(state.table().channelCount(), 1);
    EXPECT_EQ(state.table().cell(Column::ChannelNumber, 1), u"3"_qs);
    key(Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(feedback.texts(),
              QStringList{u"Все каналы удалить нельзя: в таблице должен остаться хотя бы один канал."_qs});

    for (int step = 0; step < 4; ++step)
        trigger("UndoItem");
    EXPECT_EQ(state.table(), flagged);
    trigger("UndoItem");
    EXPECT_EQ(state.table(), original);
}

TEST_F(TableEditingTest, RecentAndDroppedPlanFilesAreReadAsTheMenuReadsThem)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"K17M_10.ini"_qs);
    dialogs.savePaths.push_back(path);
    trigger("N4");
    QMenu* recent = mainChild<QMenu>("RecentMenu");
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_TRUE(recent->menuAction()->isEnabled());

    makeTemplate(u"7"_qs);
    recent->actions().first()->trigger();
    EXPECT_EQ(state.table().channelCount(), 3);

    makeTemplate(u"7"_qs);
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main(), &drop);
    EXPECT_EQ(state.table().channelCount(), 3);
    EXPECT_EQ(state.table().cell(Column::TxFrequency, 0), u" Tx, кГЦ"_qs); // captioned as a file read
    trigger("UndoItem");
    EXPECT_EQ(state.table().channelCount(), 7);

    // Pictures of the menus with their new entries.
    for (const auto& [name, picture] :
         {std::pair{"N1", "menu-channels"}, {"RecentMenu", "menu-recent-files"}, {"EditMenu", "menu-edit"}}) {
        QMenu* menu = mainChild<QMenu>(name);
        menu->popup(main().mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        testing::saveScreenshot(*menu, QString::fromLatin1(picture));
        menu->close();
    }
}

} // namespace
} // namespace yalmera::ui
