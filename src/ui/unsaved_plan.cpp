#include "unsaved_plan.h"

#include "ui_texts.h"

#include "files/plan_recovery.h"

#include <QDir>

namespace yalmera::ui {

bool holdsWholePlan(const AppState& state)
{
    return state.tableCreated() && state.table().firstRowWithoutFlags() == 0;
}

UnsavedPlan::UnsavedPlan(const AppState& state, files::RecoveryFolder& recovery, QObject* parent)
    : QObject(parent), m_state(state), m_recovery(recovery), m_saved(contentOf(state))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(DefaultIdleTime);
    connect(&m_idle, &QTimer::timeout, this, &UnsavedPlan::keepNow);
}

UnsavedPlan::Content UnsavedPlan::contentOf(const AppState& state)
{
    return {state.settings(), state.table(), state.tableCreated(), state.stationType(), state.moduleType()};
}

void UnsavedPlan::markSaved()
{
    m_saved = contentOf(m_state);
    m_idle.stop();
    setUnsaved(false);
    m_recovery.discard();
}

void UnsavedPlan::noteChange()
{
    // Only a plan that can be saved counts: before the first table there is nothing to save, and
    // a band change takes the table's flags away until a new table is made.
    setUnsaved(holdsWholePlan(m_state) && !(contentOf(m_state) == m_saved));
    m_idle.start();
}

void UnsavedPlan::keepNow()
{
    m_idle.stop();
    if (!m_unsaved) {
        m_recovery.discard();
        return;
    }
    QString failure = m_recovery.keep(recoveryPlanOf(m_state));
    if (!failure.isEmpty())
        failure =
            texts::ui::RecoveryNotKept.toString().arg(QDir::toNativeSeparators(m_recovery.folder()), failure);
    if (failure != m_recoveryFailure) {
        m_recoveryFailure = failure;
        emit recoveryFailureChanged(failure);
    }
}

void UnsavedPlan::discardCopy()
{
    m_idle.stop();
    m_recovery.discard();
}

void UnsavedPlan::setUnsaved(bool unsaved)
{
    if (unsaved == m_unsaved)
        return;
    m_unsaved = unsaved;
    emit unsavedChanged(unsaved);
}

files::RecoveryPlan UnsavedPlan::recoveryPlanOf(const AppState& state)
{
    files::RecoveryPlan plan;
    plan.settings = state.settings();
    plan.table = state.table();
    plan.tableCreated = state.tableCreated();
    plan.band = state.stationType().band;
    plan.typeCode = state.stationType().typeCode;
    plan.moduleType = moduleCode(state.moduleType());
    plan.planFile = state.planFile();
    plan.kept = QDateTime::currentDateTime();
    return plan;
}

PlanSnapshot UnsavedPlan::snapshotOf(const files::RecoveryPlan& plan)
{
    PlanSnapshot snapshot;
    snapshot.settings = plan.settings;
    snapshot.table = plan.table;
    snapshot.tableCreated = plan.tableCreated;
    snapshot.stationType = StationType::forBand(plan.band);
    snapshot.stationType.typeCode = plan.typeCode;
    snapshot.moduleType = moduleTypeOfCode(plan.moduleType);
    snapshot.planFile = plan.planFile;
    return snapshot;
}

} // namespace yalmera::ui
