#include "interrupt_stop.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#endif

namespace yalmera::cli {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<std::atomic<bool>*>::is_always_lock_free,
              "used from a signal handler");

// The handler's only way to the flag: a signal handler takes no argument.
std::atomic<std::atomic<bool>*> activeFlag{nullptr};

#ifdef Q_OS_WIN
BOOL WINAPI onConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    if (std::atomic<bool>* flag = activeFlag.load())
        flag->store(true);
    return TRUE;
}
#else
// What SIGINT did before, put back when the stop goes.
struct sigaction previousAction
{
};

extern "C" void onInterrupt(int)
{
    if (std::atomic<bool>* flag = activeFlag.load())
        flag->store(true);
}
#endif

} // namespace

InterruptStop::InterruptStop()
{
    activeFlag.store(&m_stop);
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
    struct sigaction action
    {
    };
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Waits of the serial line go on after the handler; the flag is looked at between bytes.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
#endif
}

InterruptStop::~InterruptStop()
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
#else
    sigaction(SIGINT, &previousAction, nullptr);
#endif
    activeFlag.store(nullptr);
}

} // namespace yalmera::cli
