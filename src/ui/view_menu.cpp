#include "view_menu.h"

#include "menu_items.h"
#include "ui_texts.h"
#include "user_stores.h"
#include "work_area.h"

#include <QAction>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace yalmera::ui {

namespace {

// The name under which the roomy window's size and place are kept.
const QString MainWindowPlace = QStringLiteral("main");

} // namespace

ViewMenu::ViewMenu(UserChoices& choices, WorkArea& workArea, QWidget& client, QMainWindow& window)
    : QObject(&window), m_choices(choices), m_workArea(workArea), m_client(client), m_window(window)
{
}

void ViewMenu::addTo(QMenuBar* bar)
{
    QMenu* view = bar->addMenu(withKey(texts::ui::ViewMenu, u'и'));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->setToolTipsVisible(true);
    m_roomyItem = addItem(view, QStringLiteral("RoomyWindowItem"), withKey(texts::ui::RoomyWindowItem, u'П'));
    m_roomyItem->setCheckable(true);
    m_roomyItem->setChecked(m_choices.roomyWindow());
    setHint(m_roomyItem, texts::ui::RoomyWindowHint.toString());
    connect(m_roomyItem, &QAction::toggled, this, [this](bool on) {
        m_choices.setRoomyWindow(on);
        setRoomy(on);
    });
}

void ViewMenu::setRoomy(bool roomy)
{
    const bool shown = m_window.isVisible();
    // The roomy window's size and place go with the choice: kept when it is turned off, back
    // when it is turned on again.
    if (!roomy && shown && m_roomy)
        keepRoomyPlace();
    m_roomy = roomy;
    const QSize fixedSize = WorkArea::FixedClientSize;
    if (roomy) {
        m_client.setMinimumSize(fixedSize);
        m_client.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_window.layout()->setSizeConstraint(QLayout::SetMinimumSize);
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        if (m_window.isMaximized() || m_window.isFullScreen())
            m_window.showNormal();
        m_client.setFixedSize(fixedSize);
        m_window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    // The fixed window offers no maximise button.
    m_window.setWindowFlag(Qt::WindowMaximizeButtonHint, roomy);
    if (shown)
        m_window.show(); // a change of the window's flags hides it
    if (roomy && shown)
        restoreRoomyPlace();
    if (m_roomyItem && m_roomyItem->isChecked() != roomy)
        m_roomyItem->setChecked(roomy);
    m_workArea.fitClientArea();
}

void ViewMenu::restoreRoomyPlace()
{
    // Qt puts a place on a screen that is gone, or off every screen, back on one.
    if (m_roomy)
        m_window.restoreGeometry(m_choices.windowPlace(MainWindowPlace));
}

void ViewMenu::keepRoomyPlaceAtEnd()
{
    if (m_roomy)
        keepRoomyPlace();
}

void ViewMenu::keepRoomyPlace()
{
    m_choices.setWindowPlace(MainWindowPlace, m_window.saveGeometry());
}

} // namespace yalmera::ui
