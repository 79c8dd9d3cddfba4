#include "user_stores.h"

#include <QFileInfo>
#include <QSettings>

namespace yalmera::ui {

namespace {

const QString RoomyWindowKey = QStringLiteral("window/roomy");
const QString VerifyAfterWriteKey = QStringLiteral("station/verifyAfterWrite");
const QString PlanFolderKey = QStringLiteral("files/planFolder");
const QString StationPortKey = QStringLiteral("station/port");
const QString OtherPortKey = QStringLiteral("station/otherPort");
const QString WindowPlaceKey = QStringLiteral("places/%1");
// The port choices as the file spells them; anything else is " COM2", the first start's.
const QString Com1Word = QStringLiteral("COM1");
const QString OtherPortWord = QStringLiteral("other");

} // namespace

UserChoices::UserChoices(QString storePath) : m_storePath(std::move(storePath)) {}

bool UserChoices::roomyWindow() const
{
    return value(RoomyWindowKey).toBool();
}

void UserChoices::setRoomyWindow(bool on)
{
    setValue(RoomyWindowKey, on);
}

bool UserChoices::verifyAfterWrite() const
{
    return value(VerifyAfterWriteKey).toBool();
}

void UserChoices::setVerifyAfterWrite(bool on)
{
    setValue(VerifyAfterWriteKey, on);
}

QString UserChoices::planFolder() const
{
    return value(PlanFolderKey, QString()).toString();
}

void UserChoices::setPlanFolder(const QString& folder)
{
    setValue(PlanFolderKey, folder);
}

UserChoices::Port UserChoices::stationPort() const
{
    const QString port = value(StationPortKey, QString()).toString();
    if (port == Com1Word)
        return Port::Com1;
    return port == OtherPortWord ? Port::Other : Port::Com2;
}

void UserChoices::setStationPort(Port port)
{
    setValue(StationPortKey, port == Port::Com1    ? Com1Word
                             : port == Port::Other ? OtherPortWord
                                                   : QStringLiteral("COM2"));
}

QString UserChoices::otherPortName() const
{
    return value(OtherPortKey, QString()).toString();
}

void UserChoices::setOtherPortName(const QString& name)
{
    setValue(OtherPortKey, name);
}

QByteArray UserChoices::windowPlace(const QString& window) const
{
    return value(WindowPlaceKey.arg(window), QByteArray()).toByteArray();
}

void UserChoices::setWindowPlace(const QString& window, const QByteArray& place)
{
    setValue(WindowPlaceKey.arg(window), place);
}

QVariant UserChoices::value(const QString& key, const QVariant& fallback) const
{
    const QSettings store(m_storePath, QSettings::IniFormat);
    return store.value(key, fallback);
}

void UserChoices::setValue(const QString& key, const QVariant& value)
{
    QSettings store(m_storePath, QSettings::IniFormat);
    store.setValue(key, value);
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
