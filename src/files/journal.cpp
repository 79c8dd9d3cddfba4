#include "journal.h"

#include "files/files_texts.h"
#include "files/plan_file.h"

#include "model/delimited_text.h"
#include "model/version.h"
#include "model/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace yalmera::files {

namespace {

constexpr QChar Separator = u';';
constexpr QStringView LineEnd = u"\r\n";
const QByteArray ByteOrderMark("\xEF\xBB\xBF");

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
            entry.operation,
            entry.port,
            entry.model,
            entry.typeCode ? QString::number(*entry.typeCode) : QString(),
            entry.channelCount ? QString::number(*entry.channelCount) : QString(),
            entry.planFile,
            QString::fromLatin1(entry.sha256.toHex()),
            entry.serialNumber,
            entry.outcome,
            entry.message};
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
    QList<QStringList> rows;
    QByteArray bytes;
    if (file.size() == 0) {
        bytes = ByteOrderMark;
        rows.append(journalCaptions());
    }
    rows.append(journalFields(entry));
    bytes += formatDelimited(rows, Separator, LineEnd).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return journalFailure(path, file.errorString());
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
