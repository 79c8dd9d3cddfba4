#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace yalmera::ui {

class UserInterfaceFeedback;

// The key filter of the template and repeater fields: a typed character outside the accepted set
// (Enter, Escape and control characters included) sounds the default beep, is discarded and
// shows the field's hint. Backspace is always accepted; keys that type nothing (arrows, Delete,
// Home, Tab) keep their meaning.
class DigitKeyFilter : public QObject
{
    Q_OBJECT

public:
    enum class Accepts { Digits, DigitsAndComma };

    DigitKeyFilter(Accepts accepts, UserInterfaceFeedback& feedback, QObject* parent = nullptr);

    // Installs a new filter on the field; the field owns it.
    static DigitKeyFilter* install(QLineEdit* field, Accepts accepts, UserInterfaceFeedback& feedback);

    // Whether a key press with this key and text passes.
    bool accepts(int key, const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Accepts m_accepts;
    UserInterfaceFeedback& m_feedback;
};

} // namespace yalmera::ui
