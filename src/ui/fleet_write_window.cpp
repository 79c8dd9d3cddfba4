#include "fleet_write_window.h"

#include "console_text.h"
#include "fleet_result_table.h"
#include "ui_texts.h"
#include "user_feedback.h"
#include "user_stores.h"

#include "files/journal.h"
#include "files/save_target.h"
#include "link/link_texts.h"
#include "link/serial_link.h"
#include "report/protocol_document.h"
#include "report/protocol_file.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace yalmera::ui {

namespace {

enum Field { CheckField, DescriptionField, SerialField, ProgressField, StatusField };

QPushButton* button(QStringView text, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(text.toString(), parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

} // namespace

// The fleet exchange's reports, taken from the stations' threads to the window's: each call is
// queued with its values, in the order a station made them.
class FleetWriteWindow::RunObserver final : public FleetObserver
{
public:
    explicit RunObserver(FleetWriteWindow* window) : m_window(window) {}
    void stationStep(int station, FleetStep step) override
    {
        post([=](FleetWriteWindow* w) { w->showStep(station, step); });
    }
    void stationPhase(int station, ExchangePhase phase) override
    {
        post([=](FleetWriteWindow* w) { w->showPhase(station, phase); });
    }
    void stationGauge(int station, int value) override
    {
        post([=](FleetWriteWindow* w) { w->showGauge(station, value); });
    }
    void stationEnded(int station, const FleetStationResult& result) override
    {
        post([=](FleetWriteWindow* w) { w->showEnded(station, result); });
    }

private:
    template <typename Call> void post(Call call)
    {
        FleetWriteWindow* window = m_window;
        QMetaObject::invokeMethod(
            window, [window, call] { call(window); }, Qt::QueuedConnection);
    }

    FleetWriteWindow* m_window;
};

FleetWriteWindow::FleetWriteWindow(AppState& state, UserInterfaceFeedback& feedback, UserChoices& choices,
                                   QWidget* parent)
    : QWidget(parent), m_state(state), m_feedback(feedback), m_choices(choices),
      m_journalPath(files::defaultJournalPath()), m_journalWaitLimit(files::journalWaitLimit()),
      m_observer(std::make_unique<RunObserver>(this))
{
    setObjectName(QStringLiteral("FleetWriteWindow"));
    setWindowTitle(texts::ui::FleetWriteItem.toString());
    setWindowFlags(Qt::Window);
    resize(860, 580);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePortsBox(), 2);
    addChoices(*layout);
    addRunRow(*layout);
    m_resultTable = new FleetResultTable(this);
    layout->addWidget(m_resultTable, 1);
    auto* copyRow = new QHBoxLayout;
    copyRow->addStretch(1);
    QPushButton* copy = button(texts::ui::FleetCopyButton, "CopyButton", this);
    copyRow->addWidget(copy);
    QPushButton* exit = button(texts::ui::LinkExitButton, "ExitButton", this);
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    copyRow->addWidget(exit);
    layout->addLayout(copyRow);
    connect(copy, &QPushButton::clicked, this, &FleetWriteWindow::copyResults);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* FleetWriteWindow::makePortsBox()
{
    auto* ports = new QGroupBox(texts::ui::FleetPortsTitle.toString(), this);
    auto* portsLayout = new QVBoxLayout(ports);
    auto* scroll = new QScrollArea(ports);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(150);
    auto* grid = new QWidget(scroll);
    auto* gridColumn = new QVBoxLayout(grid);
    m_portGrid = new QGridLayout;
    m_portGrid->setColumnStretch(DescriptionField, 2);
    m_portGrid->setColumnStretch(StatusField, 3);
    gridColumn->addLayout(m_portGrid);
    gridColumn->addStretch(1); // the rows stay at the top
    scroll->setWidget(grid);
    portsLayout->addWidget(scroll);
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(new QLabel(texts::ui::FleetOtherPort.toString(), ports));
    m_otherPort = new QLineEdit(ports);
    m_otherPort->setObjectName(QStringLiteral("OtherPortName"));
    m_otherPort->setToolTip(texts::ui::OtherPortHint.toString());
    otherRow->addWidget(m_otherPort, 1);
    m_addButton = button(texts::ui::FleetAddPort, "AddPortButton", ports);
    otherRow->addWidget(m_addButton);
    otherRow->addSpacing(16);
    m_refreshButton = button(texts::ui::FleetRefreshPorts, "RefreshPortsButton", ports);
    otherRow->addWidget(m_refreshButton);
    portsLayout->addLayout(otherRow);
    connect(m_addButton, &QPushButton::clicked, this, [this] { addPort(m_otherPort->text()); });
    connect(m_otherPort, &QLineEdit::returnPressed, m_addButton, &QPushButton::click);
    connect(m_refreshButton, &QPushButton::clicked, this, &FleetWriteWindow::refreshPorts);
    return ports;
}

void FleetWriteWindow::addChoices(QVBoxLayout& layout)
{
    m_verify = new QCheckBox(texts::ui::VerifyAfterWrite.toString(), this);
    m_verify->setObjectName(QStringLiteral("VerifyCheck"));
    m_verify->setToolTip(texts::ui::VerifyAfterWriteHint.toString());
    m_verify->setChecked(m_choices.verifyAfterWrite());
    layout.addWidget(m_verify);
    auto* protocolRow = new QHBoxLayout;
    m_protocols = new QCheckBox(texts::ui::FleetSaveProtocols.toString(), this);
    m_protocols->setObjectName(QStringLiteral("ProtocolCheck"));
    protocolRow->addWidget(m_protocols);
    m_protocolFolder = new QLineEdit(this);
    m_protocolFolder->setObjectName(QStringLiteral("ProtocolFolder"));
    protocolRow->addWidget(m_protocolFolder, 1);
    m_protocolFolderButton = button(texts::ui::FleetChooseFolder, "ProtocolFolderButton", this);
    protocolRow->addWidget(m_protocolFolderButton);
    layout.addLayout(protocolRow);
    connect(m_protocols, &QCheckBox::toggled, this, [this](bool on) {
        m_protocolFolder->setEnabled(on);
        m_protocolFolderButton->setEnabled(on);
    });
    m_protocolFolder->setEnabled(false);
    m_protocolFolderButton->setEnabled(false);
    connect(m_protocolFolderButton, &QPushButton::clicked, this, &FleetWriteWindow::chooseProtocolFolder);
}

void FleetWriteWindow::addRunRow(QVBoxLayout& layout)
{
    auto* runRow = new QHBoxLayout;
    m_startButton = button(texts::ui::FleetStartButton, "StartButton", this);
    m_startButton->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_stopButton = button(texts::ui::FleetStopButton, "StopButton", this);
    m_stopButton->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_stopButton->setEnabled(false);
    runRow->addWidget(m_startButton);
    runRow->addWidget(m_stopButton);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("Hint"));
    m_hint->setWordWrap(true);
    runRow->addWidget(m_hint, 1);
    layout.addLayout(runRow);
    connect(m_startButton, &QPushButton::clicked, this, &FleetWriteWindow::start);
    connect(m_stopButton, &QPushButton::clicked, this, &FleetWriteWindow::stop);
}

FleetWriteWindow::~FleetWriteWindow()
{
    // Never leaves a thread behind: the stations stop at their next byte.
    m_stop = true;
    if (m_thread)
        m_thread->wait();
}

bool FleetWriteWindow::running() const
{
    return m_thread != nullptr;
}

void FleetWriteWindow::addRow(const QString& name, const QString& description, const QString& location,
                              bool typed, bool checked, const QString& serial)
{
    QWidget* grid = m_portGrid->parentWidget();
    PortRow row;
    row.name = name;
    row.typed = typed;
    row.check = new QCheckBox(name, grid);
    row.check->setObjectName(QStringLiteral("Port:") + name);
    row.check->setChecked(checked);
    row.check->setToolTip(location);
    row.description = new QLabel(description, grid);
    row.description->setToolTip(location);
    row.serial = new QLineEdit(serial, grid);
    row.serial->setObjectName(QStringLiteral("Serial:") + name);
    row.serial->setPlaceholderText(texts::ui::FleetSerialPlaceholder.toString());
    row.serial->setMaximumWidth(150);
    row.progress = new QProgressBar(grid);
    row.progress->setObjectName(QStringLiteral("Progress:") + name);
    row.progress->setRange(0, 100);
    row.progress->setValue(0);
    row.progress->setMaximumWidth(120);
    row.status = new QLabel(grid);
    row.status->setObjectName(QStringLiteral("Status:") + name);
    row.status->setWordWrap(true);
    const int at = static_cast<int>(m_rows.size());
    m_portGrid->addWidget(row.check, at, CheckField);
    m_portGrid->addWidget(row.description, at, DescriptionField);
    m_portGrid->addWidget(row.serial, at, SerialField);
    m_portGrid->addWidget(row.progress, at, ProgressField);
    m_portGrid->addWidget(row.status, at, StatusField);
    connect(row.check, &QCheckBox::toggled, this, &FleetWriteWindow::updateStart);
    m_rows.push_back(row);
}

void FleetWriteWindow::refreshPorts()
{
    if (running())
        return;
    struct Kept
    {
        bool checked;
        QString serial;
    };
    QHash<QString, Kept> kept;
    QStringList typed;
    for (const PortRow& row : m_rows) {
        kept.insert(row.name, {row.check->isChecked(), row.serial->text()});
        if (row.typed)
            typed.append(row.name);
        for (QWidget* widget : std::initializer_list<QWidget*>{row.check, row.description, row.serial,
                                                               row.progress, row.status})
            delete widget;
    }
    m_rows.clear();
    // What tells two USB adapters apart, as "yalmera-cli ports" lists it.
    for (const PortChoice& port : serialPorts()) {
        const Kept was = kept.value(port.name, {false, {}});
        addRow(port.name, portDetails(port), port.location, false, was.checked, was.serial);
        typed.removeAll(port.name);
    }
    for (const QString& name : typed) {
        const Kept was = kept.value(name);
        addRow(name, texts::ui::FleetTypedPort.toString(), name, true, was.checked, was.serial);
    }
    updateStart();
}

void FleetWriteWindow::addPort(const QString& name)
{
    const QString port = name.trimmed();
    if (port.isEmpty() || running())
        return;
    const auto listed =
        std::find_if(m_rows.begin(), m_rows.end(), [&](const PortRow& r) { return r.name == port; });
    if (listed != m_rows.end())
        listed->check->setChecked(true);
    else
        addRow(port, texts::ui::FleetTypedPort.toString(), port, true, true, {});
    m_otherPort->clear();
    updateStart();
}

std::vector<const FleetWriteWindow::PortRow*> FleetWriteWindow::checkedRows() const
{
    std::vector<const PortRow*> rows;
    for (const PortRow& row : m_rows) {
        if (row.check->isChecked())
            rows.push_back(&row);
    }
    return rows;
}

QString FleetWriteWindow::startRefusal() const
{
    if (!m_state.dataChecked())
        return texts::link::NotChecked.toString();
    if (checkedRows().empty())
        return texts::ui::FleetNoPortChecked.toString();
    return {};
}

void FleetWriteWindow::updateStart()
{
    if (running())
        return;
    const QString refusal = startRefusal();
    m_startButton->setEnabled(refusal.isEmpty());
    m_hint->setText(refusal.isEmpty() ? texts::ui::FleetReady.toString().arg(checkedRows().size()) : refusal);
}

void FleetWriteWindow::showEvent(QShowEvent* event)
{
    // Listed when opened, not when the program starts: adapters come and go meanwhile. A window
    // restored from the task bar keeps its rows and their statuses.
    if (!event->spontaneous())
        refreshPorts();
    updateStart();
    QWidget::showEvent(event);
}

void FleetWriteWindow::changeEvent(QEvent* event)
{
    // The plan may have been checked in the main window meanwhile.
    if (event->type() == QEvent::ActivationChange)
        updateStart();
    QWidget::changeEvent(event);
}

void FleetWriteWindow::chooseProtocolFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, texts::ui::FleetSaveProtocols.toString(),
                                                             m_protocolFolder->text());
    if (!folder.isEmpty())
        m_protocolFolder->setText(QDir::toNativeSeparators(folder));
}

