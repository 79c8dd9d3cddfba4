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

// A folder opened as a file: Qt's own text on POSIX systems; Windows refuses access, which the
// libraries say in their words.
inline QString folderAsFileText()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Отказано в доступе (%1)").arg(qt_error_string(5)); // ERROR_ACCESS_DENIED
#else
    return QStringLiteral("file to open is a directory");
#endif
}

// How the libraries, and so the desktop program's windows, give a platform's text for a common
// failure: its Russian words, the platform's text beside them.
inline QString saidInRussian(QStringView words, const QString& platformText)
{
    return QStringLiteral("%1 (%2)").arg(words, platformText);
}

} // namespace yalmera::test
