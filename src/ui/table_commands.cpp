#include "table_commands.h"

#include "channel_grid.h"
#include "channel_table_model.h"
#include "plan_history.h"
#include "ui_texts.h"
#include "user_feedback.h"

#include "files/delimited_text.h"
#include "session/app_state.h"

#include <QClipboard>
#include <QGuiApplication>

namespace yalmera::ui {

namespace {

constexpr QChar Tab = u'\t';

CellRange wholeRows(int first, int last)
{
    return {first, last, 0, ColumnCount - 1};
}

} // namespace

TableCommands::TableCommands(AppState& state, PlanHistory& history, ChannelGrid& grid,
                             UserInterfaceFeedback& feedback, QObject* parent)
    : QObject(parent), m_state(state), m_history(history), m_grid(grid), m_feedback(feedback)
{
    connect(&history, &PlanHistory::tableRestored, this, &TableCommands::showTableChange);
    // A closed editor ends its typing step.
    connect(grid.itemDelegate(), &QAbstractItemDelegate::closeEditor, &history, &PlanHistory::endTyping);
}

bool TableCommands::tableShown() const
{
    return !m_grid.isHidden() && m_grid.channelModel()->rowCount() > 0;
}

void TableCommands::showTableChange(const CellRange& cells, bool rowsChanged)
{
    if (rowsChanged)
        m_grid.channelModel()->reload();
    else
        m_grid.channelModel()->refreshCells();
    m_grid.selectRange(cells);
}

void TableCommands::copy()
{
    const auto range = m_grid.selectedRange();
    if (!tableShown() || !range)
        return;
    QGuiApplication::clipboard()->setText(formatDelimited(copyCells(m_state.table(), *range), Tab, u"\n"));
}

void TableCommands::paste()
{
    const auto target = m_grid.selectedRange();
    if (!tableShown() || !target)
        return;
    const QList<QStringList> block = parseDelimited(QGuiApplication::clipboard()->text(), Tab);
    if (block.isEmpty())
        return;
    m_grid.finishEditing();
    TableSnapshot before = m_state.tableSnapshot();
    const int rowsBefore = m_state.table().rowCount();
    const PasteResult pasted = pasteCells(m_state.editTable(), block, *target);
    if (!pasted.ok()) {
        m_feedback.show(pasted.refusal, &m_grid);
        return;
    }
    m_history.recordTableEdit(texts::ui::PasteStep.toString(), std::move(before), pasted.pasted);
    showTableChange(pasted.pasted, m_state.table().rowCount() != rowsBefore);
}

void TableCommands::insertChannel()
{
    if (!tableShown())
        return;
    m_grid.finishEditing();
    const QModelIndex current = m_grid.currentIndex();
    const int row = current.isValid() ? ChannelTableModel::tableRow(current) : m_state.table().channelCount();
    TableSnapshot before = m_state.tableSnapshot();
    if (const UserMessage refusal = m_state.insertChannelAfter(row); !refusal.isEmpty()) {
        m_feedback.show(refusal, &m_grid);
        return;
    }
    m_history.recordTableEdit(texts::ui::InsertChannelStep.toString(), std::move(before), wholeRows(row, row),
                              wholeRows(row + 1, row + 1));
    showTableChange(wholeRows(row + 1, row + 1), true);
}

void TableCommands::removeChannels()
{
    const auto range = m_grid.selectedRange();
    if (!tableShown() || !range)
        return;
    m_grid.finishEditing();
    TableSnapshot before = m_state.tableSnapshot();
    if (const UserMessage refusal = m_state.removeChannels(range->firstRow, range->lastRow);
        !refusal.isEmpty()) {
        m_feedback.show(refusal, &m_grid);
        return;
    }
    // The row that took the place of the first one removed, or the new last row.
    const int next = std::min(range->firstRow, m_state.table().channelCount());
    m_history.recordTableEdit(texts::ui::RemoveChannelsStep.toString(), std::move(before),
                              wholeRows(range->firstRow, range->lastRow), wholeRows(next, next));
    showTableChange(wholeRows(next, next), true);
}

void TableCommands::moveChannels(int step)
{
    const auto range = m_grid.selectedRange();
    if (!tableShown() || !range)
        return;
    m_grid.finishEditing();
    TableSnapshot before = m_state.tableSnapshot();
    if (!m_state.moveChannels(range->firstRow, range->lastRow, step))
        return;
    const CellRange moved{range->firstRow + step, range->lastRow + step, range->firstColumn,
                          range->lastColumn};
    m_history.recordTableEdit(texts::ui::MoveChannelsStep.toString(), std::move(before), *range, moved);
    showTableChange(moved, true);
}

} // namespace yalmera::ui
