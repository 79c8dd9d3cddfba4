#pragma once

#include <atomic>

namespace yalmera::cli {

// While it lives, Ctrl-C (SIGINT; on Windows the console's Ctrl-C and Ctrl-Break), SIGTERM (kill,
// a shutdown) and SIGHUP (the terminal closed) do not end the program but set the stop flag the
// station exchanges take: the exchange ends at its next byte with the line closed, and the
// command says what the station holds, journals it and exits 128 + the signal's number, as shells
// report a program the signal ended (130, 143, 129). One at a time; the previous handling comes
// back when it goes.
class InterruptStop
{
public:
    InterruptStop();
    ~InterruptStop();
    InterruptStop(const InterruptStop&) = delete;
    InterruptStop& operator=(const InterruptStop&) = delete;

    const std::atomic<bool>* flag() const { return &m_stop; }
    bool interrupted() const { return m_stop; }
    // 128 + the number of the first signal that came (130 for Ctrl-C on Windows).
    int exitCode() const;

private:
    std::atomic<bool> m_stop{false};
};

} // namespace yalmera::cli
