#pragma once

#include <QStyle>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace yalmera {
class AppState;
class ByteTrace;
class ReadExchange;
class WriteExchange;
enum class ExchangePhase;
struct ExchangeRecord;
struct JournalWait;
struct PlanComparison;
struct StationComparisonBasis;
struct ReadRequest;
struct UserMessage;
struct ReadResult;
struct WriteRequest;
struct WriteResult;
} // namespace yalmera

namespace yalmera::ui {

class UserChoices;
class UserInterfaceFeedback;

// The station-link window ("Form1"): port choice, progress gauge, status field and the write and
// read buttons. The exchanges run on worker threads, so the window stays painted while its
// buttons are disabled; it has no close button, "Выход" leads back to the main window.
// Every exchange adds a line to the journal; a plan read is saved in the backups folder beside it
// before it replaces the program's plan. With a trace file, every byte goes there too. With
// "Сверить после записи" (remembered, off at first) a complete write is followed by a read that
// compares what the station holds with what was written and replaces nothing. "Сравнить" reads
// the station and compares it with the program's plan, field by field, journalled as "сверка"
// with its backup; the plan stays as it is and the main window marks the differences. The port
// chosen is kept for the next start; opened again, the window shows "- -" and an empty gauge.
//
// Component names (objectName): RadioButton1 " COM1", RadioButton2 " COM2", RadioButton3 with
// ComboBox1 (another port: a listed adapter or a typed device path), Gauge1, StaticText1,
// BitBtn1 "Выход", BitBtn2 "Запись данных ", BitBtn3 "Чтение данных ", CheckBox1 "Сверить после
// записи", BitBtn4 "Сравнить".
class StationLinkWindow : public QWidget
{
    Q_OBJECT

public:
    StationLinkWindow(AppState& state, UserInterfaceFeedback& feedback, UserChoices& choices,
                      QWidget* parent = nullptr);
    ~StationLinkWindow() override;

    // "COM1", "COM2", or the other port as listed or typed (empty when none is named).
    QString portChoice() const;
    bool exchangeRunning() const;

    WriteExchange* writeExchange() const { return m_write; }
    ReadExchange* readExchange() const { return m_read; }

    // The journal (files::defaultJournalPath() unless set).
    void setJournalPath(const QString& path) { m_journalPath = path; }
    QString journalPath() const { return m_journalPath; }
    // How long a journal line waits while another program holds the journal (YALMERA_JOURNAL_WAIT,
    // 30 s, unless set). The window keeps painting meanwhile and the program can still be ended
    // (endExchangeNow); a line that does not get in is shown in the exchange's message.
    void setJournalWaitLimit(std::chrono::milliseconds limit) { m_journalWaitLimit = limit; }
    // The file every exchange's bytes are appended to; none when empty ($YALMERA_TRACE unless set).
    void setTracePath(const QString& path) { m_tracePath = path; }
    // Where the serial number of a written station comes from (the protocol window's field).
    void setSerialNumberSource(std::function<QString()> source) { m_serialNumber = std::move(source); }

    // For a program that must end now (SIGTERM): stops a running exchange at its next byte, waits
    // for it and journals its end like any other, with no message shown (nobody is left to close
    // it); a journal line waiting for the journal gives up, and what could not be kept goes to
    // stderr.
    void endExchangeNow();

public slots:
    void writeStation();
    void readStation();
    // Reads the station and compares it with the plan, as it stands now; refused without a plan
    // that passes the data check (the comparison goes through the check's image).
    void compareStation();
    void leave();
    // The comparison's button takes the focus, so that Enter starts it ("Сравнить со станцией").
    void offerComparison();

signals:
    void left();
    // A read-back has replaced the plan; bandChosen: the station's code selected its band.
    void planRead(bool bandChosen);
    // A read compared the station with the plan (compareStation), which stays as it was.
    void stationCompared(const yalmera::PlanComparison& comparison);
    // An exchange started or ended.
    void exchangeRunningChanged(bool running);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void makePortChoice();
    void makeExchangeControls();
    QPushButton* makeButton(QStringView text, const char* name, QStyle::StandardPixmap icon,
                            const QRect& place);
    void followExchanges();
    void listOtherPorts();
    // The other port chosen without a name: says so, and nothing starts.
    bool refuseWithoutPort();
    // The status text and the buttons of an exchange's phase.
    void showPhase(ExchangePhase phase);
    // Late replies, said below the buttons until the next write; empty: nothing said.
    void showLatencyNote(const QString& text);
    // The port choice is fixed from the start of an exchange to its end, whatever its outcome,
    // so that the window always shows the port the data went to.
    void enablePortChoice(bool enabled);
    void reportRunning();
    void showWriteResult(const WriteResult& result);
    void applyReadResult(const ReadResult& result);
    // The read that checks a complete write; false when it could not start.
    bool startVerification(std::unique_ptr<WriteRequest> written);
    void showVerification(const WriteRequest& written, const ReadRequest& request, const ReadResult& result);
    // A read that compared: the journal line "сверка", the marks, and what the window says.
    void showComparison(const StationComparisonBasis& basis, const ReadRequest& request,
                        const ReadResult& result);
    // The trace for the next exchange: none when no trace file is set, and none with the failure
    // shown when it cannot be opened (then false: the exchange does not start).
    bool openTrace(std::shared_ptr<ByteTrace>& trace);
    // The wait of a journal line: the window's limit, ended by endExchangeNow.
    JournalWait journalWait();
    // Shows what an exchange that ended has to say, after its journal line (and backup) are
    // written, so that nothing waits for a message box to close: the exchange's own message, then
    // any record that could not be written (also on stderr when the program is ending).
    void showEnded(const UserMessage& message, const ExchangeRecord& recorded,
                   const std::shared_ptr<ByteTrace>& trace);

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    UserChoices& m_choices;
    WriteExchange* m_write;
    ReadExchange* m_read;
    QString m_journalPath;
    QString m_tracePath;
    std::function<QString()> m_serialNumber;
    std::chrono::milliseconds m_journalWaitLimit;
    // endExchangeNow: messages are no longer shown, and no journal line waits any longer
    std::atomic<bool> m_ending{false};
    // The request of the exchange running (or last run): its stream and port go into the journal.
    std::unique_ptr<WriteRequest> m_writeRequest;
    std::unique_ptr<ReadRequest> m_readRequest;
    // The write the running read checks; none for a read of its own.
    std::unique_ptr<WriteRequest> m_verifiedWrite;
    // The plan the running read is compared with; none for another read.
    std::unique_ptr<StationComparisonBasis> m_compared;

    QRadioButton* m_com1 = nullptr;       // RadioButton1
    QRadioButton* m_com2 = nullptr;       // RadioButton2
    QRadioButton* m_otherPort = nullptr;  // RadioButton3
    QComboBox* m_otherPortName = nullptr; // ComboBox1
    QProgressBar* m_gauge = nullptr;      // Gauge1
    QLabel* m_status = nullptr;           // StaticText1
    QLabel* m_latencyNote = nullptr;
    QPushButton* m_exitButton = nullptr;  // BitBtn1
    QPushButton* m_writeButton = nullptr; // BitBtn2
    QPushButton* m_readButton = nullptr;  // BitBtn3
    QPushButton* m_compare = nullptr;     // BitBtn4
    QCheckBox* m_verify = nullptr;        // CheckBox1
};

} // namespace yalmera::ui
