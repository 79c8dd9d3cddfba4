#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QSaveFile;

namespace yalmera {

// Saving that never leaves a half-written file behind: the bytes go to a temporary file that is
// renamed into place only once all of them are on disk, so a failed save keeps the earlier file.
// Reading that never blocks or fills memory on a path that is no ordinary file.

// Why a save must not go to path: it exists and is no regular file (a FIFO, a device node, a
// socket), which the rename would replace by one. Empty when the path is new or a regular file,
// also one reached through a symbolic link; a folder is left to the platform's own refusal.
QString saveTargetRefusal(const QString& path);

// Opens a QSaveFile for writing unless saveTargetRefusal refuses its target. Returns the
// refusal or the platform's error text, empty on success.
QString openSaveFile(QSaveFile& file);

// Completes a QSaveFile. It flushes first: QSaveFile::commit() does not notice when its last
// buffered write fails (a full disk) and would put a short file in place of the old one.
// Returns the platform's error text, empty on success.
QString commitSaveFile(QSaveFile& file);

// Writes bytes as the whole new content of path. Returns the refusal of the target or the
// platform's error text, empty on success.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

struct WholeFileRead
{
    std::optional<QByteArray> bytes; // the whole content, when read
    bool tooLarge = false;           // larger than the limit; at most one byte more was read
    QString error;                   // otherwise why not: no regular file, or the platform's text
};

// Reads the whole file at path, at most maxBytes of it. A FIFO, a device or a socket is refused
// before it is opened: a FIFO would block the open, a device such as /dev/zero would never end.
// A folder gets the platform's own refusal.
WholeFileRead readWholeFile(const QString& path, qint64 maxBytes);

} // namespace yalmera
