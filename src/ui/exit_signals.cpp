#include "exit_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#endif

namespace yalmera::ui {

#ifdef Q_OS_UNIX
namespace {

constexpr int ExitSignalNumbers[] = {SIGTERM, SIGHUP};

// The handler's only way out: the pipe's write end.
std::atomic<int> pipeWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "used from a signal handler");

extern "C" void onExitSignal(int number)
{
    const int fd = pipeWriteEnd.load();
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(number);
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
}

} // namespace
#endif

ExitSignals::ExitSignals(QObject* parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (::pipe(m_pipe) != 0) {
        m_pipe[0] = m_pipe[1] = -1;
        return; // the signals keep ending the program at once
    }
    for (const int fd : m_pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    pipeWriteEnd.store(m_pipe[1]);
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char number = 0;
        if (::read(m_pipe[0], &number, 1) == 1)
            emit received(128 + number);
    });
    struct sigaction action
    {
    };
    action.sa_handler = onExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : ExitSignalNumbers)
        sigaction(number, &action, nullptr);
#endif
}

ExitSignals::~ExitSignals()
{
#ifdef Q_OS_UNIX
    if (m_pipe[1] < 0)
        return;
    for (const int number : ExitSignalNumbers)
        signal(number, SIG_DFL);
    pipeWriteEnd.store(-1);
    for (const int fd : m_pipe)
        ::close(fd);
#endif
}

} // namespace yalmera::ui
