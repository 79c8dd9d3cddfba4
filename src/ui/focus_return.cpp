#include "focus_return.h"

#include <QApplication>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace yalmera::ui {

namespace {

// Kept on the window itself, so that it goes with the window.
constexpr const char* OpenerProperty = "yalmeraOpener";

// Windows and dialogs take the focus; menus, lists, tool tips and splash screens do not.
bool takesFocus(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet;
}

} // namespace

FocusReturn::FocusReturn(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

FocusReturn::~FocusReturn()
{
    qApp->removeEventFilter(this);
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    // Only what the program shows or hides itself: a window the window system minimises or
    // restores keeps its opener.
    if ((event->type() != QEvent::Show && event->type() != QEvent::Hide) || event->spontaneous())
        return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow() || !takesFocus(*window))
        return false;
    if (event->type() == QEvent::Show) {
        QWidget* opener =
            window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
        window->setProperty(OpenerProperty,
                            QVariant::fromValue(QPointer<QWidget>(opener == window ? nullptr : opener)));
        return false;
    }
    const auto opener = window->property(OpenerProperty).value<QPointer<QWidget>>();
    window->setProperty(OpenerProperty, QVariant());
    // The opener may still count as active: a dialog answered at once can close before the window
    // system has activated it, and its late activation leaves no window active.
    const QWidget* active = QApplication::activeWindow();
    if (opener && opener->isVisible() && !opener->isMinimized() &&
        (!active || active == window || active == opener))
        opener->activateWindow();
    return false;
}

} // namespace yalmera::ui
