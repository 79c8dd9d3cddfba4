#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace yalmera {
class AppState;
class ReadExchange;
class WriteExchange;
enum class ExchangePhase;
struct ReadResult;
struct WriteResult;
} // namespace yalmera

namespace yalmera::ui {

class UserInterfaceFeedback;

// The station-link window ("Form1"): port choice, progress gauge, status field and the write and
// read buttons. The exchanges run on worker threads, so the window stays painted while its
// buttons are disabled; it has no close button, "Выход" leads back to the main window.
//
// Component names (objectName): RadioButton1 " COM1", RadioButton2 " COM2", RadioButton3 with
// ComboBox1 (another port: a listed adapter or a typed device path), Gauge1, StaticText1,
// BitBtn1 "Выход", BitBtn2 "Запись данных ", BitBtn3 "Чтение данных ".
class StationLinkWindow : public QWidget
{
    Q_OBJECT

public:
    StationLinkWindow(AppState& state, UserInterfaceFeedback& feedback, QWidget* parent = nullptr);
    ~StationLinkWindow() override;

    // "COM1", "COM2", or the other port as listed or typed (empty when none is named).
    QString portChoice() const;
    bool exchangeRunning() const;

    WriteExchange* writeExchange() const { return m_write; }
    ReadExchange* readExchange() const { return m_read; }

public slots:
    void writeStation();
    void readStation();
    void leave();

signals:
    void left();
    // A read-back has replaced the plan; bandChosen: the station's code selected its band.
    void planRead(bool bandChosen);
    // An exchange started or ended.
    void exchangeRunningChanged(bool running);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void listOtherPorts();
    // The other port chosen without a name: says so, and nothing starts.
    bool refuseWithoutPort();
    // The status text and the buttons of an exchange's phase.
    void showPhase(ExchangePhase phase);
    // The port choice is fixed from the start of an exchange to its end, whatever its outcome,
    // so that the window always shows the port the data went to.
    void enablePortChoice(bool enabled);
    void reportRunning();
    void showWriteResult(const WriteResult& result);
    void applyReadResult(const ReadResult& result);

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    WriteExchange* m_write;
    ReadExchange* m_read;

    QRadioButton* m_com1 = nullptr;       // RadioButton1
    QRadioButton* m_com2 = nullptr;       // RadioButton2
    QRadioButton* m_otherPort = nullptr;  // RadioButton3
    QComboBox* m_otherPortName = nullptr; // ComboBox1
    QProgressBar* m_gauge = nullptr;      // Gauge1
    QLabel* m_status = nullptr;           // StaticText1
    QPushButton* m_exitButton = nullptr;  // BitBtn1
    QPushButton* m_writeButton = nullptr; // BitBtn2
    QPushButton* m_readButton = nullptr;  // BitBtn3
};

} // namespace yalmera::ui
