#pragma once

#include "fleet_write_window.h"
#include "focus_return.h"
#include "main_window.h"
#include "protocol_window.h"
#include "station_link_window.h"
#include "user_stores.h"

namespace yalmera::ui {

// The program's windows, created in this order: the main window, the station-link window, the
// protocol window and the several-stations window. Only the main window is shown; the others open from its
// menu, which minimises it, and their "Выход" restores it. Closing the main window hides the others.
class ProgramWindows
{
public:
    ProgramWindows(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                   UserStores& stores);

    MainWindow& mainWindow() { return m_main; }
    StationLinkWindow& stationLinkWindow() { return m_stationLink; }
    ProtocolWindow& protocolWindow() { return m_protocol; }
    FleetWriteWindow& fleetWriteWindow() { return m_fleetWrite; }

    // Shows the main window centred on its screen, or a roomy one where the user left it.
    void show();

private:
    // Every window that closes gives the focus back to the one it was opened from.
    FocusReturn m_focusReturn;
    MainWindow m_main;
    StationLinkWindow m_stationLink;
    ProtocolWindow m_protocol;
    FleetWriteWindow m_fleetWrite;
};

// Places a top-level window in the middle of the screen it is on.
void centreOnScreen(QWidget& window);

} // namespace yalmera::ui
