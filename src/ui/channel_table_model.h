#pragma once

#include "model/channel_table.h"
#include "model/plan_mark.h"
#include "plan_markers.h"

#include <QHash>

#include <QAbstractTableModel>

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class PlanHistory;

// The channel table of the program's state as a Qt model: the caption row (table row 0) is the
// horizontal header, table rows 1..N are model rows 0..N-1. Cells are the texts the user sees;
// the flag columns carry their row's check box state. Edits go straight into the state, each one
// a step of the plan's history, and never touch the data-check gate.
class ChannelTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    ChannelTableModel(AppState& state, PlanHistory& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Table row of a model row.
    static int tableRow(const QModelIndex& index) { return index.row() + 1; }
    // Table column of a model column (the same place).
    static Column tableColumn(const QModelIndex& index) { return columnAt(index.column()); }

    // The kinds of marks on a cell, one bit each (1 << MarkKind), as an int.
    static constexpr int MarkKindsRole = Qt::UserRole + 1;
    // The cell marks of a kind replace those shown before (lines of the settings are not the
    // table's); a marked cell's tool tip gives the messages of all its marks.
    void setMarks(MarkKind kind, const PlanMarks& marks);

    // The state's table was replaced (rows, captions, flags may all differ).
    void reload();
    // Cells of the same table changed behind the model's back; rows and scroll position stay.
    void refreshCells();

private:
    AppState& m_state;
    PlanHistory& m_history;
    // Per kind: the messages of the marked cells, keyed by table row * ColumnCount + column.
    std::array<QHash<int, QStringList>, MarkKindCount> m_cellMarks;
};

} // namespace yalmera::ui
