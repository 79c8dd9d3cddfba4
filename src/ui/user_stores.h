#pragma once

#include "files/plan_recovery.h"
#include "files/recent_plans.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace yalmera::ui {

// The few choices of the windows that outlive a run, kept in a small INI file of the user's
// configuration: the roomy main window and the check of a write by a read (both off until the
// user turns them on), the folder of the plans last used, the port last chosen for a station,
// and where the user left the windows of their own. A first start is the program as it always was.
class UserChoices
{
public:
    // storePath: the INI file; it is made on the first change.
    explicit UserChoices(QString storePath);

    bool roomyWindow() const;
    void setRoomyWindow(bool on);
    bool verifyAfterWrite() const;
    void setVerifyAfterWrite(bool on);
    // The folder of the plan or spreadsheet file last read, written or chosen; empty at first.
    QString planFolder() const;
    void setPlanFolder(const QString& folder);
    // The station-link window's port: the choice (" COM1", " COM2" or the other port) and the
    // text of the other port's field, which is kept when another choice is made.
    enum class Port { Com1, Com2, Other };
    Port stationPort() const;
    void setStationPort(Port port);
    QString otherPortName() const;
    void setOtherPortName(const QString& name);
    // A window's size and place as QWidget::saveGeometry gives them; empty until it was shown.
    QByteArray windowPlace(const QString& window) const;
    void setWindowPlace(const QString& window, const QByteArray& place);

private:
    QVariant value(const QString& key, const QVariant& fallback = false) const;
    void setValue(const QString& key, const QVariant& value);

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
