#pragma once

#include "model/cell_block.h"

#include <QObject>

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class ChannelGrid;
class PlanHistory;
class UserInterfaceFeedback;

// The commands of "Правка" that work on the channel table: the clipboard, as tab-separated text
// that spreadsheets exchange, and the rows. Each change is one step of the plan's history; the
// grid shows the cells a command or an undo touched.
class TableCommands : public QObject
{
    Q_OBJECT

public:
    TableCommands(AppState& state, PlanHistory& history, ChannelGrid& grid, UserInterfaceFeedback& feedback,
                  QObject* parent = nullptr);

public slots:
    // The selected cells to the clipboard; flags as "да" / "нет".
    void copy();
    // The clipboard's block into the table from the selected cell; one text fills the selection.
    void paste();
    // A copy of the current row after it (the last row when none is current).
    void insertChannel();
    void removeChannels();
    void moveChannelsUp() { moveChannels(-1); }
    void moveChannelsDown() { moveChannels(1); }

    // The table changed under the grid (a command, an undo): cells or rows shown anew, `cells`
    // selected.
    void showTableChange(const yalmera::CellRange& cells, bool rowsChanged);

private:
    // Whether the table is on the screen to work on.
    bool tableShown() const;
    void moveChannels(int step);

    AppState& m_state;
    PlanHistory& m_history;
    ChannelGrid& m_grid;
    UserInterfaceFeedback& m_feedback;
};

} // namespace yalmera::ui
