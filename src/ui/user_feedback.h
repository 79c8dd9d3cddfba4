#pragma once

#include "model/user_message.h"

class QWidget;

namespace yalmera::ui {

// The one road by which the windows tell the user something: modal message boxes and sounds.
// Tests put a recorder in its place, because a modal box would block them.
class UserInterfaceFeedback
{
public:
    virtual ~UserInterfaceFeedback() = default;

    // Sounds the message's sound, then shows the message modally over parent (or the active window).
    virtual void show(const UserMessage& message, QWidget* parent = nullptr) = 0;
    virtual void sound(Sound sound) = 0;
};

// The real thing: a notice in an information box, a failure in the standard error box, and the
// platform's sounds.
class MessageBoxFeedback : public UserInterfaceFeedback
{
public:
    void show(const UserMessage& message, QWidget* parent = nullptr) override;
    void sound(Sound sound) override;
};

} // namespace yalmera::ui
