#include "channel_grid.h"

#include "cell_editors.h"
#include "channel_cell_delegate.h"
#include "channel_table_model.h"
#include "user_feedback.h"

#include "model/channel_table.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <array>
#include <climits>
#include <numeric>

namespace yalmera::ui {

namespace {

// px. The frequency columns are 3 px wider than first drawn, so that a read-back text such as
// "145006,25" keeps a gap to the grid line.
constexpr std::array<int, ColumnCount> ColumnWidths{40, 58, 58, 48, 47, 47, 46, 44, 42,
                                                    33, 38, 35, 33, 34, 39, 40, 41, 32};

} // namespace

const QColor ChannelGrid::MarkedBackground(80, 127, 255);
const QColor ChannelGrid::FocusedText(128, 0, 128);
const QColor ChannelGrid::CellBackground(255, 204, 204);
const QColor ChannelGrid::CellText(Qt::darkBlue); // navy
const QColor ChannelGrid::BlockBackground(255, 230, 120);

int ChannelGrid::designedWidth(int column)
{
    if (column < 0 || column >= ColumnCount)
        return 0;
    return ColumnWidths[static_cast<std::size_t>(column)];
}

void ChannelGrid::shareExtraWidth(int extra)
{
    m_extraWidth = std::max(0, extra);
    fitColumnsToCaptions();
}

ChannelGrid::ChannelGrid(ChannelTableModel* model, UserInterfaceFeedback& feedback, QWidget* parent)
    : QTableView(parent), m_model(model), m_delegate(new ChannelCellDelegate(this)), m_feedback(feedback)
{
    setObjectName(QStringLiteral("StringGrid1"));
    setModel(model);
    setItemDelegate(m_delegate);

    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // The columns were laid out for "MS Sans Serif" 8 pt, a bitmap face that Qt does not draw on
    // Windows: there its TrueType twin "Microsoft Sans Serif" (Tahoma under Wine), elsewhere a
    // condensed face keeps the texts within the same widths.
    QFont cellFont(QStringLiteral("MS Sans Serif"), 8);
    cellFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                          QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                          QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow")});
    setFont(cellFont);
    horizontalHeader()->setFont(cellFont);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, CellBackground);
    colours.setColor(QPalette::Text, CellText);
    setPalette(colours);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    fitColumnsToCaptions();

    connect(m_delegate, &ChannelCellDelegate::enterPressedWhileTyping, this,
            &ChannelGrid::copyFrequencyOnEnter);
    connect(model, &QAbstractItemModel::modelReset, this, &ChannelGrid::forgetSelection);
}

void ChannelGrid::fitColumnsToCaptions()
{
    // Where "MS Sans Serif" gives way to a wider face (Windows substitutes one), the designed
    // widths would clip captions such as "P_max".
    const QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics(header->font());
    // The header's text margins either side and the grid line.
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int margins = 2 * margin + 1;
    // Tall enough for the captions' underscores too.
    horizontalHeader()->setFixedHeight(std::max(int(RowHeight), metrics.height() + 2 * margin));
    std::array<int, ColumnCount> extra{};
    int designed = 0;
    int wanted = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        int width = designedWidth(column);
        for (const CaptionStyle style : {CaptionStyle::Standard, CaptionStyle::FileRead})
            width = std::max(
                width, metrics.horizontalAdvance(columnCaption(yalmera::columnAt(column), style)) + margins);
        extra[static_cast<std::size_t>(column)] = width - designedWidth(column);
        designed += designedWidth(column);
        wanted += width;
    }
    // No wider than the grid shows (it has no horizontal scroll bar): where the room is short, each
    // column gets its share of what there is.
    const int room = std::max(viewport()->width(), designed);
    std::array<int, ColumnCount> widths{};
    for (int column = 0; column < ColumnCount; ++column) {
        const int more = extra[static_cast<std::size_t>(column)];
        widths[static_cast<std::size_t>(column)] =
            designedWidth(column) + (wanted > room ? more * (room - designed) / (wanted - designed) : more);
    }
    // A roomy window's extra width, as far as the captions left it, shared in proportion to the
    // widths by running sums, so that the columns together take exactly that much more.
    const int share = std::clamp(room - wanted, 0, m_extraWidth);
    const int total = std::max(1, std::accumulate(widths.begin(), widths.end(), 0));
    int widthsBefore = 0;
    int given = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        const int width = widths[static_cast<std::size_t>(column)];
        widthsBefore += width;
        const int upTo = share * widthsBefore / total;
        setColumnWidth(column, width + upTo - given);
        given = upTo;
    }
}

void ChannelGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumnsToCaptions();
}

void ChannelGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(font());
        fitColumnsToCaptions();
    }
}

void ChannelGrid::forgetSelection()
{
    m_selectedRow = 0;
    m_selectedColumn = Column::ChannelNumber;
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (current.isValid()) {
        m_selectedRow = ChannelTableModel::tableRow(current);
        m_selectedColumn = ChannelTableModel::tableColumn(current);
    }
    // The whole row of the selected cell is marked: repaint both rows, not just two cells.
    viewport()->update();
    QTableView::currentChanged(current, previous);
}

