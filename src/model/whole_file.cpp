#include "whole_file.h"

#include <QSaveFile>

namespace yalmera {

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
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    return commitSaveFile(file);
}

} // namespace yalmera
