#pragma once

#include <QString>

namespace yalmera {

// Qt SerialPort on POSIX systems marks a port in use with a lock file "LCK..<port>" (slashes of
// the port name as underscores) in the first of the system's lock folders it may write, here
// /var/lock: "LCK..pts_3" for /dev/pts/3. The file holds the owner's PID, program name, host
// name and machine and boot ids, one a line, and the owner keeps a flock on it. Qt removes
// such a file only once its PID no longer runs, and an empty or unreadable one only after 30 s;
// removing a stale lock it first takes "<lock>.rmlock" the same way. Only the Qt SerialPort
// backend uses these; Windows has no lock files.

// The lock file Qt SerialPort takes for a device ("/dev/pts/3", "ttyUSB0"); empty when no lock
// folder can be used.
QString portLockFilePath(const QString& device);

// Removes what a killed program left of the device's lock: the lock file and its chain of
// ".rmlock" files, each only when no process holds it (no flock on it) and it is empty or names
// a PID of this machine that no longer runs. A lock of a live process stays, so the port is
// still refused as already open.
void clearAbandonedPortLock(const QString& device);

} // namespace yalmera
