#pragma once

#include "plan_markers.h"

#include <QObject>

class QMainWindow;
class QMenuBar;
class QToolButton;

namespace yalmera {
class AppState;
struct PlanComparison;
} // namespace yalmera

namespace yalmera::ui {

class UnsavedPlan;

// The plan's marks and what leads to them: what "Контроль" would refuse, marked after every
// change; where a compared station differs, marked until the plan is edited; beside the menus a
// count of each kind, which a click visits, and the mark of an unsaved plan; F8 / Shift+F8 walk
// the refusals, F7 / Shift+F7 the differences.
//
// Component names (objectName): MenuCorner with RefusalCount "ошибок: N", DifferenceCount
// "отличий: N" and UnsavedMark "изменён".
class PlanMarksCorner : public QObject
{
    Q_OBJECT

public:
    PlanMarksCorner(const AppState& state, PlanMarkers& markers, UnsavedPlan& unsaved, QMainWindow& window);

    // Beside the menus, outside the areas of the window; with the keys that walk the marks.
    void addTo(QMenuBar* bar);

    // Nothing while no plan is shown (before the first table, after a band change).
    void showRefusals(bool planShown);
    // A station compared with the plan: where it differs.
    void showComparison(const yalmera::PlanComparison& comparison);
    // The differences of the last comparison describe the plan as it was compared: an edit ends them.
    void dropDifferences();

private:
    // A count per kind of marks, in its colour; a click visits the first mark of the kind.
    QToolButton* addCount(QWidget* corner, const QString& name, MarkKind kind, QStringView text,
                          QStringView hint);
    void addUnsavedMark(QWidget* corner);
    void addVisitKeys();
    void fitCorner();

    const AppState& m_state;
    PlanMarkers& m_markers;
    UnsavedPlan& m_unsaved;
    QMainWindow& m_window;
    QMenuBar* m_bar = nullptr;
};

} // namespace yalmera::ui
