#pragma once

#include <QObject>

class QSocketNotifier;

namespace yalmera::ui {

// SIGTERM (kill, a shutdown) and SIGHUP (the session ends) would end the program at once, in the
// middle of a station exchange, with nothing journalled. While an object of this class lives they
// arrive as its signal received() on the window thread instead (the handler writes to a pipe that
// a QSocketNotifier watches), so that the program can stop the exchange at its next byte, journal
// it and leave. POSIX only: Windows ends a desktop program's session through window messages,
// which close its windows, and a window with an exchange running does not close.
class ExitSignals : public QObject
{
    Q_OBJECT
public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

signals:
    // 128 + the signal's number, the exit code shells report for a program the signal ended.
    void received(int exitCode);

private:
    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace yalmera::ui
