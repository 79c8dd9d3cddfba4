#include "whole_file.h"

#include "model_texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace yalmera {

namespace {

// Exists, but is neither a regular file nor a folder. QFileInfo follows symbolic links and only
// looks (stat): it never opens the path, so a FIFO cannot block here.
bool isSpecialFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

} // namespace

QString saveTargetRefusal(const QString& path)
{
    return isSpecialFile(path) ? texts::model::NotRegularForSave.toString() : QString();
}

QString openSaveFile(QSaveFile& file)
{
    if (QString refusal = saveTargetRefusal(file.fileName()); !refusal.isEmpty())
        return refusal;
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    return {};
}

QString commitSaveFile(QSaveFile& file)
{
    if (!file.flush() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    return {};
}

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (QString error = openSaveFile(file); !error.isEmpty())
        return error;
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    return commitSaveFile(file);
}

WholeFileRead readWholeFile(const QString& path, qint64 maxBytes)
{
    WholeFileRead read;
    if (isSpecialFile(path)) {
        read.error = texts::model::NotRegularForRead.toString();
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = file.errorString();
        return read;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.error = file.errorString();
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
