#include "plan_history.h"

#include <QUndoStack>

#include <utility>

namespace yalmera::ui {

namespace {

// Each step holds two tables that share their unchanged texts with each other and the state.
constexpr int UndoLimit = 500;
constexpr int TypingStepId = 1;

class TableStep : public QUndoCommand
{
public:
    TableStep(PlanHistory& history, AppState& state, const QString& name, TableSnapshot before,
              TableSnapshot after, const CellRange& cellsBefore, const CellRange& cellsAfter,
              PlanHistory::TableEdit kind, int session)
        : QUndoCommand(name), m_history(history), m_state(state), m_before(std::move(before)),
          m_after(std::move(after)), m_cellsBefore(cellsBefore), m_cellsAfter(cellsAfter), m_kind(kind),
          m_session(session)
    {
    }

    int id() const override { return m_kind == PlanHistory::TableEdit::Typing ? TypingStepId : -1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const TableStep*>(other);
        if (next->m_session != m_session || next->m_cellsAfter != m_cellsAfter)
            return false;
        m_after = next->m_after;
        // Typing back the text the cell had (Escape does) leaves no step.
        setObsolete(m_after.table == m_before.table);
        return true;
    }

    void undo() override
    {
        m_history.endTyping();
        m_state.restoreTable(m_before);
        emit m_history.tableRestored(m_cellsBefore, rowsChanged());
    }

    void redo() override
    {
        // The first time, the change is already made.
        if (std::exchange(m_pending, false))
            return;
        m_history.endTyping();
        if (m_kind == PlanHistory::TableEdit::RepeaterMark)
            m_state.restoreMarkedTable(m_after);
        else
            m_state.restoreTable(m_after);
        emit m_history.tableRestored(m_cellsAfter, rowsChanged());
    }

private:
    bool rowsChanged() const
    {
        return m_before.layout != m_after.layout || m_before.table.rowCount() != m_after.table.rowCount();
    }

    PlanHistory& m_history;
    AppState& m_state;
    TableSnapshot m_before;
    TableSnapshot m_after;
    CellRange m_cellsBefore;
    CellRange m_cellsAfter;
    PlanHistory::TableEdit m_kind;
    int m_session;
    bool m_pending = true;
};

class PlanStep : public QUndoCommand
{
public:
    PlanStep(PlanHistory& history, AppState& state, const QString& name, PlanSnapshot before)
        : QUndoCommand(name), m_history(history), m_state(state), m_other(std::move(before))
    {
    }

    // Whichever plan is put back, the one it replaces is kept as it stands, with the settings
    // text and module as the user left them since.
    void undo() override { swap(); }
    void redo() override
    {
        if (!std::exchange(m_pending, false))
            swap();
    }

private:
    void swap()
    {
        m_history.endTyping();
        PlanSnapshot current = m_state.snapshot();
        m_state.restore(std::move(m_other));
        m_other = std::move(current);
        emit m_history.planRestored();
    }

    PlanHistory& m_history;
    AppState& m_state;
    PlanSnapshot m_other;
    bool m_pending = true;
};

} // namespace

PlanHistory::PlanHistory(AppState& state, QObject* parent)
    : QObject(parent), m_state(state), m_stack(new QUndoStack(this))
{
    m_stack->setUndoLimit(UndoLimit);
}

void PlanHistory::recordTableEdit(const QString& name, TableSnapshot before, const CellRange& cells,
                                  TableEdit kind)
{
    recordTableEdit(name, std::move(before), cells, cells, kind);
}

void PlanHistory::recordTableEdit(const QString& name, TableSnapshot before, const CellRange& cellsBefore,
                                  const CellRange& cellsAfter, TableEdit kind)
{
    if (kind != TableEdit::Typing)
        endTyping();
    TableSnapshot after = m_state.tableSnapshot();
    if (after.table == before.table && after.repeaterSavedTexts == before.repeaterSavedTexts)
        return;
    m_stack->push(new TableStep(*this, m_state, name, std::move(before), std::move(after), cellsBefore,
                                cellsAfter, kind, m_typingSession));
}

void PlanHistory::recordPlanReplacement(const QString& name)
{
    endTyping();
    if (std::optional<PlanSnapshot> replaced = m_state.takeReplacedPlan())
        m_stack->push(new PlanStep(*this, m_state, name, std::move(*replaced)));
}

void PlanHistory::clear()
{
    m_stack->clear();
    (void)m_state.takeReplacedPlan();
}

} // namespace yalmera::ui
