#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace yalmera {

// Saving that never leaves a half-written file behind: the bytes go to a temporary file that is
// renamed into place only once all of them are on disk, so a failed save keeps the earlier file.

// Completes a QSaveFile. It flushes first: QSaveFile::commit() does not notice when its last
// buffered write fails (a full disk) and would put a short file in place of the old one.
// Returns the platform's error text, empty on success.
QString commitSaveFile(QSaveFile& file);

// Writes bytes as the whole new content of path. Returns the platform's error text, empty on success.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace yalmera
