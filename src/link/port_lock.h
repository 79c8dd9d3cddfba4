#pragma once

#include <QString>

namespace yalmera {

// Qt SerialPort on POSIX systems marks a port in use with a lock file "LCK..<port>" (slashes of
// the port name as underscores) in the first of the system's lock folders it may write, here
// /var/lock: "LCK..pts_3" for /dev/pts/3. The file holds the owner's PID, program name, host
// name and machine and boot ids, one a line, and the owner keeps a flock on it. Other serial
// programs write the same name with only the PID: as ten-digit ASCII text and a line break
// (uucp, minicom, lockdev), or as the four bytes of a binary int (old programs); they keep no
// flock. Qt takes a one-line lock of a live program for stale (no program name in it) and
// removes it, so every lock is judged here before Qt opens the port. Only the Qt SerialPort
// backend uses these; Windows has no lock files.

// The device a port name stands for, symbolic links resolved ("/dev/serial/by-id/usb-..." is
// "/dev/ttyUSB0", "ttyUSB0" is "/dev/ttyUSB0"), so that every name of one device takes the same
// lock. The name as given when it names nothing.
QString resolvedDevice(const QString& device);

// The lock file Qt SerialPort takes for a device ("/dev/pts/3", "ttyUSB0"); empty when no lock
// folder can be used.
QString portLockFilePath(const QString& device);

struct PortLocks
{
    bool held = false; // a live program's lock names the device: the port is in use
    // A lock that a killed program left was removed: that program may have been in the middle of
    // an exchange.
    bool holderKilled = false;
};

// Judges every lock file that names the device in the lock folders, in each format above. A lock
// of a live process (this machine's or another's sharing the folder) makes the port held and is
// never removed. What a killed program left of Qt's lock (the file and its chain of ".rmlock"
// files, each empty or naming a PID that no longer runs or now runs another program) is removed.
// A file in no known format is left for Qt to judge.
PortLocks checkPortLocks(const QString& device);

// Takes an exclusive flock on the open device, which another program of ours that reaches the
// same device by any name is refused, root as well (the kernel's exclusive mode, TIOCEXCL, which
// Qt sets, does not stop root). False when another open descriptor holds it.
bool lockOpenDevice(int fd);

} // namespace yalmera