QString FleetWriteWindow::protocolRefusal() const
{
    const QString folder = m_protocolFolder->text().trimmed();
    if (folder.isEmpty())
        return texts::ui::FleetNoProtocolFolder.toString();
    if (const UserMessage refusal = report::protocolRefusal(m_state, report::ProtocolRequest::Create);
        !refusal.isEmpty())
        return refusal.text;
    // The serial number names the protocol: given, or reported by the station to the check.
    if (!m_verify->isChecked()) {
        for (const PortRow* row : checkedRows()) {
            if (row->serial->text().trimmed().isEmpty())
                return texts::ui::FleetProtocolNeedsSerial.toString().arg(row->name);
        }
    }
    if (const QString refusal = files::folderRefusal(folder); !refusal.isEmpty())
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), refusal);
    return {};
}

void FleetWriteWindow::enableChoices(bool enabled)
{
    for (const PortRow& row : m_rows) {
        row.check->setEnabled(enabled);
        row.serial->setEnabled(enabled);
    }
    for (QWidget* choice : std::initializer_list<QWidget*>{m_otherPort, m_addButton, m_refreshButton,
                                                           m_verify, m_protocols, m_startButton})
        choice->setEnabled(enabled);
    m_protocolFolder->setEnabled(enabled && m_protocols->isChecked());
    m_protocolFolderButton->setEnabled(enabled && m_protocols->isChecked());
    m_stopButton->setEnabled(!enabled);
}

