#include "program_windows.h"

#include <QScreen>

namespace yalmera::ui {

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

ProgramWindows::ProgramWindows(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                               UserStores& stores)
    : m_main(state, feedback, dialogs, stores), m_stationLink(state, feedback, stores.choices),
      m_protocol(state, feedback), m_fleetWrite(state, feedback, stores.choices)
{
    const auto showStationLink = [this] {
        centreOnScreen(m_stationLink);
        m_stationLink.show();
        m_stationLink.raise();
        m_stationLink.activateWindow();
    };
    QObject::connect(&m_main, &MainWindow::stationLinkWindowRequested, &m_stationLink, showStationLink);
    // "Сравнить со станцией": the same window, its comparison offered on the port chosen there.
    QObject::connect(&m_main, &MainWindow::stationComparisonRequested, &m_stationLink,
                     [this, showStationLink] {
                         showStationLink();
                         m_stationLink.offerComparison();
                     });
    QObject::connect(&m_main, &MainWindow::protocolWindowRequested, &m_protocol, [this] {
        centreOnScreen(m_protocol);
        m_protocol.show();
        m_protocol.raise();
        m_protocol.activateWindow();
    });
    // The journal names a written station by the serial number the protocol window holds.
    m_stationLink.setSerialNumberSource([this] { return m_protocol.serialNumber(); });
    m_main.setJournalPathSource([this] { return m_stationLink.journalPath(); });
    QObject::connect(&m_stationLink, &StationLinkWindow::left, &m_main, &MainWindow::restoreAfterStationLink);
    QObject::connect(&m_stationLink, &StationLinkWindow::planRead, &m_main,
                     &MainWindow::showPlanReadFromStation);
    QObject::connect(&m_stationLink, &StationLinkWindow::stationCompared, &m_main,
                     &MainWindow::showStationComparison);
    // The main window takes no input while either window exchanges bytes with a station.
    const auto showExchangeRunning = [this] {
        m_main.setStationExchangeRunning(m_stationLink.exchangeRunning() || m_fleetWrite.running());
    };
    QObject::connect(&m_stationLink, &StationLinkWindow::exchangeRunningChanged, &m_main,
                     showExchangeRunning);
    QObject::connect(&m_fleetWrite, &FleetWriteWindow::runningChanged, &m_main, showExchangeRunning);
    QObject::connect(&m_main, &MainWindow::fleetWriteWindowRequested, &m_fleetWrite, [this] {
        if (!m_fleetWrite.isVisible())
            centreOnScreen(m_fleetWrite);
        m_fleetWrite.show();
        m_fleetWrite.raise();
        m_fleetWrite.activateWindow();
    });
    QObject::connect(&m_protocol, &ProtocolWindow::left, &m_main, &MainWindow::restoreAfterProtocol);
    // The program ends with its main window; the others go without their own leaving steps.
    QObject::connect(&m_main, &MainWindow::closed, &m_stationLink, &QWidget::hide);
    QObject::connect(&m_main, &MainWindow::closed, &m_protocol, &QWidget::hide);
    QObject::connect(&m_main, &MainWindow::closed, &m_fleetWrite, &QWidget::hide);
}

void ProgramWindows::show()
{
    m_main.adjustSize();
    centreOnScreen(m_main);
    m_main.restoreRoomyPlace();
    m_main.show();
}

} // namespace yalmera::ui
