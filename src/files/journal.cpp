#include "journal.h"

#include "files/files_texts.h"
#include "files/plan_file.h"

#include "files/delimited_text.h"
#include "files/whole_file.h"
#include "model/system_error.h"
#include "model/version.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#include "model/windows_api.h"

#ifndef Q_OS_WIN
#include <sys/file.h>

#include <cerrno>
#endif

namespace yalmera::files {

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
const QByteArray LineEnd("\r\n");

// A text the user gave (a port, a file name, a serial number) or one that quotes such a text:
// every control character written as \xHH, so that no line break or tab in it can start another
// line or cell of the journal, and a single quote before it when a spreadsheet would run it as
// a formula.
QString journalText(QStringView text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) // C0, DEL and C1
            safe += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return spreadsheetText(safe);
}

// Held by every program appending to the journal while it appends, so that the size it sees is
// the size its line starts at and no two lines interleave (threads of one program included: each
// append opens the file anew). On Unix the file's flock; on Windows an exclusive LockFileEx on
// one byte far beyond any journal's end, through a handle of its own, so that no append or read
// of the lines themselves is ever refused. Released when it goes. Taken without blocking, tried
// again until the wait allows no more: a held lock never stops a program for good, and a signal
// meanwhile is seen at once. A system that cannot lock at all (some network drives) appends
// without it, as a journal it cannot lock is still the user's journal.
class AppendLock
{
public:
    AppendLock(QFile& file, const JournalWait& wait)
    {
#ifdef Q_OS_WIN
        m_handle = ::CreateFileW(reinterpret_cast<const wchar_t*>(file.fileName().utf16()), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        m_descriptor = file.handle();
#endif
        QElapsedTimer clock;
        clock.start();
        // Another append holds it a millisecond or so: tried again at once, then less and less
        // often.
        std::chrono::milliseconds pause(1);
        // A run that was stopped before its line (the window closed mid-run) still records what
        // it did: another append holding the lock a moment must not cost that line, so it waits
        // briefly; only a stop that comes during the wait ends it at once.
        const bool stoppedBefore = wait.stop && wait.stop->load();
        const std::chrono::milliseconds limit =
            stoppedBefore ? std::min(wait.limit, StoppedRunWait) : wait.limit;
        for (bool first = true;; first = false, pause = std::min(pause * 2, LongestPause)) {
            const Attempt attempt = tryLock();
            if (attempt != Attempt::Held)
                return;
            const std::chrono::milliseconds waited(first ? 0 : clock.elapsed());
            if (!stoppedBefore && wait.stop && wait.stop->load()) {
                m_refusal = texts::files::JournalWaitStopped.toString();
                return;
            }
            if ((wait.ranOut && wait.ranOut->load()) || waited >= limit) {
                if (wait.ranOut)
                    wait.ranOut->store(true);
                m_refusal = stoppedBefore ? texts::files::JournalWaitStopped.toString()
                                          : texts::files::JournalHeld.toString().arg(secondsText(wait.limit));
                return;
            }
            if (wait.waiting)
                wait.waiting(waited);
            QThread::msleep(static_cast<unsigned long>(std::min(pause, limit - waited).count()));
        }
    }
    ~AppendLock()
    {
#ifdef Q_OS_WIN
        if (m_handle != INVALID_HANDLE_VALUE) {
            if (m_locked)
                ::UnlockFileEx(m_handle, 0, 1, 0, place());
            ::CloseHandle(m_handle);
        }
#endif
        // flock's lock goes with the file's descriptor.
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

    // Why the line may not be appended: another program held the journal all the wait long, or
    // the wait was stopped. Empty when it may.
    const QString& refusal() const
    {
        return m_refusal;
    }

private:
    static constexpr std::chrono::milliseconds LongestPause{50};
    static constexpr std::chrono::milliseconds StoppedRunWait{2000};

    enum class Attempt { Taken, Held, Unlockable };

    Attempt tryLock()
    {
#ifdef Q_OS_WIN
        if (m_handle == INVALID_HANDLE_VALUE)
            return Attempt::Unlockable;
        if (::LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, place())) {
            m_locked = true;
            return Attempt::Taken;
        }
        const DWORD error = ::GetLastError();
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Attempt::Held
                                                                          : Attempt::Unlockable;
#else
        for (;;) {
            if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0)
                return Attempt::Taken;
            if (errno != EINTR)
                return errno == EWOULDBLOCK ? Attempt::Held : Attempt::Unlockable;
        }
#endif
    }

