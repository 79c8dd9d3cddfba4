#include "ui_test_support.h"

#include "ui/channel_cell_delegate.h"
#include "ui/channel_grid.h"
#include "ui/channel_table_model.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QWheelEvent>

#include <tuple>

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

// A ten-channel template on the screen, as "Создать шаблон" and "Ok" leave it.
class ChannelGridTest : public ::testing::Test, public ProgramFixture
{
protected:
    void SetUp() override
    {
        windows.show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
        mainChild<QAction>("N2")->trigger();
        QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
        grid = main().grid();
        model = main().tableModel();
        ASSERT_TRUE(grid->isVisible());
        ASSERT_EQ(model->rowCount(), 10);
    }

    QModelIndex cellIndex(Column column, int tableRow) const
    {
        return model->index(tableRow - 1, columnIndex(column));
    }
    QString cell(Column column, int tableRow) const { return state.table().cell(column, tableRow); }

    void clickCell(Column column, int tableRow)
    {
        const QModelIndex index = cellIndex(column, tableRow);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }

    QComboBox* combo(const char* name) const
    {
        return grid->findChild<QComboBox*>(QString::fromLatin1(name));
    }

    // Types into whatever has the focus, as a keyboard does.
    static void type(const QString& text)
    {
        for (const QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }

    QColor pixelAt(Column column, int tableRow)
    {
        const QImage image = grid->viewport()->grab().toImage();
        const QRect rect = grid->visualRect(cellIndex(column, tableRow));
        // Lower right inside the cell: clear of the text, which starts at the top left.
        return image.pixelColor(rect.right() - 2, rect.bottom() - 2);
    }

    ChannelGrid* grid = nullptr;
    ChannelTableModel* model = nullptr;
};

struct EditorCase
{
    Column column;
    QString text;
    const char* editor;
    int expectedItem;
};

TEST_F(ChannelGridTest, ListEditorsOpenOnTheItemOfTheCell)
{
    const EditorCase cases[] = {
        {Column::CtcssRx, QStringLiteral("67,0"), "ComboBox1", 34}, // the second "67,0"
        {Column::CtcssTx, QStringLiteral("127,3"), "ComboBox1", 14},
        {Column::DcsRx, QStringLiteral("023"), "ComboBox2", 1},
        {Column::ToneTx, QStringLiteral("3"), "ComboBox3", 3},
        {Column::Squelch, QStringLiteral("6"), "ComboBox4", 5},
        {Column::PowerMax, QStringLiteral("4"), "ComboBox5", 3},
        {Column::Width, QStringLiteral("12,5"), "ComboBox6", 0},
        {Column::Width, QStringLiteral("25"), "ComboBox6", 1},
        {Column::Time, QStringLiteral("15"), "ComboBox7", 15},
        {Column::TxOff, QStringLiteral("OFF"), "ComboBox8", 2},
    };
    int row = 1;
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(std::string(c.editor) + " " + c.text.toStdString());
        state.editTable().setCell(c.column, row, c.text);
        model->refreshCells();
        clickCell(c.column, row);
        QComboBox* editor = combo(c.editor);
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->currentIndex(), c.expectedItem);
        // Exactly over its cell, hiding nothing of the next one.
        EXPECT_EQ(editor->geometry(), grid->visualRect(cellIndex(c.column, row)));
        row = row % 10 + 1;
    }
}

