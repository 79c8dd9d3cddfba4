#pragma once

#include "session/fleet_exchange.h"

#include <QWidget>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QVBoxLayout;

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class FleetResultTable;
class UserChoices;
class UserInterfaceFeedback;

// "Запись в несколько станций": the checked plan written into the stations on every checked port
// at once, each port with its own exchange, journal lines, progress bar and status, then a result
// table (port, serial number, outcome, time) that copies as tab-separated text. The exchanges run
// on threads of their own and report through queued calls, so the window stays painted and never
// shares a widget with them. "Стоп" ends every exchange at its next byte; closing the window while
// they run asks first, stops them and closes once all have ended.
//
// Component names (objectName): per port "Port:<name>" (check box), "Serial:<name>",
// "Progress:<name>", "Status:<name>"; OtherPortName with AddPortButton, RefreshPortsButton,
// VerifyCheck, ProtocolCheck with ProtocolFolder and ProtocolFolderButton, StartButton,
// StopButton, Hint (why "Пуск" is disabled, or how the run goes), ResultTable, CopyButton,
// ExitButton.
class FleetWriteWindow : public QWidget
{
    Q_OBJECT

public:
    FleetWriteWindow(AppState& state, UserInterfaceFeedback& feedback, UserChoices& choices,
                     QWidget* parent = nullptr);
    ~FleetWriteWindow() override;

    bool running() const;
    // The journal (files::defaultJournalPath() unless set).
    void setJournalPath(const QString& path) { m_journalPath = path; }
    // How long a station's journal line waits while another program holds the journal
    // (YALMERA_JOURNAL_WAIT, 30 s, unless set); "Стоп" ends the wait, and a line that does not
    // get in is shown in the station's outcome.
    void setJournalWaitLimit(std::chrono::milliseconds limit) { m_journalWaitLimit = limit; }
    // The result table as text: a caption line, then one line per station (only the selected
    // ones when selectedOnly and any are selected), fields separated by tabs.
    QString resultText(bool selectedOnly = false) const;

    // For a program that must end now (SIGTERM): every exchange stops at its next byte and is
    // journalled (a line waiting for the journal gives up, and what was not kept goes to stderr);
    // returns once all have ended.
    void endRunNow();

public slots:
    void start();
    void stop();
    // The system's serial ports again; checks and serial numbers stay with their ports, and the
    // ports added by hand stay.
    void refreshPorts();
    // A port the system does not list (a device path), added checked.
    void addPort(const QString& name);
    void copyResults();

signals:
    void runningChanged(bool running);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class RunObserver;
    struct PortRow
    {
        QString name;
        bool typed = false;
        QCheckBox* check = nullptr;
        QLabel* description = nullptr;
        QLineEdit* serial = nullptr;
        QProgressBar* progress = nullptr;
        QLabel* status = nullptr;
    };

    QWidget* makePortsBox();
    void addChoices(QVBoxLayout& layout);
    void addRunRow(QVBoxLayout& layout);
    void addRow(const QString& name, const QString& description, const QString& location, bool typed,
                bool checked, const QString& serial);
    std::vector<const PortRow*> checkedRows() const;
    // Why "Пуск" cannot start now; empty when it can.
    QString startRefusal() const;
    void updateStart();
    void enableChoices(bool enabled);
    QString protocolRefusal() const;
    void chooseProtocolFolder();

    // From the exchanges, on this thread.
    void showStep(int station, FleetStep step);
    void showPhase(int station, ExchangePhase phase);
    void showGauge(int station, int value);
    void showEnded(int station, const FleetStationResult& result);
    void showResults();
    static FleetOutcomeWords outcomeWords();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    UserChoices& m_choices;
    QString m_journalPath;
    std::chrono::milliseconds m_journalWaitLimit;

    std::vector<PortRow> m_rows;
    QGridLayout* m_portGrid = nullptr;
    QLineEdit* m_otherPort = nullptr;
    QCheckBox* m_verify = nullptr;
    QCheckBox* m_protocols = nullptr;
    QLineEdit* m_protocolFolder = nullptr;
    QPushButton* m_protocolFolderButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_refreshButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QLabel* m_hint = nullptr;
    FleetResultTable* m_resultTable = nullptr;

    // The run: what every station got (the protocols too), the rows its stations are, and what
    // each station ended with.
    std::unique_ptr<RunObserver> m_observer;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_stop{false};
    FleetRequest m_request;
    QList<FleetStation> m_stations;
    std::vector<std::size_t> m_runRows; // the row of each station
    QList<FleetStationResult> m_results;
    QStringList m_outcomes;
    QList<FleetEnd> m_ends; // how each station ended
    int m_ended = 0;
    bool m_closeWhenEnded = false;
};

} // namespace yalmera::ui
