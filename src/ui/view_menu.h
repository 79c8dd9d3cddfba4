#pragma once

#include <QObject>

class QAction;
class QMainWindow;
class QMenuBar;

namespace yalmera::ui {

class UserChoices;
class WorkArea;

// "Вид": the roomy window. Roomy, the window may be enlarged or maximised, never below its fixed
// size, and the table takes the room; otherwise it is the fixed window. The choice outlives the
// run, and so do the roomy window's size and place, kept when it is turned off or the program ends.
//
// Component names (objectName): ViewMenu "Вид" with RoomyWindowItem.
class ViewMenu : public QObject
{
    Q_OBJECT

public:
    ViewMenu(UserChoices& choices, WorkArea& workArea, QWidget& client, QMainWindow& window);

    void addTo(QMenuBar* bar);
    void setRoomy(bool roomy);
    // A roomy window where the user left it (at start, before it is shown); a fixed one stays.
    void restoreRoomyPlace();
    // The program ends: a roomy window's size and place are kept.
    void keepRoomyPlaceAtEnd();

private:
    void keepRoomyPlace();

    UserChoices& m_choices;
    WorkArea& m_workArea;
    QWidget& m_client;
    QMainWindow& m_window;
    QAction* m_roomyItem = nullptr;
    bool m_roomy = false;
};

} // namespace yalmera::ui