void FleetWriteWindow::start()
{
    if (running())
        return;
    // Refused before any port is touched, with the one-station window's words for an unchecked
    // plan.
    if (const QString refusal = startRefusal(); !refusal.isEmpty()) {
        m_feedback.show(UserMessage::notice(refusal), this);
        updateStart();
        return;
    }
    if (m_protocols->isChecked()) {
        if (const QString refusal = protocolRefusal(); !refusal.isEmpty()) {
            m_feedback.show(UserMessage::notice(refusal), this);
            return;
        }
    }
    m_request = FleetRequest{};
    m_request.operation = FleetOperation::Write;
    m_request.write = writeRequest(m_state, {});
    m_request.verify = m_verify->isChecked();
    m_request.read = readRequest(m_state, {});
    m_request.journalPath = m_journalPath;
    m_request.journalWait.limit = m_journalWaitLimit;
    m_request.planFile = m_state.planFile();
    // Saved on the stations' threads, from the plan as written.
    if (m_protocols->isChecked())
        m_request.saveProtocol = report::stationProtocols(m_state, m_protocolFolder->text().trimmed());
    m_stations.clear();
    m_runRows.clear();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        PortRow& row = m_rows[i];
        row.progress->setValue(0);
        row.status->clear();
        row.status->setToolTip({});
        if (!row.check->isChecked())
            continue;
        row.status->setText(texts::ui::FleetWaiting.toString());
        m_stations.append({row.name, row.serial->text().trimmed(), nullptr});
        m_runRows.push_back(i);
    }
    m_results.clear();
    m_outcomes = QStringList(m_stations.size());
    m_ends = QList<FleetEnd>(m_stations.size(), FleetEnd::Stopped);
    m_ended = 0;
    m_resultTable->setRowCount(0);
    m_stop = false;
    enableChoices(false);
    m_hint->setText(texts::ui::FleetRunning.toString().arg(0).arg(m_stations.size()));

    m_thread.reset(QThread::create(
        [this] { m_results = runFleetExchange(m_request, m_stations, *m_observer, &m_stop); }));
    // Queued behind every station's own reports.
    connect(m_thread.get(), &QThread::finished, this, &FleetWriteWindow::showResults, Qt::QueuedConnection);
    m_thread->start();
    emit runningChanged(true);
}

