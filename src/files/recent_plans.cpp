#include "recent_plans.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace yalmera::files {

namespace {

const QString ListKey = QStringLiteral("recent/plans");

// Two spellings of one file count as one: the absolute, cleaned path decides.
QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentPlans::RecentPlans(QString storePath) : m_storePath(std::move(storePath)) {}

QString RecentPlans::userStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/yalmera/recent.ini");
}

QStringList RecentPlans::paths() const
{
    const QSettings store(m_storePath, QSettings::IniFormat);
    return store.value(ListKey).toStringList().mid(0, MaxCount);
}

void RecentPlans::remember(const QString& path)
{
    const QString file = normalised(path);
    QStringList list = paths();
    list.removeAll(file);
    list.prepend(file);
    QSettings store(m_storePath, QSettings::IniFormat);
    store.setValue(ListKey, list.mid(0, MaxCount));
}

} // namespace yalmera::files
