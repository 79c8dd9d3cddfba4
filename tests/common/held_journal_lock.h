#pragma once

// The journal held as another program holds it while it appends (one stopped in the middle, a
// backup tool taking the same lock): the file's flock on Unix; on Windows the exclusive
// LockFileEx on the one byte far beyond any journal's end that every append takes. The file is
// made when missing and left as it is; closing it lets go.

#include <QString>

#include <utility>

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
        OVERLAPPED place{};
        place.OffsetHigh = 0x7FFFFFFF;
        m_held = ::LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place);
#else
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        m_held = ::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0;
#endif
    }
    ~HeldJournalLock()
    {
        release();
    }
    HeldJournalLock(const HeldJournalLock&) = delete;
    HeldJournalLock& operator=(const HeldJournalLock&) = delete;

    bool held() const
    {
        return m_held;
    }
    void release()
    {
#ifdef Q_OS_WIN
        ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE));
#else
        ::close(std::exchange(m_descriptor, -1));
#endif
        m_held = false;
    }

private:
#ifdef Q_OS_WIN
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_descriptor = -1;
#endif
    bool m_held = false;
};

} // namespace yalmera::test
