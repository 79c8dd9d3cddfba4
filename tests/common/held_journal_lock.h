#pragma once

// The journal held as another program holds it while it appends (one stopped in the middle, a
// backup tool taking the same lock): the file's flock on Unix; on Windows the exclusive
// LockFileEx on the one byte far beyond any journal's end that every append takes. The file is
// made when missing and left as it is.

#include <QString>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace yalmera::test {

class HeldJournalLock
{
public:
    explicit HeldJournalLock(const QString& path)
    {
#ifdef Q_OS_WIN
        m_handle = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        m_held = m_handle != INVALID_HANDLE_VALUE &&
                 ::LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, place());
#else
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        m_held = m_descriptor >= 0 && ::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0;
#endif
    }
    ~HeldJournalLock() { release(); }
    HeldJournalLock(const HeldJournalLock&) = delete;
    HeldJournalLock& operator=(const HeldJournalLock&) = delete;

    bool held() const { return m_held; }

    void release()
    {
#ifdef Q_OS_WIN
        if (m_handle == INVALID_HANDLE_VALUE)
            return;
        if (m_held)
            ::UnlockFileEx(m_handle, 0, 1, 0, place());
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
#else
        if (m_descriptor < 0)
            return;
        ::close(m_descriptor);
        m_descriptor = -1;
#endif
        m_held = false;
    }

private:
#ifdef Q_OS_WIN
    OVERLAPPED* place()
    {
        m_place = {};
        m_place.OffsetHigh = 0x7FFFFFFF;
        return &m_place;
    }
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    OVERLAPPED m_place{};
#else
    int m_descriptor = -1;
#endif
    bool m_held = false;
};

} // namespace yalmera::test
