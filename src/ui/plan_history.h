#pragma once

#include "model/cell_block.h"
#include "session/app_state.h"

#include <QObject>
#include <QString>

class QUndoStack;

namespace yalmera::ui {

// The steps "Отменить" and "Повторить" walk: the table's edits (cells, flags, Enter copies,
// repeater marks, pastes, rows) and the replacements of the whole plan (template, file, station,
// spreadsheet). Every step is recorded after the change was made, so each command keeps its own
// road and a failed command records nothing.
class PlanHistory : public QObject
{
    Q_OBJECT

public:
    enum class TableEdit {
        Plain,
        Typing,       // keystrokes into one cell join into one step until endTyping()
        RepeaterMark, // doing it again clears the gate, as the mark itself does
    };

    explicit PlanHistory(AppState& state, QObject* parent = nullptr);

    QUndoStack* stack() const { return m_stack; }

    // A table edit already made: one step from `before` to the table as it stands; `cells` are
    // the cells it touched. An edit that changed nothing is not kept.
    void recordTableEdit(const QString& name, TableSnapshot before, const CellRange& cells,
                         TableEdit kind = TableEdit::Plain);
    // The same for an edit that moved the cells it touched (rows moved or removed): undo shows
    // `cellsBefore`, redo `cellsAfter`.
    void recordTableEdit(const QString& name, TableSnapshot before, const CellRange& cellsBefore,
                         const CellRange& cellsAfter, TableEdit kind = TableEdit::Plain);
    // A replacement of the whole plan already made: one step back to the plan the state reports
    // replaced. Nothing is kept when it replaced nothing (a refused template).
    void recordPlanReplacement(const QString& name);
    // The cell editor closed: the next keystroke starts a new step.
    void endTyping() { ++m_typingSession; }
    // A band change takes the table away from view and its rows' flags: no step leads back into it.
    void clear();

signals:
    // An undo or redo put a table back; `cells` it concerned. rowsChanged: rows came, went or moved.
    void tableRestored(const yalmera::CellRange& cells, bool rowsChanged);
    // An undo or redo put a whole plan back, band and module included.
    void planRestored();

private:
    AppState& m_state;
    QUndoStack* m_stack;
    int m_typingSession = 0;
};

} // namespace yalmera::ui
