#include "channel_table_model.h"

#include "plan_history.h"
#include "ui_texts.h"

#include "session/app_state.h"

namespace yalmera::ui {

ChannelTableModel::ChannelTableModel(AppState& state, PlanHistory& history, QObject* parent)
    : QAbstractTableModel(parent), m_state(state), m_history(history)
{
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_state.table().channelCount();
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Column column = tableColumn(index);
    const int row = tableRow(index);
    if (role == Qt::ToolTipRole || role == MarkKindsRole) {
        const int key = row * ColumnCount + index.column();
        QStringList messages;
        int kinds = 0;
        for (std::size_t kind = 0; kind < MarkKindCount; ++kind) {
            const auto found = m_cellMarks[kind].constFind(key);
            if (found == m_cellMarks[kind].cend())
                continue;
            messages += *found;
            kinds |= 1 << kind;
        }
        if (role == MarkKindsRole)
            return kinds;
        return messages.isEmpty() ? QVariant() : messages.join(u'\n');
    }
    if (isFlagColumn(column)) {
        if (role != Qt::CheckStateRole)
            return {};
        const auto flag = m_state.table().flag(column, row);
        if (!flag)
            return {};
        return *flag ? Qt::Checked : Qt::Unchecked;
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_state.table().cell(column, row);
    return {};
}

void ChannelTableModel::setMarks(MarkKind kind, const PlanMarks& marks)
{
    QHash<int, QStringList>& cells = m_cellMarks[static_cast<std::size_t>(kind)];
    cells.clear();
    for (const PlanMark& mark : marks) {
        if (mark.isCell())
            cells[mark.row * ColumnCount + columnIndex(mark.column)].append(mark.message);
    }
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::ToolTipRole, MarkKindsRole});
}

bool ChannelTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const Column column = tableColumn(index);
    const int row = tableRow(index);
    const CellRange cell{row, row, index.column(), index.column()};
    TableSnapshot before = m_state.tableSnapshot();
    if (isFlagColumn(column)) {
        if (role != Qt::CheckStateRole || !m_state.table().hasFlags(row))
            return false;
        m_state.editTable().setFlag(column, row, value.value<Qt::CheckState>() == Qt::Checked);
        m_history.recordTableEdit(texts::ui::FlagStep.toString(), std::move(before), cell);
    } else {
        if (role != Qt::EditRole)
            return false;
        const QString text = value.toString();
        if (m_state.table().cell(column, row) == text)
            return true;
        m_state.editTable().setCell(column, row, text);
        // Every keystroke reaches the cell; one step holds all of them while the editor is open.
        m_history.recordTableEdit(texts::ui::CellEditStep.toString(), std::move(before), cell,
                                  PlanHistory::TableEdit::Typing);
    }
    emit dataChanged(index, index, {role});
    return true;
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_state.table().cell(columnAt(section), 0);
    return section + 1;
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isFlagColumn(tableColumn(index))) {
        if (m_state.table().hasFlags(tableRow(index)))
            result |= Qt::ItemIsUserCheckable;
    } else {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

void ChannelTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void ChannelTableModel::refreshCells()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

} // namespace yalmera::ui
