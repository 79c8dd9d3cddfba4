#pragma once

#include "model/user_message.h"

#include <QMetaType>
#include <QString>

namespace yalmera {

// Which of the station-link window's three buttons are enabled: "Выход", "Запись данных ",
// "Чтение данных ".
struct LinkButtons
{
    bool exit = true;
    bool write = true;
    bool read = true;

    static constexpr LinkButtons allEnabled() { return {true, true, true}; }
    static constexpr LinkButtons allDisabled() { return {false, false, false}; }

    friend bool operator==(const LinkButtons&, const LinkButtons&) = default;
};

// How an exchange ended.
enum class ExchangeOutcome {
    Completed,  // every byte went through
    Refused,    // not started (plan not checked) or a read stream the program cannot hold
    OpenFailed, // the port could not be opened; nothing was sent
    TimedOut,   // the station fell silent, or its port vanished while the program waited ("AK")
    LinkFailed, // the line refused a byte, or the station went on sending before the command byte
    Cancelled,  // stopped on request (the window is being destroyed)
};

// What an exchange tells the window while it runs, in the order the window must show it. The
// exchanges call it on their own (worker) thread.
class ExchangeObserver
{
public:
    virtual ~ExchangeObserver() = default;
    virtual void gaugeChanged(int value) = 0;            // 0..100
    virtual void statusChanged(const QString& text) = 0; // "- -", "ПР", "ПП", "AK"
    virtual void buttonsChanged(const LinkButtons& buttons) = 0;
};

} // namespace yalmera

Q_DECLARE_METATYPE(yalmera::LinkButtons)