void FleetWriteWindow::stop()
{
    if (!running())
        return;
    m_stop = true;
    m_stopButton->setEnabled(false);
    m_hint->setText(texts::ui::FleetStopping.toString());
}

void FleetWriteWindow::showStep(int station, FleetStep step)
{
    PortRow& row = m_rows[m_runRows[station]];
    row.progress->setValue(0);
    if (step == FleetStep::Writing)
        row.status->setText(texts::ui::FleetStepWriting.toString());
    else if (step == FleetStep::Verifying)
        row.status->setText(texts::ui::FleetStepVerifying.toString());
}

void FleetWriteWindow::showPhase(int station, ExchangePhase phase)
{
    // The station stopped answering: "AK", as the one-station window's status field says it.
    if (phase == ExchangePhase::NoAnswer) {
        QLabel* status = m_rows[m_runRows[station]].status;
        status->setText(status->text() + u' ' + texts::link::StatusNoAnswer.toString());
    }
}

void FleetWriteWindow::showGauge(int station, int value)
{
    m_rows[m_runRows[station]].progress->setValue(value);
}

FleetOutcomeWords FleetWriteWindow::outcomeWords()
{
    FleetOutcomeWords words;
    words.written = texts::ui::FleetWritten.toString();
    words.verified = texts::ui::FleetVerified.toString();
    words.holdsOther = texts::ui::FleetHoldsOther.toString();
    words.protocolSaved = texts::ui::FleetProtocolSaved.toString();
    words.protocolNotSaved = texts::ui::FleetProtocolNotSaved.toString();
    words.notRecorded = texts::ui::FleetRecordFailed.toString();
    return words;
}

