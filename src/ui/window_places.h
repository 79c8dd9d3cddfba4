#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace yalmera::ui {

class UserChoices;

// Where a window of its own opens the first time (frame sizes in px, on the available area of
// the main window's screen): right of the main window where it fits, else left of it, else
// centred over it; never beyond the screen, and no larger than it.
QRect firstPlace(QSize frame, const QRect& mainFrame, const QRect& screen);

// A window of its own (the guide, the journal) opens where the user last left it, size and place,
// on a screen that is still there; the first time by the main window (firstPlace). Where it is
// left is kept in the choices under `name` each time it is hidden.
void keepPlace(QWidget& window, const QString& name, UserChoices& choices, const QWidget& main);

} // namespace yalmera::ui
