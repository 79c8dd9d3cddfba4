#include "port_lock.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSysInfo>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>

namespace yalmera {

namespace {

// The lock folders in the order Qt SerialPort tries them.
constexpr QStringView LockFolders[] = {u"/var/lock", u"/etc/locks", u"/var/spool/locks",  u"/var/spool/uucp",
                                       u"/tmp",      u"/var/tmp",   u"/var/lock/lockdev", u"/run/lock"};

// A killed program may leave its removal file behind, and a removal file of that removal file:
// more links than this are no chain a few kills build.
constexpr int MaxRemovalChain = 16;

// An empty lock file may be one another program has just created and is about to fill in. It is
// looked at again after this pause before it counts as left behind.
constexpr std::chrono::milliseconds EmptyLockSecondLook{100};

// Qt's port name: the device path without "/dev/".
QString portName(const QString& device)
{
    const bool path = device.startsWith(u'/') || device.startsWith(u"./") || device.startsWith(u"../");
    if (!path)
        return device;
    return device.startsWith(u"/dev/") ? device.mid(5) : device;
}

QByteArray readSome(int fd)
{
    char buffer[256];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    return n > 0 ? QByteArray(buffer, n) : QByteArray();
}

// Whether the lock's content names no live owner. Runs while this process holds the file's flock:
// an owner that keeps one (every Qt program does) is gone already.
bool ownerIsGone(int fd)
{
    QByteArray content = readSome(fd);
    if (content.isEmpty()) {
        std::this_thread::sleep_for(EmptyLockSecondLook);
        content = readSome(fd);
        if (content.isEmpty())
            return true;
    }
    const QList<QByteArray> lines = content.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false; // no lock of Qt's; not ours to judge
    const QByteArray host = lines.value(2).trimmed();
    if (!host.isEmpty() && host != QSysInfo::machineHostName().toUtf8())
        return false; // a process of another machine sharing the folder
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes one lock file when its owner is gone. Holding the flock while deciding keeps another
// program's removal (which needs it too) from racing ours.
void removeIfAbandoned(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened
    {
    };
    struct stat named
    {
    };
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ownerIsGone(fd) && ::lstat(name.constData(), &named) == 0 && named.st_ino == opened.st_ino &&
        named.st_dev == opened.st_dev)
        ::unlink(name.constData());
    ::close(fd);
}

} // namespace

QString portLockFilePath(const QString& device)
{
    QString name = portName(device);
    name.replace(u'/', u'_');
    for (const QStringView folder : LockFolders) {
        const QFileInfo info(folder.toString());
        const QString path = folder.toString() + QStringLiteral("/LCK..") + name;
        if (info.isReadable() && (QFileInfo::exists(path) || info.isWritable()))
            return path;
    }
    return {};
}

void clearAbandonedPortLock(const QString& device)
{
    const QString lock = portLockFilePath(device);
    if (lock.isEmpty())
        return;
    QStringList chain{lock};
    for (QString removal = lock + QStringLiteral(".rmlock");
         chain.size() <= MaxRemovalChain && QFileInfo::exists(removal); removal += QStringLiteral(".rmlock"))
        chain.append(removal);
    // Deepest removal file first, the lock itself last. Each is judged on its own: a live one
    // (another program removing the lock right now) stays.
    for (qsizetype i = chain.size() - 1; i >= 0; --i)
        removeIfAbandoned(chain[i]);
}

} // namespace yalmera
