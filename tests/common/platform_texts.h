#pragma once

// The platform's own texts for the failures the tests provoke: the C library's on POSIX systems,
// Windows' own (in its language) there.

#include <QString>

namespace yalmera::test {

// A file that does not exist.
inline QString noSuchFileText()
{
#ifdef Q_OS_WIN
    return qt_error_string(2); // ERROR_FILE_NOT_FOUND
#else
    return QStringLiteral("No such file or directory");
#endif
}

// A file in a folder that does not exist.
inline QString noSuchFolderText()
{
#ifdef Q_OS_WIN
    return qt_error_string(3); // ERROR_PATH_NOT_FOUND
#else
    return QStringLiteral("No such file or directory");
#endif
}

// A folder opened as a file: Qt's own text on POSIX systems; Windows refuses access.
inline QString folderAsFileText()
{
#ifdef Q_OS_WIN
    return qt_error_string(5); // ERROR_ACCESS_DENIED
#else
    return QStringLiteral("file to open is a directory");
#endif
}

} // namespace yalmera::test