bool ChannelGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!index.isValid())
        return QTableView::edit(index, trigger, event);
    const CellEditor kind = editorForColumn(ChannelTableModel::tableColumn(index));
    switch (kind) {
    case CellEditor::Flag:
        // The delegate toggles the check box; a flag cell has no editor.
        return QTableView::edit(index, trigger, event);
    case CellEditor::Typed:
        // Typing starts with a key, a double click, F2 or Enter, not with the selection itself.
        if (trigger == CurrentChanged)
            return false;
        return QTableView::edit(index, trigger, event);
    default:
        break;
    }
    // A list opens as soon as its cell is selected, again on a click into the selected cell,
    // a double click, F2, Enter or a typed character (which the list then looks for). A cell
    // passed while a selection grows opens none.
    if (trigger == CurrentChanged &&
        (m_extendingSelection || m_selectingQuietly || state() == DragSelectingState))
        return false;
    if (trigger == NoEditTriggers)
        return QTableView::edit(index, trigger, event);
    const StartingItem start = startingItem(kind, index.data(Qt::EditRole).toString());
    if (start.kind == StartingItem::Kind::ConversionError) {
        m_feedback.show(UserMessage::failure(start.error), this);
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

QModelIndex ChannelGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    // Tab stops at the last cell and Shift+Tab at the first, rather than going round: the focus
    // then leaves the table.
    const int rows = m_model->rowCount();
    if (current.isValid() &&
        ((cursorAction == MoveNext && current.row() == rows - 1 && current.column() == ColumnCount - 1) ||
         (cursorAction == MovePrevious && current.row() == 0 && current.column() == 0)))
        return {};
    // Home and End go to the first and last row of the column, as the other row keys stay in it.
    if ((cursorAction == MoveHome || cursorAction == MoveEnd) && !(modifiers & Qt::ControlModifier) &&
        current.isValid() && m_model->rowCount() > 0)
        return m_model->index(cursorAction == MoveHome ? 0 : m_model->rowCount() - 1, current.column());
    return QTableView::moveCursor(cursorAction, modifiers);
}

QItemSelectionModel::SelectionFlags ChannelGrid::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    m_extendingSelection =
        command.testFlag(QItemSelectionModel::Current) && !command.testFlag(QItemSelectionModel::Clear);
    return command;
}

std::optional<CellRange> ChannelGrid::selectedRange() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid())
            return std::nullopt;
        const int row = ChannelTableModel::tableRow(current);
        return CellRange{row, row, current.column(), current.column()};
    }
    CellRange range{INT_MAX, 0, INT_MAX, 0};
    for (const QModelIndex& index : selected) {
        const int row = ChannelTableModel::tableRow(index);
        range.firstRow = std::min(range.firstRow, row);
        range.lastRow = std::max(range.lastRow, row);
        range.firstColumn = std::min(range.firstColumn, index.column());
        range.lastColumn = std::max(range.lastColumn, index.column());
    }
    return range;
}

bool ChannelGrid::selectsBlock() const
{
    const QItemSelection selection = selectionModel()->selection();
    return selection.size() > 1 ||
           (selection.size() == 1 && selection.first().width() * selection.first().height() > 1);
}

void ChannelGrid::selectRange(const CellRange& range)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const QModelIndex first = m_model->index(std::clamp(range.firstRow, 1, rows) - 1,
                                             std::clamp(range.firstColumn, 0, ColumnCount - 1));
    const QModelIndex last = m_model->index(std::clamp(range.lastRow, 1, rows) - 1,
                                            std::clamp(range.lastColumn, 0, ColumnCount - 1));
    m_selectingQuietly = true;
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    m_selectingQuietly = false;
    scrollTo(first);
}

void ChannelGrid::finishEditing()
{
    if (state() != EditingState)
        return;
    // The open editor has the input focus, or had it before a menu took it.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || !viewport()->isAncestorOf(editor))
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ChannelGrid::moveFromList(QKeyEvent* event)
{
    // Moving the current cell closes the list without writing it (nothing was picked) and opens
    // the list of the cell it comes to.
    setFocus(Qt::OtherFocusReason);
    QTableView::keyPressEvent(event);
}

void ChannelGrid::leaveTable(bool forward)
{
    finishEditing();
    // Past the table's own cell-by-cell Tab.
    QAbstractScrollArea::focusNextPrevChild(forward);
}

void ChannelGrid::copyFrequencyOnEnter()
{
    if (m_selectedRow == 0 || m_selectedRow > m_model->rowCount())
        return;
    const int modelRow = m_selectedRow - 1;
    Column from{};
    Column to{};
    if (m_selectedColumn == Column::RxFrequency) {
        from = Column::RxFrequency;
        to = Column::TxFrequency;
    } else if (m_selectedColumn == Column::TxFrequency) {
        from = Column::TxFrequency;
        to = Column::RxFrequency;
    } else {
        return;
    }
    m_model->setData(m_model->index(modelRow, columnIndex(to)),
                     m_model->index(modelRow, columnIndex(from)).data(Qt::EditRole));
}

void ChannelGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        copyFrequencyOnEnter();
        const QModelIndex current = currentIndex();
        if (current.isValid() && editorForColumn(ChannelTableModel::tableColumn(current)) != CellEditor::Flag)
            edit(current, EditKeyPressed, event);
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        leaveTable(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab out of an open editor: the next cell, whose list opens, or out of the table at its ends.
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem) {
        m_extendingSelection = false;
        const bool forward = hint == QAbstractItemDelegate::EditNextItem;
        if (!moveCursor(forward ? MoveNext : MovePrevious, Qt::NoModifier).isValid()) {
            QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
            leaveTable(forward);
            return;
        }
    }
    QTableView::closeEditor(editor, hint);
}

void ChannelGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update(); // the focused cell's colours
}

void ChannelGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

} // namespace yalmera::ui
