#include "plan_marks_corner.h"

#include "station_comparison.h"
#include "ui_texts.h"
#include "unsaved_plan.h"

#include "image/data_check.h"
#include "session/app_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>

namespace yalmera::ui {

PlanMarksCorner::PlanMarksCorner(const AppState& state, PlanMarkers& markers, UnsavedPlan& unsaved,
                                 QMainWindow& window)
    : QObject(&window), m_state(state), m_markers(markers), m_unsaved(unsaved), m_window(window)
{
}

void PlanMarksCorner::addTo(QMenuBar* bar)
{
    // The plan's marks sit here, right of the menus, so that the window's areas and caption stay
    // as they are; further marks go into the same row.
    m_bar = bar;
    auto* corner = new QWidget(bar);
    corner->setObjectName(QStringLiteral("MenuCorner"));
    auto* marks = new QHBoxLayout(corner);
    marks->setContentsMargins(0, 0, 8, 0);
    marks->setSpacing(12);
    marks->addWidget(addCount(corner, QStringLiteral("RefusalCount"), MarkKind::Refusal,
                              texts::ui::RefusalCount, texts::ui::RefusalCountHint));
    marks->addWidget(addCount(corner, QStringLiteral("DifferenceCount"), MarkKind::Difference,
                              texts::ui::DifferenceCount, texts::ui::DifferenceCountHint));
    addUnsavedMark(corner);
    bar->setCornerWidget(corner, Qt::TopRightCorner);
    addVisitKeys();
}

QToolButton* PlanMarksCorner::addCount(QWidget* corner, const QString& name, MarkKind kind, QStringView text,
                                       QStringView hint)
{
    auto* count = new QToolButton(corner);
    count->setObjectName(name);
    count->setAutoRaise(true);
    count->setToolTip(hint.toString());
    count->setFocusPolicy(Qt::NoFocus);
    QPalette colours = count->palette();
    colours.setColor(QPalette::ButtonText, markColour(kind));
    count->setPalette(colours);
    count->hide();
    connect(count, &QToolButton::clicked, &m_markers, [this, kind] { m_markers.visitFirst(kind); });
    connect(&m_markers, &PlanMarkers::marksChanged, count,
            [this, count, kind, text](MarkKind changed, int n) {
                if (changed != kind)
                    return;
                count->setText(text.toString().arg(n));
                count->setVisible(n > 0);
                fitCorner();
            });
    return count;
}

void PlanMarksCorner::addUnsavedMark(QWidget* corner)
{
    auto* mark = new QLabel(texts::ui::UnsavedMark.toString(), corner);
    mark->setObjectName(QStringLiteral("UnsavedMark"));
    mark->setToolTip(texts::ui::UnsavedMarkHint.toString());
    mark->setForegroundRole(QPalette::PlaceholderText); // quiet
    mark->hide();
    corner->layout()->addWidget(mark);
    connect(&m_unsaved, &UnsavedPlan::unsavedChanged, mark, [this, mark](bool unsaved) {
        mark->setVisible(unsaved);
        fitCorner();
    });
    // A recovery copy that cannot be kept is said at the mark, not in a box in the middle of
    // typing: it is shown in the text's full colour and its hint gives the reason.
    connect(&m_unsaved, &UnsavedPlan::recoveryFailureChanged, mark, [mark](const QString& failure) {
        mark->setForegroundRole(failure.isEmpty() ? QPalette::PlaceholderText : QPalette::WindowText);
        mark->setToolTip(failure.isEmpty() ? texts::ui::UnsavedMarkHint.toString()
                                           : texts::ui::UnsavedMarkHint.toString() + u'\n' + failure);
    });
}

void PlanMarksCorner::addVisitKeys()
{
    const auto addKey = [this](QKeySequence key, MarkKind kind, bool backwards) {
        auto* shortcut = new QShortcut(key, &m_window);
        connect(shortcut, &QShortcut::activated, &m_markers,
                [this, kind, backwards] { m_markers.visitNext(kind, backwards); });
    };
    addKey(QKeySequence(Qt::Key_F8), MarkKind::Refusal, false);
    addKey(QKeySequence(Qt::SHIFT | Qt::Key_F8), MarkKind::Refusal, true);
    addKey(QKeySequence(Qt::Key_F7), MarkKind::Difference, false);
    addKey(QKeySequence(Qt::SHIFT | Qt::Key_F7), MarkKind::Difference, true);
}

void PlanMarksCorner::fitCorner()
{
    // The menu bar sizes its corner only when the corner is set: a mark shown or hidden, or a
    // count grown by a digit, would be cut off or leave a gap.
    m_bar->setCornerWidget(m_bar->cornerWidget(Qt::TopRightCorner), Qt::TopRightCorner);
}

void PlanMarksCorner::showRefusals(bool planShown)
{
    m_markers.show(MarkKind::Refusal,
                   planShown ? markRefusals(m_state.settings(), m_state.table(), m_state.stationType())
                             : PlanMarks{});
}

void PlanMarksCorner::showComparison(const PlanComparison& comparison)
{
    m_markers.show(MarkKind::Difference, comparisonMarks(comparison, m_state.settings()).marks);
}

void PlanMarksCorner::dropDifferences()
{
    m_markers.show(MarkKind::Difference, {});
}

} // namespace yalmera::ui