TEST_F(ChannelGridTest, ChoosingAnItemWritesItAndClosesTheList)
{
    state.acceptCheck(state.image(), state.settingsDigitCount());
    clickCell(Column::CtcssRx, 2);
    QComboBox* editor = combo("ComboBox1");
    ASSERT_TRUE(editor->isVisible());
    editor->setCurrentIndex(1); // the first "67,0"
    EXPECT_EQ(cell(Column::CtcssRx, 2), QStringLiteral("67,0"));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    clickCell(Column::Width, 2);
    combo("ComboBox6")->showPopup();
    EXPECT_GE(combo("ComboBox6")->view()->width(), combo("ComboBox6")->view()->sizeHintForColumn(0));
    testing::saveScreenshot(*grid, QStringLiteral("channel-grid-list-editor"));
    testing::saveScreenshot(*combo("ComboBox6")->view()->window(), QStringLiteral("channel-grid-list-popup"));
    combo("ComboBox6")->hidePopup();
    clickCell(Column::ChannelNumber, 2);
    // The same text opens on its second position next time.
    clickCell(Column::CtcssTx, 2);
    clickCell(Column::CtcssRx, 2);
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), 34);
    EXPECT_TRUE(state.dataChecked());

    // A long list drops down about 15 items high, with a scroll bar.
    combo("ComboBox1")->showPopup();
    QAbstractItemView* list = combo("ComboBox1")->view();
    EXPECT_EQ(list->height() / list->sizeHintForRow(0), 15);
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    combo("ComboBox1")->hidePopup();
}

TEST_F(ChannelGridTest, RowKeysMoveFromAListAndChangeNothing)
{
    struct Case
    {
        Qt::Key key;
        int fromRow;
        int toRow;
    };
    const Case cases[] = {
        {Qt::Key_Down, 4, 5},   {Qt::Key_Up, 4, 3},   {Qt::Key_PageDown, 2, 10},
        {Qt::Key_PageUp, 9, 1}, {Qt::Key_Home, 6, 1}, {Qt::Key_End, 3, 10},
    };
    const ChannelTable before = state.table();
    for (const Column column : {Column::TxOff, Column::CtcssRx, Column::RxFrequency}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(QStringLiteral("column %1, key %2 from row %3")
                             .arg(columnIndex(column))
                             .arg(QKeySequence(c.key).toString())
                             .arg(c.fromRow)
                             .toStdString());
            clickCell(column, c.fromRow);
            press(c.key);
            EXPECT_EQ(grid->selectedRow(), c.toRow);
            EXPECT_EQ(grid->selectedColumn(), column);
        }
    }
    // Nor does the wheel over a list change it.
    clickCell(Column::Squelch, 2);
    QWheelEvent wheel(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo("ComboBox4"), &wheel);
    EXPECT_EQ(state.table(), before);

    // A list opens on Alt+Down, F4 or a typed character, on its item; only Enter writes.
    const std::tuple<Qt::Key, Qt::KeyboardModifier, QString> openers[] = {
        {Qt::Key_Down, Qt::AltModifier, {}},
        {Qt::Key_F4, Qt::NoModifier, {}},
        {Qt::Key_R, Qt::NoModifier, u"r"_qs}};
    int row = 6;
    for (const auto& [key, modifiers, text] : openers) {
        clickCell(Column::TxOff, row);
        QComboBox* editor = combo("ComboBox8");
        QTest::sendKeyEvent(QTest::Click, editor, key, text, modifiers);
        ASSERT_TRUE(editor->view()->isVisible()) << row;
        EXPECT_EQ(state.table(), before);
        QTest::keyClick(editor->view(), text.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        ++row;
    }
    EXPECT_EQ(cell(Column::TxOff, 8), QStringLiteral("RSSI"));
    EXPECT_EQ(cell(Column::TxOff, 6), before.cell(Column::TxOff, 6));
}

TEST_F(ChannelGridTest, TabGoesAlongTheRowsAndOutOfTheTableAtItsEnds)
{
    // From a cell being typed in, an open list or a flag cell; no row given: the focus has left
    // the table for that part of the window.
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const std::tuple<Column, int, Qt::Key, Qt::KeyboardModifiers, Column, int, const char*> cases[] = {
        {Column::RxFrequency, 2, Qt::Key_Tab, {}, Column::TxFrequency, 2, ""},
        {Column::CtcssRx, 2, Qt::Key_Backtab, shift, Column::TxFrequency, 2, ""},
        {Column::Active, 3, Qt::Key_Tab, {}, Column::ChannelNumber, 4, ""},
        {Column::ChannelNumber, 5, Qt::Key_Backtab, shift, Column::Active, 4, ""},
        {Column::Active, 10, Qt::Key_Tab, {}, {}, 0, "Edit1"},
        {Column::ChannelNumber, 1, Qt::Key_Backtab, shift, {}, 0, "Memo1"},
        {Column::CtcssRx, 5, Qt::Key_Tab, Qt::ControlModifier, {}, 0, "Edit1"},
    };
    for (const auto& [column, row, key, modifiers, toColumn, toRow, leftFor] : cases) {
        SCOPED_TRACE(
            QStringLiteral("column %1 row %2 %3").arg(columnIndex(column)).arg(row).arg(key).toStdString());
        clickCell(column, row);
        if (editorForColumn(column) == CellEditor::Typed)
            type(QStringLiteral("145")); // with the cell's editor open
        press(key, modifiers);
        if (toRow == 0)
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(leftFor));
        else
            EXPECT_EQ(grid->currentIndex(), cellIndex(toColumn, toRow));
    }
    EXPECT_EQ(cell(Column::RxFrequency, 2), QStringLiteral("145"));
}

