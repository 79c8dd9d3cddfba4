#pragma once

#include "model/plan_mark.h"

#include <QColor>
#include <QObject>

#include <array>

class QPlainTextEdit;

namespace yalmera::ui {

class ChannelGrid;
class ChannelTableModel;

// The kinds of marks the window shows at once, each in a colour of its own.
enum class MarkKind {
    Refusal,    // what "Контроль" would refuse
    Difference, // where a compared station holds something else
};
inline constexpr std::size_t MarkKindCount = 2;

QColor markColour(MarkKind kind);

// Shows marks on the plan's views and leads to them: on a cell a corner triangle in the kind's
// colour (the cell's own colours stay) with the messages as its tool tip, on a settings line a
// wavy underline with the messages as the line's tool tip. Visiting a mark selects its cell or
// puts the editor's cursor on its line.
class PlanMarkers : public QObject
{
    Q_OBJECT

public:
    PlanMarkers(ChannelTableModel& model, ChannelGrid& grid, QPlainTextEdit& settingsEditor,
                QObject* parent = nullptr);

    // The marks of a kind replace the ones shown before.
    void show(MarkKind kind, PlanMarks marks);
    const PlanMarks& marks(MarkKind kind) const { return m_marks[index(kind)]; }
    // The messages of every kind on a settings line, one per line of the text.
    QString lineMessages(int line) const;

    // The next (or previous) mark of a kind after the place that has the focus (the grid's
    // current cell, the editor's line), round the plan; from elsewhere the first (or last).
    // False when there is none.
    bool visitNext(MarkKind kind, bool backwards = false);
    // The first mark of a kind, wherever the focus is.
    bool visitFirst(MarkKind kind);

signals:
    void marksChanged(yalmera::ui::MarkKind kind, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(MarkKind kind) { return static_cast<std::size_t>(kind); }
    void showOnSettingsLines();
    std::optional<PlanMark> focusedPlace() const;
    void visit(const PlanMark& mark);

    ChannelTableModel& m_model;
    ChannelGrid& m_grid;
    QPlainTextEdit& m_settingsEditor;
    std::array<PlanMarks, MarkKindCount> m_marks;
};

} // namespace yalmera::ui
