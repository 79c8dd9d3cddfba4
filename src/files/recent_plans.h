#pragma once

#include <QString>
#include <QStringList>

namespace yalmera::files {

// The plan files last opened or saved, newest first, kept in a small INI file of the user's
// configuration so that the list outlives the run. Nothing else of the program is kept there.
class RecentPlans
{
public:
    static constexpr int MaxCount = 5;

    // storePath: the INI file that holds the list; it is made on the first change.
    explicit RecentPlans(QString storePath);

    // The store in the user's configuration folder ("yalmera/recent.ini" there).
    static QString userStorePath();

    QStringList paths() const;
    // The path first; an earlier mention of the same file goes, and the list keeps MaxCount.
    void remember(const QString& path);

private:
    QString m_storePath;
};

} // namespace yalmera::files