TEST_F(ChannelGridTest, TextInNoListKeepsThePreviousItem)
{
    // The first use of a list over such a text has no item and writes nothing on leaving.
    state.editTable().setCell(Column::TxOff, 1, QStringLiteral("Выкл"));
    model->refreshCells();
    clickCell(Column::TxOff, 1);
    EXPECT_EQ(combo("ComboBox8")->currentIndex(), -1);
    clickCell(Column::ChannelNumber, 1);
    EXPECT_EQ(cell(Column::TxOff, 1), QStringLiteral("Выкл"));

    // Later uses start on the item of the previous one; leaving still writes nothing.
    clickCell(Column::TxOff, 2);
    combo("ComboBox8")->setCurrentIndex(2);
    clickCell(Column::TxOff, 1);
    EXPECT_EQ(combo("ComboBox8")->currentIndex(), 2);
    clickCell(Column::ChannelNumber, 1);
    EXPECT_EQ(cell(Column::TxOff, 1), QStringLiteral("Выкл"));
}

enum class ListEnd { Leave, PickShownWithMouse, PickShownWithKeyboard };

TEST_F(ChannelGridTest, OnlyAPickedItemIsWritten)
{
    struct Case
    {
        const char* name;
        Column column;
        QStringView text;
        ListEnd end;
        QStringView expected;
    };
    const Case cases[] = {
        {"CtcssTextInNoList", Column::CtcssRx, u"67,5", ListEnd::Leave, u"67,5"},
        {"WidthTextInNoList", Column::Width, u"20", ListEnd::Leave, u"20"},
        {"ToneNumberNotAsListed", Column::ToneRx, u"03", ListEnd::Leave, u"03"},
        {"WidthShownItemByMouse", Column::Width, u"20", ListEnd::PickShownWithMouse, u"12,5"},
        {"ToneShownItemByKeyboard", Column::ToneRx, u"03", ListEnd::PickShownWithKeyboard, u"3"},
    };
    // The CTCSS editor's previous use was on "88,5", the item it then shows over "67,5".
    state.editTable().setCell(Column::CtcssRx, 10, QStringLiteral("88,5"));
    model->refreshCells();
    clickCell(Column::CtcssRx, 10);
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.editTable().setCell(c.column, row, c.text.toString());
        model->refreshCells();
        clickCell(c.column, row);
        auto* editor = qobject_cast<QComboBox*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        ASSERT_GE(editor->currentIndex(), 0); // an item is shown
        if (c.end == ListEnd::Leave) {
            clickCell(Column::ChannelNumber, row);
        } else if (c.end == ListEnd::PickShownWithMouse) {
            editor->showPopup();
            QAbstractItemView* list = editor->view();
            const QRect item = list->visualRect(list->model()->index(editor->currentIndex(), 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        } else {
            QTest::keyClick(editor, Qt::Key_F4);
            QTest::keyClick(editor->view(), Qt::Key_Return);
        }
        EXPECT_EQ(cell(c.column, row), c.expected.toString());
        EXPECT_FALSE(editor->isVisible());
        ++row;
    }
}

TEST_F(ChannelGridTest, NumberOutsideTheListChoosesNothingAndLeavingWritesNothing)
{
    state.editTable().setCell(Column::Squelch, 3, QStringLiteral("12"));
    model->refreshCells();
    clickCell(Column::Squelch, 3);
    EXPECT_TRUE(combo("ComboBox4")->isVisible());
    EXPECT_EQ(combo("ComboBox4")->currentIndex(), -1);
    clickCell(Column::ChannelNumber, 3);
    EXPECT_EQ(cell(Column::Squelch, 3), QStringLiteral("12"));
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(ChannelGridTest, TextThatIsNoNumberShowsTheConversionErrorInsteadOfTheList)
{
    state.editTable().setCell(Column::PowerMin, 2, QStringLiteral("Нет"));
    model->refreshCells();
    clickCell(Column::PowerMin, 2);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text, QStringLiteral("'Нет' is not a valid integer value"));
    EXPECT_EQ(feedback.messages[0].kind, MessageKind::Failure);
    QComboBox* editor = combo("ComboBox5");
    EXPECT_TRUE(editor == nullptr || !editor->isVisible());
    EXPECT_EQ(cell(Column::PowerMin, 2), QStringLiteral("Нет"));
}

TEST_F(ChannelGridTest, TypingReplacesTheCellKeystrokeByKeystroke)
{
    clickCell(Column::RxFrequency, 3);
    EXPECT_EQ(grid->findChild<QLineEdit*>(), nullptr); // selecting opens no editor
    type(QStringLiteral("1500"));
    EXPECT_EQ(cell(Column::RxFrequency, 3), QStringLiteral("1500"));
    type(QStringLiteral("00"));
    EXPECT_EQ(cell(Column::RxFrequency, 3), QStringLiteral("150000"));
    press(Qt::Key_Escape);
    EXPECT_EQ(cell(Column::RxFrequency, 3), QStringLiteral("142000"));

    // Any text is taken; the data check judges it.
    clickCell(Column::ChannelNumber, 3);
    type(QStringLiteral("к3"));
    press(Qt::Key_Return);
    EXPECT_EQ(cell(Column::ChannelNumber, 3), QStringLiteral("к3"));
}

TEST_F(ChannelGridTest, EnterCopiesTheFrequencyAlsoWhileTyping)
{
    state.acceptCheck(state.image(), state.settingsDigitCount());
    clickCell(Column::RxFrequency, 2);
    type(QStringLiteral("145006,25"));
    press(Qt::Key_Enter);
    EXPECT_EQ(cell(Column::RxFrequency, 2), QStringLiteral("145006,25"));
    EXPECT_EQ(cell(Column::TxFrequency, 2), QStringLiteral("145006,25"));

    // Transmit to receive, also when Enter comes before any typing.
    state.editTable().setCell(Column::TxFrequency, 4, QStringLiteral("150000"));
    model->refreshCells();
    clickCell(Column::TxFrequency, 4);
    press(Qt::Key_Return);
    EXPECT_EQ(cell(Column::RxFrequency, 4), QStringLiteral("150000"));
    EXPECT_NE(grid->findChild<QLineEdit*>(), nullptr); // Enter started typing
    press(Qt::Key_Return);

    // Column 0 and the list columns copy nothing.
    const ChannelTable before = state.table();
    clickCell(Column::ChannelNumber, 5);
    type(QStringLiteral("7"));
    press(Qt::Key_Return);
    EXPECT_EQ(cell(Column::RxFrequency, 5), before.cell(Column::RxFrequency, 5));
    EXPECT_EQ(cell(Column::TxFrequency, 5), before.cell(Column::TxFrequency, 5));
    EXPECT_TRUE(state.dataChecked());
}

TEST_F(ChannelGridTest, CheckBoxesToggleByClickAndSpace)
{
    state.acceptCheck(state.image(), state.settingsDigitCount());
    ASSERT_EQ(state.table().flag(Column::Scan, 3), true);
    clickCell(Column::Scan, 3);
    EXPECT_EQ(state.table().flag(Column::Scan, 3), false);
    EXPECT_TRUE(grid->findChildren<QComboBox*>().isEmpty() ||
                !grid->findChild<QComboBox*>()->isVisible()); // no editor over a flag cell

    clickCell(Column::IdTone, 3);
    EXPECT_EQ(state.table().flag(Column::IdTone, 3), true);
    press(Qt::Key_Space);
    EXPECT_EQ(state.table().flag(Column::IdTone, 3), false);
    clickCell(Column::Active, 10);
    EXPECT_EQ(state.table().flag(Column::Active, 10), false);
    EXPECT_TRUE(state.dataChecked());
}

TEST_F(ChannelGridTest, CaptionRowIsNoCell)
{
    clickCell(Column::Squelch, 2);
    combo("ComboBox4")->hide();
    const QModelIndex before = grid->currentIndex();
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(columnIndex(Column::CtcssRx)) + 5, header->height() / 2));
    EXPECT_EQ(grid->currentIndex(), before);
    EXPECT_EQ(grid->selectedRow(), 2);
}