void FleetWriteWindow::showEnded(int station, const FleetStationResult& result)
{
    PortRow& row = m_rows[m_runRows[station]];
    m_outcomes[station] = fleetOutcomeText(m_request, result, outcomeWords());
    m_ends[station] = fleetEnd(result);
    row.status->setText(m_outcomes[station]);
    row.status->setToolTip(result.writtenDifferences.join(u'\n'));
    if (result.holdsPlan())
        row.progress->setValue(100);
    ++m_ended;
    if (!m_stop)
        m_hint->setText(texts::ui::FleetRunning.toString().arg(m_ended).arg(m_stations.size()));
}

void FleetWriteWindow::showResults()
{
    if (!m_thread)
        return;
    m_thread->wait();
    m_thread.reset();
    m_resultTable->showResults(m_results, m_outcomes);
    const auto holding = std::count_if(m_results.cbegin(), m_results.cend(),
                                       [](const FleetStationResult& result) { return result.holdsPlan(); });
    enableChoices(true);
    m_startButton->setEnabled(startRefusal().isEmpty());
    m_hint->setText(fleetSummaryText(static_cast<int>(holding), m_ends));
    emit runningChanged(false);
    if (m_closeWhenEnded) {
        m_closeWhenEnded = false;
        close();
    }
}

QString FleetWriteWindow::resultText(bool selectedOnly) const
{
    return m_resultTable->text(selectedOnly);
}

void FleetWriteWindow::copyResults()
{
    QGuiApplication::clipboard()->setText(resultText());
}

void FleetWriteWindow::endRunNow()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
    // The stations' reports and the end come queued to this thread: taken now, before the
    // program ends.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    showResults();
    // Nobody is left to read the table: what was not kept is not lost all the same.
    for (const FleetStationResult& result : std::as_const(m_results)) {
        for (const UserMessage& failure : result.recordFailures)
            printToConsole(stderr, QStringLiteral("yalmera: %1: %2\n").arg(result.port, failure.text));
    }
}

void FleetWriteWindow::closeEvent(QCloseEvent* event)
{
    if (running()) {
        event->ignore();
        // Stopped, the window closes once every station has ended and its line is journalled.
        if (!m_stop && m_feedback.ask(texts::ui::FleetStopQuestion.toString(), false, this) == Answer::Yes) {
            m_closeWhenEnded = true;
            stop();
        }
        return;
    }
    event->accept();
}

} // namespace yalmera::ui
