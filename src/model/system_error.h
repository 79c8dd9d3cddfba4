#pragma once

#include <QString>

namespace yalmera {

// The failures of files and ports that a user can act on. Any other failure keeps the system's
// text alone.
enum class SystemFailure {
    Other,
    NoSuchFile,   // a file, folder or port that does not exist
    NoPermission, // the user may not open or change it
    NoSpace,      // the disk (or the user's quota) is full
    ReadOnly,     // a disk or file system mounted read-only, a write-protected medium
    Busy,         // another program holds the file or the device
    DeviceGone,   // the device went away (an adapter unplugged)
};

// The failure behind a platform error code as qt_error_string takes it: errno on POSIX systems,
// a Win32 error code (GetLastError) on Windows.
SystemFailure failureOfErrorCode(int code);

// The failure behind a text that the platform gives for one of the codes failureOfErrorCode knows
// (qt_error_string of it, the text QFileDevice::errorString hands on): Qt's file classes give the
// text without its code. Other for every other text.
SystemFailure failureOfSystemText(const QString& systemText);

// How every system error reaches a message: the failure in the program's words with the system's
// own text beside it, "Отказано в доступе (Permission denied)", or the words alone where the
// system says the same. The words are Russian, as every text of the libraries (the desktop
// program's windows); a command-line program that speaks English translates them. Other: the
// system's text as it is.
QString systemErrorText(SystemFailure failure, const QString& systemText);
// The same for a system text without its code.
QString systemErrorText(const QString& systemText);

} // namespace yalmera
