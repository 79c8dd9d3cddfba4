#include "whole_file.h"

#include "files_texts.h"
#include "model/system_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "model/windows_api.h"

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

namespace yalmera {

namespace {

// Exists, but is neither a regular file nor a folder. QFileInfo follows symbolic links and only
// looks (stat): it never opens the path, so a FIFO cannot block here.
bool isSpecialFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

// The longest name the folder's file system takes, in the units of nameLength.
qsizetype nameMax(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return 255; // UTF-16 units, on NTFS and FAT alike
#else
    const long max = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return max > 0 ? max : 255;
#endif
}

qsizetype nameLength(const QString& name)
{
#ifdef Q_OS_WIN
    return name.size();
#else
    return QFile::encodeName(name).size();
#endif
}

} // namespace

QString unspellableNameRefusal(const QString& path, bool forSave)
{
    bool spelt = !path.contains(QChar::ReplacementCharacter);
#ifndef Q_OS_WIN
    // Windows takes names as UTF-16 and Qt hands them over unchanged; elsewhere they are bytes.
    spelt = spelt && QFile::decodeName(QFile::encodeName(path)) == path;
#endif
    if (spelt)
        return {};
    return (forSave ? texts::files::UnspellableForSave : texts::files::UnspellableForRead).toString();
}

QString nameLengthRefusal(const QString& path, qsizetype extra)
{
    const QFileInfo info(path);
    if (nameLength(info.fileName()) + extra <= nameMax(info.absolutePath()))
        return {};
#ifdef Q_OS_WIN
    return qt_error_string(ERROR_FILENAME_EXCED_RANGE);
#else
    return qt_error_string(ENAMETOOLONG);
#endif
}

QString saveTargetRefusal(const QString& path)
{
    if (QString refusal = unspellableNameRefusal(path, true); !refusal.isEmpty())
        return refusal;
    if (QString refusal = nameLengthRefusal(path, TemporaryNameSuffix); !refusal.isEmpty())
        return refusal;
    return isSpecialFile(path) ? texts::files::NotRegularForSave.toString() : QString();
}

QString openSaveFile(QSaveFile& file)
{
    if (QString refusal = saveTargetRefusal(file.fileName()); !refusal.isEmpty())
        return refusal;
    if (!file.open(QIODevice::WriteOnly))
        return systemErrorText(file.errorString());
    return {};
}

QString commitSaveFile(QSaveFile& file)
{
    // A flush the system takes only in part fails without the system's reason ("Unknown error");
    // the second try at the rest fails at once and gives it (a full disk, a file too large).
    if ((!file.flush() && !file.flush()) || !file.commit()) {
        const QString error = systemErrorText(file.errorString());
        file.cancelWriting();
        return error;
    }
    return {};
}

qint64 writeAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            break;
        written += step;
    }
    return written;
}

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (QString error = openSaveFile(file); !error.isEmpty())
        return error;
    if (writeAll(file, bytes) < bytes.size()) {
        const QString error = systemErrorText(file.errorString());
        file.cancelWriting();
        return error;
    }
    return commitSaveFile(file);
}

WholeFileRead readWholeFile(const QString& path, qint64 maxBytes)
{
    WholeFileRead read;
    read.error = unspellableNameRefusal(path, false);
    if (!read.error.isEmpty())
        return read;
    if (isSpecialFile(path)) {
        read.error = texts::files::NotRegularForRead.toString();
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = systemErrorText(file.errorString());
        return read;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.error = systemErrorText(file.errorString());
        return read;
    }
    if (bytes.size() > maxBytes) {
        read.tooLarge = true;
        return read;
    }
    read.bytes = std::move(bytes);
    return read;
}

} // namespace yalmera
