#include "key_filter.h"

#include "ui_texts.h"
#include "user_feedback.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace yalmera::ui {

DigitKeyFilter::DigitKeyFilter(Accepts accepts, UserInterfaceFeedback& feedback, QObject* parent)
    : QObject(parent), m_accepts(accepts), m_feedback(feedback)
{
}

DigitKeyFilter* DigitKeyFilter::install(QLineEdit* field, Accepts accepts, UserInterfaceFeedback& feedback)
{
    auto* filter = new DigitKeyFilter(accepts, feedback, field);
    field->installEventFilter(filter);
    return filter;
}

bool DigitKeyFilter::accepts(int key, const QString& text) const
{
    if (key == Qt::Key_Backspace)
        return true;
    // Enter and Escape type a control character, as they did in the original fields.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return false;
    if (key == Qt::Key_Delete || key == Qt::Key_Tab || key == Qt::Key_Backtab || text.isEmpty())
        return true;
    for (const QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool comma = c == u',' && m_accepts == Accepts::DigitsAndComma;
        if (!digit && !comma)
            return false;
    }
    return true;
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (accepts(key->key(), key->text()))
        return false;
    const QString hint = m_accepts == Accepts::Digits ? texts::ui::DigitsOnly.toString()
                                                      : texts::ui::DigitsAndCommaOnly.toString();
    m_feedback.show(UserMessage::notice(hint, Sound::DefaultBeep), qobject_cast<QWidget*>(watched));
    return true;
}

} // namespace yalmera::ui
