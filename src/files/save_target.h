#pragma once

#include <QString>

namespace yalmera::files {

// Checks of the files a command will write, made before the work that gives them their content
// (a station read of 15 s, a write into a station), so that the work is not lost to a name that
// cannot be made. Each returns why not, empty when the file can be made.

// What becomes of the file a save replaces.
enum class Previous {
    Replaced,  // it goes
    KeptAsBak, // it is kept first as PLAN.ini.bak (see keepPrevious)
};

// Whether a plan can be saved at path: no folder, FIFO or device there; a name that can be spelt
// exactly and that stays within its file system's limit with the temporary name of the save; a
// folder that takes a new file; an existing file that may be replaced. With KeptAsBak, also the
// name its backup copy will take (see keepPrevious): an existing copy name that is a symbolic
// link, no regular file or write-protected is refused rather than passed over or written
// through, and a file larger than a plan file is no plan to keep.
QString saveRefusal(const QString& path, Previous previous = Previous::Replaced);

// Keeps the plan file at path, before it is replaced, as a copy beside it: PLAN.ini.bak, or,
// when that name is taken, PLAN.ini.2.bak, PLAN.ini.3.bak, ... A copy name is created
// exclusively and never replaced, so the first copy holds what the file held before the first
// save that replaced it, whatever runs at the same time. Empty on success (also when there is
// nothing to keep), otherwise why not.
QString keepPrevious(const QString& path);

// Whether files can be created in folder later, when it is made if missing. Nothing stays behind:
// the probe file (or, for a missing folder, the probe folder in its nearest existing parent) goes
// at once.
QString folderRefusal(const QString& folder);

// Whether two paths name one file under any names: two existing files by their identity (device
// and inode, on Windows volume and file index), so that symbolic and hard links are one file with
// what they lead to; a file not yet there by its folder's real path and its name, without regard
// to letter case on Windows.
bool sameFile(const QString& a, const QString& b);

} // namespace yalmera::files
