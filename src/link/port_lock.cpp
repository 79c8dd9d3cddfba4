#include "port_lock.h"

#include "link/serial_port.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>
#include <QSysInfo>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>

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

bool isPath(const QString& device)
{
    return device.startsWith(u'/') || device.startsWith(u"./") || device.startsWith(u"../");
}

// Qt's port name: the device path without "/dev/".
QString portName(const QString& device)
{
    if (!isPath(device))
        return device;
    return device.startsWith(u"/dev/") ? device.mid(5) : device;
}

// "pts_3" for /dev/pts/3: the port name as lock files carry it.
QString fileNameOf(const QString& device)
{
    QString name = portName(device);
    name.replace(u'/', u'_');
    return name;
}

QByteArray readSome(int fd)
{
    char buffer[256];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    return n > 0 ? QByteArray(buffer, n) : QByteArray();
}

// The file name of the program the process runs ("yalmera-cli"); empty when the system does not
// tell (a process of another user).
QByteArray programOf(pid_t pid)
{
    char target[PATH_MAX];
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(link.constData(), target, sizeof target);
    if (n <= 0)
        return {};
    QByteArray path(target, n);
    return path.mid(path.lastIndexOf('/') + 1);
}

// A program replaced on disk while it runs is named with this suffix.
QByteArray withoutDeleted(QByteArray program)
{
    constexpr QByteArrayView Deleted = " (deleted)";
    if (program.endsWith(Deleted))
        program.chop(Deleted.size());
    return program;
}

enum class Owner {
    Live,    // a running process, or one of another machine sharing the folder
    Gone,    // no longer runs
    Unknown, // no format we know
};

// The owner a lock's content names, in the formats of the header. The PID leads the file as
// text ("%10d\n", Qt's first line) or is the whole of a four-byte file.
Owner ownerOf(const QByteArray& content)
{
    const QList<QByteArray> lines = content.split('\n');
    qint64 pid = 0;
    // Any PID the system gives (below 2^22) has a zero byte in binary and none as text.
    int binary = 0;
    const bool text = !(content.size() == sizeof binary && content.contains('\0'));
    if (text) {
        bool ok = false;
        pid = lines.value(0).simplified().split(' ').value(0).toLongLong(&ok);
        if (!ok)
            return Owner::Unknown;
    } else {
        std::memcpy(&binary, content.constData(), sizeof binary);
        pid = binary;
    }
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return Owner::Unknown;
    // Qt's format goes on with the program and host names.
    const QByteArray program = text ? withoutDeleted(lines.value(1).trimmed()) : QByteArray();
    const QByteArray host = text ? lines.value(2).trimmed() : QByteArray();
    if (!host.isEmpty() && host != QSysInfo::machineHostName().toUtf8())
        return Owner::Live; // a process of another machine sharing the folder
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return Owner::Gone;
    // A PID of a killed program that now runs another one, as Qt itself judges it.
    const QByteArray running = withoutDeleted(programOf(static_cast<pid_t>(pid)));
    if (!program.isEmpty() && !running.isEmpty() && running != program)
        return Owner::Gone;
    return Owner::Live;
}

// Judges one lock file; one whose owner is gone is removed when remove is set. Holding the
// file's flock while deciding keeps another program's removal (which needs it too) from racing
// ours, and a Qt program that holds the lock keeps that flock: it is live, whatever the file says.
Owner judge(const QString& path, bool remove)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Owner::Gone : Owner::Unknown;
    struct stat opened
    {
    };
    Owner owner = Owner::Unknown;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            owner = Owner::Live;
        } else {
            QByteArray content = readSome(fd);
            if (content.isEmpty()) {
                std::this_thread::sleep_for(EmptyLockSecondLook);
                content = readSome(fd);
            }
            owner = content.isEmpty() ? Owner::Gone : ownerOf(content);
        }
    }
    struct stat named
    {
    };
    if (owner == Owner::Gone && remove && ::lstat(name.constData(), &named) == 0 &&
        named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
        ::unlink(name.constData());
    ::close(fd);
    return owner;
}

// The lock folders that exist, each once (/var/lock is /run/lock on most systems).
QStringList lockFolders()
{
    QStringList folders;
    for (const QStringView folder : LockFolders) {
        const QString real = QFileInfo(folder.toString()).canonicalFilePath();
        if (!real.isEmpty() && !folders.contains(real))
            folders.append(real);
    }
    return folders;
}

} // namespace

QString resolvedDevice(const QString& device)
{
    const QString path = isPath(device) ? device : QStringLiteral("/dev/") + device;
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? device : real;
}

