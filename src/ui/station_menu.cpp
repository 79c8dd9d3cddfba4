#include "station_menu.h"

#include "channel_grid.h"
#include "menu_items.h"
#include "plan_files.h"
#include "plan_history.h"
#include "ui_texts.h"
#include "user_feedback.h"

#include "report/protocol_document.h"
#include "session/app_state.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace yalmera::ui {

StationMenu::StationMenu(AppState& state, UserInterfaceFeedback& feedback, PlanHistory& history,
                         PlanFiles& files, ChannelGrid& grid, QMainWindow& window)
    : QObject(&window), m_state(state), m_feedback(feedback), m_history(history), m_files(files),
      m_grid(grid), m_window(window)
{
}

void StationMenu::addTo(QMenuBar* bar)
{
    const QStyle* style = m_window.style();
    QMenu* station = bar->addMenu(withKey(texts::ui::StationMenu, u'т'));
    station->setObjectName(QStringLiteral("N20"));
    QAction* protocol = addItem(station, QStringLiteral("N21"), withKey(texts::ui::CreateProtocolItem, u'п'));
    protocol->setIcon(style->standardIcon(QStyle::SP_FileDialogDetailedView));
    station->addSeparator()->setObjectName(QStringLiteral("N22"));
    QAction* link = addItem(station, QStringLiteral("N23"), withKey(texts::ui::StationLinkItem, u'З'));
    link->setIcon(style->standardIcon(QStyle::SP_DriveNetIcon));
    connect(protocol, &QAction::triggered, this, &StationMenu::openProtocolWindow);
    connect(link, &QAction::triggered, this, &StationMenu::openStationLinkWindow);
    addBandMenu(station);

    station->setToolTipsVisible(true);
    QAction* compare =
        addItem(station, QStringLiteral("CompareItem"), withKey(texts::ui::CompareStationItem, u'С'));
    setHint(compare, texts::ui::CompareStationHint.toString());
    connect(compare, &QAction::triggered, this, &StationMenu::openStationComparison);

    station->addSeparator();
    QAction* fleet =
        addItem(station, QStringLiteral("FleetWriteItem"), withKey(texts::ui::FleetWriteItem, u'н'));
    setHint(fleet, texts::ui::FleetWriteItemHint.toString());
    connect(fleet, &QAction::triggered, this, &StationMenu::fleetWriteWindowRequested);
}

void StationMenu::addBandMenu(QMenu* station)
{
    QMenu* stationType = station->addMenu(withKey(texts::ui::StationTypeMenu, u'Т'));
    stationType->setObjectName(QStringLiteral("N24"));
    auto* bandGroup = new QActionGroup(this);
    bandGroup->setExclusive(true);
    m_band30to60Item =
        addItem(stationType, QStringLiteral("N3062"), withKey(texts::ui::Band30to60Item, u'3'));
    m_band144to174Item =
        addItem(stationType, QStringLiteral("N3063"), withKey(texts::ui::Band144to174Item, u'1'));
    QAction* band300 =
        addItem(stationType, QStringLiteral("N300345"), texts::ui::Band300to345Item.toString());
    QAction* band400 =
        addItem(stationType, QStringLiteral("N400486"), texts::ui::Band400to486Item.toString());
    for (QAction* item : {m_band30to60Item, m_band144to174Item, band300, band400}) {
        item->setCheckable(true);
        bandGroup->addAction(item);
    }
    // Shown for the stations still to come; never enabled.
    band300->setEnabled(false);
    band400->setEnabled(false);
    connect(m_band30to60Item, &QAction::triggered, this, [this] { selectBand(Band::Mhz30to60); });
    connect(m_band144to174Item, &QAction::triggered, this, [this] { selectBand(Band::Mhz144to174); });
}

void StationMenu::markBand(Band band)
{
    (band == Band::Mhz30to60 ? m_band30to60Item : m_band144to174Item)->setChecked(true);
}

void StationMenu::selectBand(Band band)
{
    if (m_state.isBandSelected(band))
        return;
    if (!m_files.mayLeavePlan()) {
        markBand(m_state.stationType().band);
        return;
    }
    m_state.selectBand(band);
    m_history.clear();
    emit bandChanged();
}

void StationMenu::openProtocolWindow()
{
    const UserMessage refusal = report::protocolRefusal(m_state, report::ProtocolRequest::Menu);
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, &m_window);
        return;
    }
    m_window.showMinimized();
    emit protocolWindowRequested();
}

void StationMenu::openStationLinkWindow()
{
    emit stationLinkWindowRequested();
    m_window.showMinimized();
}

void StationMenu::openStationComparison()
{
    // The plan compared is the one shown, with a cell being typed in taken.
    m_grid.finishEditing();
    emit stationComparisonRequested();
    m_window.showMinimized();
}

} // namespace yalmera::ui
