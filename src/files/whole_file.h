#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFileDevice;
class QSaveFile;

namespace yalmera {

// Saving that never leaves a half-written file behind: the bytes go to a temporary file that is
// renamed into place only once all of them are on disk, so a failed save keeps the earlier file.
// Reading that never blocks or fills memory on a path that is no ordinary file.

// A save writes a temporary file named after its target plus this suffix (".XXXXXX", in bytes of
// the name) and renames it into place.
inline constexpr qsizetype TemporaryNameSuffix = 7;

// Why the program cannot name the file at path exactly: its name holds U+FFFD, which stands for
// bytes that were no UTF-8 (on Linux a name written in Windows-1251, as old archives hold), or
// does not come back unchanged from the platform's encoding of names. Such a path names another
// file than the one meant. Empty when it can; forSave chooses the closing words of the message.
QString unspellableNameRefusal(const QString& path, bool forSave);

// Why a file cannot be made at path with extra bytes added to its name (a temporary or backup
// suffix): the name is then longer than its folder's file system takes (255 bytes of UTF-8 on
// Linux, 255 UTF-16 units on Windows). The platform's own text; empty when it fits.
QString nameLengthRefusal(const QString& path, qsizetype extra = 0);

// Why a save must not go to path: its name cannot be spelt exactly, or it is too long once the
// temporary suffix is added; or it exists and is no regular file (a FIFO, a device node, a
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

// Writes all of bytes at the device's position, as far as the device takes them: a write that
// stops short sets no error, so it is tried again with the rest, and the write that fails gives
// the system's reason. Returns how many bytes went.
qint64 writeAll(QFileDevice& file, const QByteArray& bytes);

// Writes bytes as the whole new content of path. Returns the refusal of the target or the
// platform's error text, empty on success.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

struct WholeFileRead
{
    std::optional<QByteArray> bytes; // the whole content, when read
    bool tooLarge = false;           // larger than the limit; at most one byte more was read
    QString error;                   // otherwise why not: no regular file, or the platform's text
};

// Reads the whole file at path, at most maxBytes of it. A name that cannot be spelt exactly is
// refused (another file may bear the name the program got). A FIFO, a device or a socket is refused
// before it is opened: a FIFO would block the open, a device such as /dev/zero would never end.
// A folder gets the platform's own refusal.
WholeFileRead readWholeFile(const QString& path, qint64 maxBytes);

} // namespace yalmera