QString portLockFilePath(const QString& device)
{
    const QString name = fileNameOf(device);
    for (const QStringView folder : LockFolders) {
        const QFileInfo info(folder.toString());
        const QString path = folder.toString() + QStringLiteral("/LCK..") + name;
        if (info.isReadable() && (QFileInfo::exists(path) || info.isWritable()))
            return path;
    }
    return {};
}

PortLocks checkPortLocks(const QString& device)
{
    PortLocks locks;
    const QString name = QStringLiteral("LCK..") + fileNameOf(device);
    const QString own = portLockFilePath(device);
    const QString ownFolder =
        own.isEmpty() ? QString() : QFileInfo(QFileInfo(own).path()).canonicalFilePath();
    // Other programs' locks in the other folders are judged, never removed.
    for (const QString& folder : lockFolders()) {
        const QString path = folder + u'/' + name;
        if (folder != ownFolder && QFileInfo(path).exists() && judge(path, false) == Owner::Live)
            locks.held = true;
    }
    if (own.isEmpty() || locks.held)
        return locks;
    QStringList chain{own};
    for (QString removal = own + QStringLiteral(".rmlock");
         chain.size() <= MaxRemovalChain && QFileInfo::exists(removal); removal += QStringLiteral(".rmlock"))
        chain.append(removal);
    // Deepest removal file first, the lock itself last. Each is judged on its own: a live one
    // (another program removing the lock right now) stays.
    for (qsizetype i = chain.size() - 1; i > 0; --i)
        judge(chain[i], true);
    if (QFileInfo(own).exists()) {
        const Owner owner = judge(own, true);
        locks.held = owner == Owner::Live;
        locks.holderKilled = owner == Owner::Gone;
    }
    return locks;
}

bool lockOpenDevice(int fd)
{
    // A file system without flock fails otherwise: no reason to refuse the port.
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

namespace detail {

namespace {

// The first lock folder every user may write; empty when there is none.
QString sharedStateFolder()
{
    for (const QStringView folder : LockFolders) {
        const QFileInfo info(folder.toString());
        if (info.isDir() && info.isWritable())
            return info.filePath();
    }
    return {};
}

QByteArray statePath(const QString& device, const QString& kind)
{
    QString folder = sharedStateFolder();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/yalmera");
        QDir().mkpath(folder);
    }
    return QFile::encodeName(
        QStringLiteral("%1/yalmera-%2..%3").arg(folder, kind, fileNameOf(resolvedDevice(device))));
}

// A pseudo-terminal's number passes to the next one made, and the far end of the old one (a
// virtual station) went with it: a file last written before the device was made, or in the same
// tick of the file systems' clock (a few ms; a write's record comes at least the quiet-line time
// after its port opened), is of that earlier line. Ports of hardware keep their state across a new
// device node (an adapter plugged in again): the station behind them may still be the same.
bool olderThanPseudoTerminal(const struct stat& file, const QString& device)
{
    const QString resolved = resolvedDevice(device);
    struct stat made
    {
    };
    if (!resolved.startsWith(u"/dev/pts/") || ::stat(QFile::encodeName(resolved).constData(), &made) != 0)
        return false;
    return std::pair(file.st_mtim.tv_sec, file.st_mtim.tv_nsec) <=
           std::pair(made.st_ctim.tv_sec, made.st_ctim.tv_nsec);
}

} // namespace

std::optional<QByteArray> readPortState(const QString& device, const QString& kind)
{
    const int fd =
        ::open(statePath(device, kind).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat opened
    {
    };
    std::optional<QByteArray> content;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && !olderThanPseudoTerminal(opened, device))
        content = readSome(fd);
    ::close(fd);
    return content;
}

void writePortState(const QString& device, const QString& kind, const QByteArray& content)
{
    const QByteArray path = statePath(device, kind);
    // In the shared folder (sticky) another user's file can only be emptied, not removed.
    if (content.isEmpty() && (::unlink(path.constData()) == 0 || errno == ENOENT))
        return;
    int fd = ::open(path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && !content.isEmpty())
        fd =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    struct stat opened
    {
    };
    // Never a hard link planted in the shared folder, whose target another file is.
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_nlink == 1) {
        // Any user's next exchange on the port may update it.
        if (opened.st_uid == ::geteuid())
            ::fchmod(fd, 0666);
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t n =
                ::write(fd, content.constData(), static_cast<size_t>(content.size()));
        }
    }
    ::close(fd);
}

} // namespace detail

} // namespace yalmera
