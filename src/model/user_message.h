#pragma once

#include <QString>

namespace yalmera {

// The sounds the program makes with a message. The windows map them to the platform's sounds.
enum class Sound {
    None,
    DefaultBeep,  // the system's default sound (a key refused by a field's filter)
    ErrorBeep,    // the system's error beep (the data check's off-grid transmit frequency)
    CriticalStop, // the system's critical-stop sound (template refusals)
};

// Notice: a text of the program's own rules, shown in a plain modal box.
// Failure: a failure below those rules (a number that is no number, a file, a port), shown in the
// application's standard error box with the underlying text only.
enum class MessageKind { Notice, Failure };

// What a command has to tell the user. Operations return it; only the windows and the
// command-line tool turn it into a message box, a sound or a line on stderr.
struct UserMessage
{
    QString text;
    MessageKind kind = MessageKind::Notice;
    Sound sound = Sound::None;

    bool isEmpty() const { return text.isEmpty(); }

    static UserMessage notice(const QString& text, Sound sound = Sound::None)
    {
        return {text, MessageKind::Notice, sound};
    }
    static UserMessage failure(const QString& text) { return {text, MessageKind::Failure, Sound::None}; }

    friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

} // namespace yalmera
