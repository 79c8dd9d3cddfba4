#include "save_target.h"

#include "files/files_texts.h"
#include "files/plan_file.h"
#include "files/whole_file.h"
#include "model/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <optional>
#include <utility>

#include "model/windows_api.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace yalmera::files {

namespace {

// Copy names tried before giving up: PLAN.ini.bak, then .2.bak .. .9999.bak.
constexpr int MaxBackupNumber = 9999;

QString backupName(const QString& path, int number)
{
    return number == 1 ? path + QStringLiteral(".bak") : path + QStringLiteral(".%1.bak").arg(number);
}

QString backupRefusal(const QString& name, const QString& reason)
{
    return texts::files::BackupNotMade.toString().arg(QDir::toNativeSeparators(name), reason);
}

// The name keepPrevious will take, or why none can be taken.
QString backupNameRefusal(const QString& path)
{
    for (int number = 1; number <= MaxBackupNumber; ++number) {
        const QString name = backupName(path, number);
        const QFileInfo info(name);
        if (info.isSymLink())
            return backupRefusal(name, texts::files::BackupIsLink.toString());
        if (!info.exists()) {
            const QString tooLong = nameLengthRefusal(name);
            return tooLong.isEmpty() ? QString() : backupRefusal(name, tooLong);
        }
        if (!info.isFile())
            return backupRefusal(name, texts::files::BackupNotAFile.toString());
        if (!info.isWritable())
            return backupRefusal(name, texts::files::BackupReadOnly.toString());
    }
    return backupRefusal(backupName(path, MaxBackupNumber), texts::files::BackupNamesTaken.toString());
}

// Where path leads: its links followed as far as they go.
QString realLocation(const QString& path)
{
    QString location = QFileInfo(path).absoluteFilePath();
    // A chain of links longer than the platform follows is a loop.
    for (int step = 0; step < 40 && QFileInfo(location).isSymLink(); ++step)
        location = QFileInfo(location).symLinkTarget();
    const QFileInfo info(location);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + u'/' + info.fileName();
}

// The identity of the file path leads to (links followed), the same under every name of it, hard
// links included: the device and the inode, on Windows the volume and the file index. None when
// there is no file there yet.
std::optional<std::pair<quint64, quint64>> fileIdentity(const QString& path)
{
#ifdef Q_OS_WIN
    const HANDLE handle =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return std::pair<quint64, quint64>(info.dwVolumeSerialNumber,
                                       (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
#else
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::pair<quint64, quint64>(info.st_dev, info.st_ino);
#endif
}

} // namespace

QString saveRefusal(const QString& path, Previous previous)
{
    const QFileInfo target(path);
    if (target.isDir())
        return texts::files::TargetIsFolder.toString();
    if (QString refusal = saveTargetRefusal(path); !refusal.isEmpty())
        return refusal;
    // The save goes through a new file in the same folder, renamed into place.
    QTemporaryFile probe(target.absolutePath() + QStringLiteral("/.yalmera-XXXXXX"));
    if (!probe.open())
        return systemErrorText(probe.errorString());
    if (target.exists() && !target.isWritable())
        return texts::files::TargetReadOnly.toString();
    if (previous == Previous::KeptAsBak && target.isFile()) {
        if (target.size() > MaxPlanFileBytes)
            return texts::files::TargetNoPlan.toString();
        return backupNameRefusal(path);
    }
    return {};
}

QString keepPrevious(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const WholeFileRead previous = readWholeFile(path, MaxPlanFileBytes);
    if (previous.tooLarge)
        return texts::files::TargetNoPlan.toString();
    if (!previous.bytes)
        return previous.error;
    for (int number = 1; number <= MaxBackupNumber; ++number) {
        const QString name = backupName(path, number);
        // Created only when the name is free: a copy of an earlier save, one another program
        // makes at the same moment, a link or a folder under that name stay untouched.
        QFile copy(name);
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QFileInfo taken(name);
            if (taken.exists() || taken.isSymLink())
                continue;
            return backupRefusal(name, systemErrorText(copy.errorString()));
        }
        const bool written = copy.write(*previous.bytes) == previous.bytes->size() && copy.flush();
        const QString error = systemErrorText(copy.errorString());
        copy.close();
        if (!written || copy.error() != QFileDevice::NoError) {
            copy.remove();
            return backupRefusal(name, written ? systemErrorText(copy.errorString()) : error);
        }
        return {};
    }
    return backupRefusal(backupName(path, MaxBackupNumber), texts::files::BackupNamesTaken.toString());
}

QString folderRefusal(const QString& folder)
{
    if (QString refusal = unspellableNameRefusal(folder, true); !refusal.isEmpty())
        return refusal;
    const QString wanted = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QString existing = wanted;
    while (!QFileInfo::exists(existing) && !QFileInfo(existing).isSymLink()) {
        if (QString tooLong = nameLengthRefusal(existing); !tooLong.isEmpty())
            return tooLong;
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    if (existing == wanted) {
        QTemporaryFile probe(existing + QStringLiteral("/.yalmera-XXXXXX"));
        return probe.open() ? QString() : systemErrorText(probe.errorString());
    }
    const QTemporaryDir probe(existing + QStringLiteral("/.yalmera-XXXXXX"));
    return probe.isValid() ? QString() : systemErrorText(probe.errorString());
}

bool sameFile(const QString& a, const QString& b)
{
    if (const auto first = fileIdentity(a)) {
        if (const auto second = fileIdentity(b))
            return *first == *second;
    }
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity Case = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity Case = Qt::CaseSensitive;
#endif
    return realLocation(a).compare(realLocation(b), Case) == 0;
}

} // namespace yalmera::files
