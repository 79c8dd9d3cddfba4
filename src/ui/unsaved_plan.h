#pragma once

#include "session/app_state.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

namespace yalmera::files {
class RecoveryFolder;
struct RecoveryPlan;
} // namespace yalmera::files

namespace yalmera::ui {

// Whether the state holds a whole plan, one to show and to save: a table was made and every row
// has its flags (a band change takes them away until a new table is made).
bool holdsWholePlan(const AppState& state);

// Whether the plan differs from what was last saved to or read from a plan file (an undo back to
// that plan makes it saved again; a plan that cannot be saved, before the first table or after a
// band change, counts as saved), and the recovery copy of a plan that does: kept a few seconds
// after the edits pause, so that a crash, a kill or a power cut loses at most those seconds, and
// removed once the plan is saved or the program ends as asked.
class UnsavedPlan : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultIdleTime{3000};

    UnsavedPlan(const AppState& state, files::RecoveryFolder& recovery, QObject* parent = nullptr);

    bool isUnsaved() const { return m_unsaved; }
    // The plan as it stands is the one its file holds (it was just saved or read).
    void markSaved();
    // Anything of the plan may have changed: it is compared again, and an unsaved plan is kept
    // for recovery once the edits pause for the idle time.
    void noteChange();
    // The recovery copy kept at once (the program is told to end), or removed when saved.
    void keepNow();
    // The program ends as the user asked: no copy is left behind.
    void discardCopy();
    void setIdleTime(std::chrono::milliseconds idle) { m_idle.setInterval(idle); }

    // The plan as a recovery copy holds it, and back.
    static files::RecoveryPlan recoveryPlanOf(const AppState& state);
    static PlanSnapshot snapshotOf(const files::RecoveryPlan& plan);

signals:
    void unsavedChanged(bool unsaved);
    // Keeping the recovery copy failed (empty: it works again); the system's reason.
    void recoveryFailureChanged(const QString& failure);

private:
    // What a plan file holds of a plan, and what the user sees of it.
    struct Content
    {
        GeneralSettings settings;
        ChannelTable table;
        bool tableCreated = false;
        StationType stationType;
        ModuleType moduleType = ModuleType::None;

        friend bool operator==(const Content&, const Content&) = default;
    };
    static Content contentOf(const AppState& state);
    void setUnsaved(bool unsaved);

    const AppState& m_state;
    files::RecoveryFolder& m_recovery;
    Content m_saved;
    bool m_unsaved = false;
    QString m_recoveryFailure;
    QTimer m_idle;
};

} // namespace yalmera::ui
