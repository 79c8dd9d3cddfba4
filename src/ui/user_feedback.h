#pragma once

#include "model/user_message.h"

class QString;
class QWidget;

namespace yalmera::ui {

// The user's answer to a question. Cancel also when the question is closed without an answer
// (Escape, the box's close button, the program ended by a signal), whether or not it offers
// "Отмена": only a click on "Нет" is No.
enum class Answer { Yes, No, Cancel };

// The one road by which the windows tell the user something: modal message boxes and sounds.
// Tests put a recorder in its place, because a modal box would block them.
class UserInterfaceFeedback
{
public:
    virtual ~UserInterfaceFeedback() = default;

    // Sounds the message's sound, then shows the message modally over parent (or the active window).
    virtual void show(const UserMessage& message, QWidget* parent = nullptr) = 0;
    virtual void sound(Sound sound) = 0;
    // Asks modally with "Да" and "Нет", and "Отмена" when cancellable.
    virtual Answer ask(const QString& question, bool cancellable, QWidget* parent = nullptr) = 0;
};

// The real thing: a notice in an information box, a failure in the standard error box, and the
// platform's sounds.
class MessageBoxFeedback : public UserInterfaceFeedback
{
public:
    void show(const UserMessage& message, QWidget* parent = nullptr) override;
    void sound(Sound sound) override;
    Answer ask(const QString& question, bool cancellable, QWidget* parent = nullptr) override;
};

} // namespace yalmera::ui