    // "30", "0,5": the wait in seconds as the journal's other Russian texts write numbers.
    static QString secondsText(std::chrono::milliseconds wait)
    {
        return QString::number(static_cast<double>(wait.count()) / 1000.0, 'g', 6).replace(u'.', u',');
    }

#ifdef Q_OS_WIN
    OVERLAPPED* place()
    {
        m_place = {};
        m_place.OffsetHigh = 0x7FFFFFFF; // byte 2^63 - 2^32: no journal reaches it
        return &m_place;
    }
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    OVERLAPPED m_place{};
    bool m_locked = false;
#else
    int m_descriptor = -1;
#endif
    QString m_refusal;
};

// Whether the file's last byte (of its first `size`) ends a line. A file that cannot be read
// there is taken as ended: the worst that follows is the glued line this guards against.
bool endsWithLineEnd(QFile& file, qint64 size)
{
    if (size == 0 || !file.seek(size - 1))
        return true;
    char last = 0;
    return file.read(&last, 1) != 1 || last == '\n';
}

// Appends the line (after the byte-order mark and the captions when the file is empty; after a
// line end when the last line has none, so that the line never joins it) through the descriptor
// opened to append, under the AppendLock, and cuts a line that cannot be written whole (a full
// disk) off again at the size the file had before it, so that no fragment stays for the next line
// to be glued onto. Returns the system's reason, empty on success.
QString appendWhole(QFile& file, const JournalWait& wait, const QList<QStringList>& captions,
                    const QStringList& fields)
{
    const AppendLock lock(file, wait);
    if (!lock.refusal().isEmpty())
        return lock.refusal();
    const qint64 before = file.size();
    QByteArray bytes;
    if (before == 0)
        bytes = ByteOrderMark + formatCsv(captions).toUtf8();
    else if (!endsWithLineEnd(file, before))
        bytes = LineEnd;
    bytes += formatCsv({fields}).toUtf8();
    // Windows has no append mode: Qt put the position at the end the file had when it was
    // opened, before the lock; the line goes after what others appended meanwhile.
    if (!file.seek(before))
        return systemErrorText(file.errorString());
    const qint64 written = writeAll(file, bytes);
    if (written == bytes.size())
        return {};
    const QString reason = systemErrorText(file.errorString());
    file.resize(before);
    return reason;
}

UserMessage journalFailure(const QString& path, const QString& reason)
{
    return UserMessage::failure(
        texts::files::JournalUnwritable.toString().arg(QDir::toNativeSeparators(path), reason));
}

// A line the journal did not take, said with the line: what it records is not lost.
UserMessage lineNotJournalled(const QString& path, const QString& reason, const JournalEntry& entry)
{
    UserMessage failure = journalFailure(path, reason);
    failure.text = texts::files::JournalLineNotWritten.toString().arg(failure.text, journalLine(entry));
    return failure;
}

// Opens the journal to append; a FIFO would block the open and a device is no journal.
QString openForAppend(QFile& file)
{
    if (QString refusal = saveTargetRefusal(file.fileName()); !refusal.isEmpty())
        return refusal;
    const QString folder = QFileInfo(file.fileName()).absolutePath();
    if (!QDir().mkpath(folder))
        return QDir::toNativeSeparators(folder);
    // Unbuffered: each line goes to the system in the one write below, never in pieces. Read too:
    // the last byte tells whether the last line has its line end.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return systemErrorText(file.errorString());
    return {};
}

} // namespace

QString fileNamePart(const QString& text)
{
    QString part;
    for (const QChar c : text)
        part += c.isLetterOrNumber() || c == u'-' ? c : u'_';
    return part.isEmpty() ? QStringLiteral("_") : part;
}

