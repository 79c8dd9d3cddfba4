#pragma once

#include "model/cell_block.h"
#include "model/channel_table.h"

#include <QColor>
#include <QTableView>

#include <optional>

namespace yalmera::ui {

class ChannelCellDelegate;
class ChannelTableModel;
class UserInterfaceFeedback;

// The channel table's grid ("StringGrid1"): typing in the number and frequency columns, a
// drop-down list that opens as soon as a list cell is selected, the row's check boxes in the
// flag cells, Enter copying one frequency to the other, and the table's colours. Shift with a
// click or the arrows selects a rectangle of cells, for the clipboard and the row commands.
// Up, Down, PgUp, PgDn, Home and End move between rows in every column, also from a closed
// list: its item changes only when one is picked from the open list. Tab and Shift+Tab go from
// cell to cell along the rows, as in a spreadsheet, and on past the last cell or back before the
// first one to the window's other parts; Ctrl+Tab and Ctrl+Shift+Tab leave the table at once.
class ChannelGrid : public QTableView
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 20;  // px
    static const QColor MarkedBackground; // the selected row and the focused cell
    static const QColor FocusedText;
    static const QColor CellBackground;
    static const QColor CellText;
    static const QColor BlockBackground; // the cells of a selected block besides the focused one

    ChannelGrid(ChannelTableModel* model, UserInterfaceFeedback& feedback, QWidget* parent = nullptr);

    ChannelTableModel* channelModel() const { return m_model; }
    ChannelCellDelegate* cellDelegate() const { return m_delegate; }

    // Table row and column of the cell last selected; row 0 until a data cell was selected.
    int selectedRow() const { return m_selectedRow; }
    Column selectedColumn() const { return m_selectedColumn; }

    // Column widths in px as designed, columns 0..17. A column is wider where its caption needs
    // more room in the header's font.
    static int designedWidth(int column);
    // Room beyond the grid's own width (px, in a roomy window), shared by the columns in
    // proportion to their widths; 0 gives them their own widths back.
    void shareExtraWidth(int extra);

    // Whether an editor is open over a cell.
    bool isEditing() const { return state() == EditingState; }

    // Enter on a frequency cell copies it to the row's other frequency cell.
    void copyFrequencyOnEnter();

    // The selected rectangle, or the current cell alone; nothing when there is no cell.
    std::optional<CellRange> selectedRange() const;
    // Whether more than one cell is selected.
    bool selectsBlock() const;
    // Selects a rectangle (rows clamped to the table) with its first cell current, opening no list.
    void selectRange(const CellRange& range);
    // Writes what an open editor holds and closes it, before a command changes the table under it.
    void finishEditing();
    // A row key pressed over a closed list: the list closes as it is and the grid moves.
    void moveFromList(QKeyEvent* event);
    // The focus on to the window's next part, or back to the previous one, with what an open
    // editor holds written.
    void leaveTable(bool forward);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void forgetSelection();
    // Gives every column at least its designed width and room for its caption, as far as the
    // grid's width allows.
    void fitColumnsToCaptions();
    int m_extraWidth = 0; // px beyond the fixed window, shared by the columns

    ChannelTableModel* m_model;
    ChannelCellDelegate* m_delegate;
    UserInterfaceFeedback& m_feedback;
    int m_selectedRow = 0;
    Column m_selectedColumn = Column::ChannelNumber;
    // The current cell moves because a selection grows (Shift) or is set by a command: no list
    // opens on it then.
    mutable bool m_extendingSelection = false;
    bool m_selectingQuietly = false;
};

} // namespace yalmera::ui
