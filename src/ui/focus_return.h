#pragma once

#include <QObject>

namespace yalmera::ui {

// Gives the focus back to the window a closing window was opened from: the parent of a message
// box, a question, a file dialog or the print preview, or the window that was active when a
// window without a parent appeared. Windows does this by itself for a dialog over its owner; on
// X11 without a window manager, and on the offscreen platform, nothing is active once the
// dialog is gone, and every key, Ctrl+O too, is lost until a click. A window that is hidden or
// minimised by then is left alone, and so is one that the user has meanwhile left for another.
class FocusReturn : public QObject
{
    Q_OBJECT

public:
    // Watches every window of the application while it exists.
    explicit FocusReturn(QObject* parent = nullptr);
    ~FocusReturn() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace yalmera::ui
