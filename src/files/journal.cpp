#include "journal.h"

#include "files/files_texts.h"
#include "files/plan_file.h"

#include "files/delimited_text.h"
#include "files/whole_file.h"
#include "model/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace yalmera::files {

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

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

// Appends the line (after the byte-order mark and the captions when the file is empty) through
// the descriptor opened to append, and cuts a line that cannot be written whole (a full disk)
// off again at the size the file had before it, so that no fragment stays for the next line to
// be glued onto. On Unix every program appending holds the file's lock meanwhile, so that the
// size seen is the size the line starts at; Windows takes no such lock. Returns the system's
// reason, empty on success.
QString appendWhole(QFile& file, const QList<QStringList>& captions, const QStringList& fields)
{
#ifdef Q_OS_UNIX
    ::flock(file.handle(), LOCK_EX); // released when the file is closed
#endif
    const qint64 before = file.size();
    QByteArray bytes;
    if (before == 0)
        bytes = ByteOrderMark + formatCsv(captions).toUtf8();
    bytes += formatCsv({fields}).toUtf8();
    qint64 written = 0;
    // A write that stops short sets no error; the next one fails with the system's reason.
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            break;
        written += step;
    }
    if (written == bytes.size())
        return {};
    const QString reason = file.errorString();
    file.resize(before);
    return reason;
}

UserMessage journalFailure(const QString& path, const QString& reason)
{
    return UserMessage::failure(
        texts::files::JournalUnwritable.toString().arg(QDir::toNativeSeparators(path), reason));
}

// Opens the journal to append; a FIFO would block the open and a device is no journal.
QString openForAppend(QFile& file)
{
    if (QString refusal = saveTargetRefusal(file.fileName()); !refusal.isEmpty())
        return refusal;
    const QString folder = QFileInfo(file.fileName()).absolutePath();
    if (!QDir().mkpath(folder))
        return QDir::toNativeSeparators(folder);
    // Unbuffered: each line goes to the system in the one write below, never in pieces.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    return {};
}

// Characters a file name cannot hold on any system the program runs on.
QString fileNamePart(const QString& text)
{
    QString part;
    for (const QChar c : text)
        part += c.isLetterOrNumber() || c == u'-' ? c : u'_';
    return part.isEmpty() ? QStringLiteral("_") : part;
}

} // namespace

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
    return {time.toString(Qt::ISODate),
            QString::fromLatin1(ProgramVersion),
            journalText(entry.operation),
            journalText(entry.port),
            journalText(entry.model),
            entry.typeCode ? QString::number(*entry.typeCode) : QString(),
            entry.channelCount ? QString::number(*entry.channelCount) : QString(),
            journalText(entry.planFile),
            QString::fromLatin1(entry.sha256.toHex()),
            journalText(entry.serialNumber),
            journalText(entry.outcome),
            journalText(entry.message)};
}

UserMessage prepareJournal(const QString& path)
{
    QFile file(path);
    if (const QString error = openForAppend(file); !error.isEmpty())
        return journalFailure(path, error);
    return {};
}

UserMessage appendJournal(const QString& path, const JournalEntry& entry)
{
    QFile file(path);
    if (const QString error = openForAppend(file); !error.isEmpty())
        return journalFailure(path, error);
    if (const QString reason = appendWhole(file, {journalCaptions()}, journalFields(entry));
        !reason.isEmpty())
        return journalFailure(path, reason);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return journalFailure(path, file.errorString());
    return {};
}

QString backupFolder(const QString& journalPath)
{
    return QFileInfo(journalPath).absolutePath() + QStringLiteral("/backups");
}

SavedBackup saveBackup(const QString& journalPath, const QDateTime& time, const QString& serialNumber,
                       const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                       quint8 moduleType)
{
    const QString folder = backupFolder(journalPath);
    const auto failed = [&folder](const QString& reason) {
        return SavedBackup{{},
                           UserMessage::failure(texts::files::BackupUnwritable.toString().arg(
                               QDir::toNativeSeparators(folder), reason))};
    };
    if (!QDir().mkpath(folder))
        return failed(QDir::toNativeSeparators(folder));
    // No colons: Windows allows none in a file name.
    const QString stem = time.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + fileNamePart(serialNumber);
    QString path = folder + u'/' + stem + QStringLiteral(".ini");
    // The name is claimed (created only when free) before the plan is written through a temporary
    // file: reads that end in one second, in this program or another, each keep a backup.
    for (int n = 2;; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return failed(claim.errorString());
        path = folder + u'/' + stem + QStringLiteral("_%1.ini").arg(n);
    }
    const UserMessage saved = writePlanFile(path, settings, table, typeCode, moduleType);
    if (!saved.isEmpty()) {
        QFile::remove(path);
        return failed(saved.text);
    }
    return {path, {}};
}

} // namespace yalmera::files
