#include "user_stores.h"

#include <QFileInfo>
#include <QSettings>

namespace yalmera::ui {

namespace {

const QString RoomyWindowKey = QStringLiteral("window/roomy");
const QString VerifyAfterWriteKey = QStringLiteral("station/verifyAfterWrite");

} // namespace

UserChoices::UserChoices(QString storePath) : m_storePath(std::move(storePath)) {}

bool UserChoices::roomyWindow() const
{
    return value(RoomyWindowKey);
}

void UserChoices::setRoomyWindow(bool on)
{
    setValue(RoomyWindowKey, on);
}

bool UserChoices::verifyAfterWrite() const
{
    return value(VerifyAfterWriteKey);
}

void UserChoices::setVerifyAfterWrite(bool on)
{
    setValue(VerifyAfterWriteKey, on);
}

bool UserChoices::value(const QString& key) const
{
    const QSettings store(m_storePath, QSettings::IniFormat);
    return store.value(key, false).toBool();
}

void UserChoices::setValue(const QString& key, bool on)
{
    QSettings store(m_storePath, QSettings::IniFormat);
    store.setValue(key, on);
}

UserStores::UserStores(const QString& configFolder, const QString& recoveryFolder)
    : recentPlans(configFolder + QStringLiteral("/recent.ini")),
      choices(configFolder + QStringLiteral("/choices.ini")), recovery(recoveryFolder)
{
}

UserStores UserStores::forUser()
{
    // The recent files' store names the folder ("yalmera" in the user's configuration).
    return UserStores(QFileInfo(files::RecentPlans::userStorePath()).absolutePath(),
                      files::RecoveryFolder::userFolder());
}

} // namespace yalmera::ui
