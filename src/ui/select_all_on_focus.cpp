#include "select_all_on_focus.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace yalmera::ui {

SelectAllOnFocus::SelectAllOnFocus(QLineEdit* field) : QObject(field), m_field(field) {}

SelectAllOnFocus* SelectAllOnFocus::install(QLineEdit* field)
{
    auto* filter = new SelectAllOnFocus(field);
    field->installEventFilter(filter);
    return filter;
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::MouseFocusReason:
            m_selectAfterClick = true;
            break;
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason:
            m_field->selectAll();
            break;
        default:
            break;
        }
        break;
    case QEvent::FocusOut:
        m_selectAfterClick = false;
        break;
    case QEvent::MouseButtonRelease:
        // Text the user selected by dragging during the focusing click stays selected.
        if (m_selectAfterClick && !m_field->hasSelectedText())
            m_field->selectAll();
        m_selectAfterClick = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace yalmera::ui
