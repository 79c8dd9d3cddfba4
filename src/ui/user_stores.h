#pragma once

#include "files/plan_recovery.h"
#include "files/recent_plans.h"

#include <QString>

namespace yalmera::ui {

// The few choices of the windows that outlive a run, kept in a small INI file of the user's
// configuration: the roomy main window and the check of a write by a read. Both are off until
// the user turns them on, so a first start is the program as it always was.
class UserChoices
{
public:
    // storePath: the INI file; it is made on the first change.
    explicit UserChoices(QString storePath);

    bool roomyWindow() const;
    void setRoomyWindow(bool on);
    bool verifyAfterWrite() const;
    void setVerifyAfterWrite(bool on);

private:
    bool value(const QString& key) const;
    void setValue(const QString& key, bool on);

    QString m_storePath;
};

// What the desktop program keeps between runs, each in a file of its own: the plan files last
// used, the windows' choices, and the recovery copies of unsaved plans. Tests give folders of
// their own, never the user's.
struct UserStores
{
    UserStores(const QString& configFolder, const QString& recoveryFolder);
    // The user's configuration folder ("yalmera" there) and the recovery folder beside the
    // exchange journal.
    static UserStores forUser();

    files::RecentPlans recentPlans;
    UserChoices choices;
    files::RecoveryFolder recovery;
};

} // namespace yalmera::ui
