#pragma once

#include "model/station_type.h"

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class ChannelGrid;
class PlanFiles;
class PlanHistory;
class UserInterfaceFeedback;

// "Станция": the protocol, the station link, the comparison with a station and the write to
// several stations, each in a window of its own which the main window makes way for (minimised);
// and the station's band ("Тип радиостанции"), whose change takes the old band's table away.
//
// Component names (objectName): N20 "Станция" with N21 "Создать протокол", N23 "Запись/Чтение
// данных", N24 "Тип радиостанции" (N3062, N3063, N300345, N400486), CompareItem, FleetWriteItem.
class StationMenu : public QObject
{
    Q_OBJECT

public:
    StationMenu(AppState& state, UserInterfaceFeedback& feedback, PlanHistory& history, PlanFiles& files,
                ChannelGrid& grid, QMainWindow& window);

    void addTo(QMenuBar* bar);
    void markBand(Band band);

signals:
    // Another band is selected: the history is gone and the old band's table is to be hidden.
    void bandChanged();
    void stationLinkWindowRequested();
    // "Запись в несколько станций".
    void fleetWriteWindowRequested();
    void stationComparisonRequested();
    void protocolWindowRequested();

private:
    void addBandMenu(QMenu* station);
    // The band already selected: nothing at all changes, the table keeps its check boxes.
    // Otherwise an unsaved plan asks first, since the change takes its flags and its undo steps
    // ("Отмена", or a save that did not happen, keeps the band and its mark in the menu).
    void selectBand(Band band);
    void openProtocolWindow();
    void openStationLinkWindow();
    // "Сравнить со станцией": the station-link window, which reads and compares.
    void openStationComparison();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanHistory& m_history;
    PlanFiles& m_files;
    ChannelGrid& m_grid;
    QMainWindow& m_window;
    QAction* m_band30to60Item = nullptr;
    QAction* m_band144to174Item = nullptr;
};

} // namespace yalmera::ui