QString defaultJournalPath()
{
    const QString given = qEnvironmentVariable("YALMERA_JOURNAL");
    if (!given.isEmpty())
        return given;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/journal.csv");
}

QStringList journalCaptions()
{
    QStringList captions;
    for (const QStringView caption : texts::files::JournalCaptions)
        captions.append(caption.toString());
    return captions;
}

QStringList journalFields(const JournalEntry& entry)
{
    // The time with its offset, so lines written in different time zones (or across a change to
    // summer time) still sort and compare.
    const QDateTime time = entry.time.toOffsetFromUtc(entry.time.offsetFromUtc());
    return {time.toString(Qt::ISODate), QString::fromLatin1(ProgramVersion), journalText(entry.operation),
            journalText(entry.port), journalText(entry.model),
            entry.typeCode ? QString::number(*entry.typeCode) : QString(),
            entry.channelCount ? QString::number(*entry.channelCount) : QString(),
            journalText(QDir::toNativeSeparators(entry.planFile)), QString::fromLatin1(entry.sha256.toHex()),
            journalText(entry.serialNumber), journalText(entry.outcome), journalText(entry.message),
            // Whole milliseconds: a decimal comma would need quotes, which a spreadsheet reads as text.
            entry.replyLatencyMs ? QString::number(qRound(*entry.replyLatencyMs)) : QString()};
}

UserMessage prepareJournal(const QString& path)
{
    QFile file(path);
    if (const QString error = openForAppend(file); !error.isEmpty())
        return journalFailure(path, error);
    return {};
}

QString journalLine(const JournalEntry& entry)
{
    QString line = formatCsv({journalFields(entry)});
    line.chop(LineEnd.size());
    return line;
}

std::chrono::milliseconds journalWaitLimit()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("YALMERA_JOURNAL_WAIT", &ok);
    return ok && seconds >= 0 ? std::chrono::seconds(seconds) : DefaultJournalWait;
}

UserMessage appendJournal(const QString& path, const JournalEntry& entry, const JournalWait& wait)
{
    QFile file(path);
    if (const QString error = openForAppend(file); !error.isEmpty())
        return lineNotJournalled(path, error, entry);
    if (const QString reason = appendWhole(file, wait, {journalCaptions()}, journalFields(entry));
        !reason.isEmpty())
        return lineNotJournalled(path, reason, entry);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return lineNotJournalled(path, systemErrorText(file.errorString()), entry);
    return {};
}

QString backupFolder(const QString& journalPath)
{
    return QFileInfo(journalPath).absolutePath() + QStringLiteral("/backups");
}

SavedPlanFile savePlanUnderFreeName(const QString& folder, const QString& stem,
                                    const GeneralSettings& settings, const ChannelTable& table,
                                    quint8 typeCode, quint8 moduleType)
{
    if (!QDir().mkpath(folder))
        return {{}, QDir::toNativeSeparators(folder)};
    QString path = folder + u'/' + stem + QStringLiteral(".ini");
    // The name is claimed (created only when free) before the plan is written through a temporary
    // file: plans saved at the same moment, by this program or another, each keep their own.
    for (int n = 2;; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return {{}, systemErrorText(claim.errorString())};
        path = folder + u'/' + stem + QStringLiteral("_%1.ini").arg(n);
    }
    const UserMessage saved = writePlanFile(path, settings, table, typeCode, moduleType);
    if (!saved.isEmpty()) {
        QFile::remove(path);
        return {{}, saved.text};
    }
    return {path, {}};
}

SavedBackup saveBackup(const QString& journalPath, const QDateTime& time, const QString& serialNumber,
                       const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                       quint8 moduleType)
{
    const QString folder = backupFolder(journalPath);
    // No colons: Windows allows none in a file name.
    const QString stem = time.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + fileNamePart(serialNumber);
    const SavedPlanFile saved = savePlanUnderFreeName(folder, stem, settings, table, typeCode, moduleType);
    if (!saved.reason.isEmpty())
        return {{},
                UserMessage::failure(texts::files::BackupUnwritable.toString().arg(
                    QDir::toNativeSeparators(folder), saved.reason))};
    return {saved.path, {}};
}

} // namespace yalmera::files
