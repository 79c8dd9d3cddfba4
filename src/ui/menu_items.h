#pragma once

#include <QString>
#include <QStringView>

class QAction;
class QMenu;
class QMenuBar;

// How the main window's menus are made: every item with its object name, its underlined letter
// and, where it has one, a hint shown as a tool tip and in the status line.
namespace yalmera::ui {

// A caption with its underlined letter: '&' before the first `key` of the text, which Alt with
// the letter (a menu of the bar) or the letter alone (an item of an open menu) chooses. The text
// shown stays as it is.
QString withKey(QStringView text, char16_t key);

QAction* addItem(QMenu* menu, const QString& name, const QString& text);

void setHint(QAction* action, const QString& hint);

// The menu bar shows the hint of the item under the mouse, as the items inside the menus do.
void showHintsOnBar(QMenuBar* bar);

} // namespace yalmera::ui
