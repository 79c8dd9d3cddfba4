#pragma once

#include <atomic>

namespace yalmera::cli {

// While it lives, Ctrl-C (SIGINT; on Windows the console's Ctrl-C and Ctrl-Break) does not end the
// program but sets the stop flag the station exchanges take: the exchange ends at its next byte
// with the line closed, and the command says what the station holds and exits 130.
// One at a time; the previous handling comes back when it goes.
class InterruptStop
{
public:
    InterruptStop();
    ~InterruptStop();
    InterruptStop(const InterruptStop&) = delete;
    InterruptStop& operator=(const InterruptStop&) = delete;

    const std::atomic<bool>* flag() const { return &m_stop; }
    bool interrupted() const { return m_stop; }

private:
    std::atomic<bool> m_stop{false};
};

} // namespace yalmera::cli
