#include "interrupt_stop.h"

#include "cli_support.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#endif

#include <iterator>

namespace yalmera::cli {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free &&
                  std::atomic<std::atomic<bool>*>::is_always_lock_free &&
                  std::atomic<int>::is_always_lock_free,
              "used from a signal handler");

// The handler's only way to the flag: a signal handler takes no argument.
std::atomic<std::atomic<bool>*> activeFlag{nullptr};
// The first signal that set it; 0 before any.
std::atomic<int> firstSignal{0};

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
constexpr int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What each signal did before, put back when the stop goes.
struct sigaction previousActions[std::size(StopSignals)];

extern "C" void onStopSignal(int number)
{
    int none = 0;
    firstSignal.compare_exchange_strong(none, number);
    if (std::atomic<bool>* flag = activeFlag.load())
        flag->store(true);
}
#endif

} // namespace

InterruptStop::InterruptStop()
{
    firstSignal.store(0);
    activeFlag.store(&m_stop);
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Waits of the serial line go on after the handler; the flag is looked at between bytes.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(StopSignals); ++i)
        sigaction(StopSignals[i], &action, &previousActions[i]);
#endif
}

InterruptStop::~InterruptStop()
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
#else
    for (std::size_t i = 0; i < std::size(StopSignals); ++i)
        sigaction(StopSignals[i], &previousActions[i], nullptr);
#endif
    activeFlag.store(nullptr);
}

int InterruptStop::exitCode() const
{
    const int number = firstSignal.load();
    return number > 0 ? 128 + number : ExitInterrupted;
}

} // namespace yalmera::cli