TEST_F(ChannelGridTest, MarksTheSelectedRowInItsColours)
{
    clickCell(Column::ChannelNumber, 4);
    grid->setFocus();
    EXPECT_EQ(pixelAt(Column::Squelch, 4), QColor(80, 127, 255));
    EXPECT_EQ(pixelAt(Column::Squelch, 5), QColor(255, 204, 204));
    EXPECT_EQ(pixelAt(Column::ChannelNumber, 4), QColor(80, 127, 255));
    // A flag cell of another row: its box on the box colour.
    EXPECT_EQ(pixelAt(Column::Scan, 6), QColor(80, 127, 255));
    EXPECT_EQ(grid->selectedRow(), 4);
    EXPECT_EQ(grid->selectedColumn(), Column::ChannelNumber);
    testing::saveScreenshot(*grid, QStringLiteral("channel-grid"));
}

TEST_F(ChannelGridTest, ColumnsAreAtLeastAsWideAsTheirDesignAndRowsTwentyHigh)
{
    const int designed[ColumnCount] = {40, 55, 55, 48, 47, 47, 46, 44, 42,
                                       33, 38, 35, 33, 34, 39, 40, 41, 32};
    // Every column fits without a horizontal scroll bar, also in a face far too big for the room.
    for (const int points : {0, 40}) {
        if (points > 0)
            grid->setFont(QFont(QStringLiteral("DejaVu Sans"), points));
        int total = 0;
        for (int column = 0; column < ColumnCount; ++column) {
            EXPECT_GE(grid->columnWidth(column), designed[column]) << column;
            total += grid->columnWidth(column);
        }
        EXPECT_LE(total, grid->viewport()->width()) << points;
        // The header as tall as the face, for the captions' underscores.
        EXPECT_GE(grid->horizontalHeader()->height(), grid->horizontalHeader()->fontMetrics().height())
            << points;
    }
    EXPECT_EQ(grid->rowHeight(0), ChannelGrid::RowHeight);
    if (QFontDatabase::families().isEmpty())
        GTEST_SKIP() << "no font to measure with (Qt's offscreen platform on Windows)";

    // No caption is clipped, also in a wider face than the condensed one (as Windows substitutes for
    // "MS Sans Serif"): its text fits the room the style leaves for a header's label.
    grid->setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    QStyleOptionHeader option;
    option.initFrom(grid->horizontalHeader());
    for (int column = 0; column < ColumnCount; ++column) {
        option.rect.setWidth(grid->columnWidth(column));
        const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_GE(grid->style()->subElementRect(QStyle::SE_HeaderLabel, &option).width(),
                  option.fontMetrics.horizontalAdvance(caption))
            << column;
    }
}

TEST_F(ChannelGridTest, RowsWithoutFlagsShowNoCheckBoxes)
{
    mainChild<QAction>("N3062")->trigger();
    mainChild<QAction>("N23")->trigger();
    QTest::mouseClick(windows.stationLinkWindow().findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                      Qt::LeftButton);
    ASSERT_TRUE(grid->isVisible());
    clickCell(Column::Scan, 2);
    EXPECT_FALSE(state.table().hasFlags(2));
    EXPECT_EQ(pixelAt(Column::Scan, 3), QColor(255, 204, 204));
}

} // namespace
} // namespace yalmera::ui
