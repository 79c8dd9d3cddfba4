#include "station_link_window.h"

#include "console_text.h"
#include "station_comparison.h"
#include "ui_texts.h"
#include "user_feedback.h"
#include "user_stores.h"

#include "files/journal.h"
#include "link/byte_trace.h"
#include "link/link_texts.h"
#include "link/read_exchange.h"
#include "link/serial_link.h"
#include "link/write_exchange.h"
#include "session/app_state.h"
#include "session/exchange_journal.h"
#include "session/station_exchanges.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <array>

namespace yalmera::ui {

namespace {

constexpr int ClientWidth = 372;      // px
constexpr int ClientHeight = 200;     // px
constexpr int LatencyNoteHeight = 72; // px, below the buttons: five lines of the window's face

// A port refused for want of rights also says how to get them.
UserMessage withAccessHint(UserMessage message, ExchangeOutcome outcome, const QString& port)
{
    if (outcome != ExchangeOutcome::OpenFailed)
        return message;
    if (const QString hint = portAccessHint(port); !hint.isEmpty())
        message.text += u'\n' + hint;
    return message;
}

} // namespace

StationLinkWindow::StationLinkWindow(AppState& state, UserInterfaceFeedback& feedback, UserChoices& choices,
                                     QWidget* parent)
    : QWidget(parent), m_state(state), m_feedback(feedback), m_choices(choices),
      m_write(new WriteExchange(this)), m_read(new ReadExchange(this)),
      m_journalPath(files::defaultJournalPath()), m_tracePath(qEnvironmentVariable("YALMERA_TRACE")),
      m_journalWaitLimit(files::journalWaitLimit())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::ui::StationLinkCaption.toString());
    // No close button: "Выход" is the way back, and it is disabled while an exchange runs.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);
    makePortChoice();
    makeExchangeControls();
    followExchanges();
}

void StationLinkWindow::makePortChoice()
{
    m_com1 = new QRadioButton(texts::ui::Com1Choice.toString(), this);
    m_com1->setObjectName(QStringLiteral("RadioButton1"));
    m_com1->setToolTip(texts::ui::Com1Hint.toString());
    m_com1->setGeometry(16, 14, 120, 20);
    m_com2 = new QRadioButton(texts::ui::Com2Choice.toString(), this);
    m_com2->setObjectName(QStringLiteral("RadioButton2"));
    m_com2->setToolTip(texts::ui::Com2Hint.toString());
    m_com2->setGeometry(16, 38, 120, 20);
    m_com2->setChecked(true);
    m_otherPort = new QRadioButton(texts::ui::OtherPortChoice.toString(), this);
    m_otherPort->setObjectName(QStringLiteral("RadioButton3"));
    m_otherPort->setToolTip(texts::ui::OtherPortHint.toString());
    m_otherPort->setGeometry(16, 62, 130, 20);
    m_otherPortName = new QComboBox(this);
    m_otherPortName->setObjectName(QStringLiteral("ComboBox1"));
    m_otherPortName->setEditable(true);
    m_otherPortName->setInsertPolicy(QComboBox::NoInsert);
    m_otherPortName->setToolTip(texts::ui::OtherPortHint.toString());
    m_otherPortName->setGeometry(34, 86, 236, 24);
    // The port of the last time, " COM2" the first time.
    m_otherPortName->setEditText(m_choices.otherPortName());
    switch (m_choices.stationPort()) {
    case UserChoices::Port::Com1:
        m_com1->setChecked(true);
        break;
    case UserChoices::Port::Com2:
        break;
    case UserChoices::Port::Other:
        m_otherPort->setChecked(true);
        break;
    }
    // Naming a port chooses it.
    connect(m_otherPortName, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!text.trimmed().isEmpty())
            m_otherPort->setChecked(true);
    });
}

QPushButton* StationLinkWindow::makeButton(QStringView text, const char* name, QStyle::StandardPixmap icon,
                                           const QRect& place)
{
    auto* button = new QPushButton(text.toString(), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(style()->standardIcon(icon));
    button->setGeometry(place);
    // Enter presses the button that has the focus.
    button->setAutoDefault(true);
    return button;
}

void StationLinkWindow::makeExchangeControls()
{
    // Between the port choice and the buttons, where the window had nothing.
    m_verify = new QCheckBox(texts::ui::VerifyAfterWrite.toString(), this);
    m_verify->setObjectName(QStringLiteral("CheckBox1"));
    m_verify->setToolTip(texts::ui::VerifyAfterWriteHint.toString());
    m_verify->setGeometry(16, 126, 250, 22);
    m_verify->setChecked(m_choices.verifyAfterWrite());
    connect(m_verify, &QCheckBox::toggled, this, [this](bool on) { m_choices.setVerifyAfterWrite(on); });

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("Gauge1"));
    m_gauge->setOrientation(Qt::Vertical);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setTextVisible(true);
    m_gauge->setGeometry(300, 12, 40, 112);

    m_status = new QLabel(texts::link::StatusIdle.toString(), this);
    m_status->setObjectName(QStringLiteral("StaticText1"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setGeometry(290, 130, 60, 22);

    // Below the buttons, shown only when the station's replies come late.
    m_latencyNote = new QLabel(this);
    m_latencyNote->setObjectName(QStringLiteral("LatencyNote"));
    m_latencyNote->setWordWrap(true);
    m_latencyNote->setGeometry(12, ClientHeight - 4, ClientWidth - 24, LatencyNoteHeight);
    m_latencyNote->hide();

    m_writeButton = makeButton(texts::ui::LinkWriteButton, "BitBtn2", QStyle::SP_ArrowUp, {12, 162, 128, 28});
    m_readButton =
        makeButton(texts::ui::LinkReadButton, "BitBtn3", QStyle::SP_ArrowDown, {148, 162, 128, 28});
    m_exitButton =
        makeButton(texts::ui::LinkExitButton, "BitBtn1", QStyle::SP_DialogCloseButton, {284, 162, 76, 28});

    // Beside the port choice, where the window had nothing.
    m_compare = makeButton(texts::ui::LinkCompareButton, "BitBtn4", QStyle::SP_FileDialogContentsView,
                           {160, 14, 118, 28});
    m_compare->setToolTip(texts::ui::LinkCompareHint.toString());
    connect(m_compare, &QPushButton::clicked, this, &StationLinkWindow::compareStation);
    connect(m_writeButton, &QPushButton::clicked, this, &StationLinkWindow::writeStation);
    connect(m_readButton, &QPushButton::clicked, this, &StationLinkWindow::readStation);
    connect(m_exitButton, &QPushButton::clicked, this, &StationLinkWindow::leave);
}

void StationLinkWindow::followExchanges()
{
    // The exchanges report from their worker threads; the queued signals keep their order.
    for (StationExchange* exchange :
         {static_cast<StationExchange*>(m_write), static_cast<StationExchange*>(m_read)}) {
        connect(exchange, &StationExchange::gaugeChanged, m_gauge, &QProgressBar::setValue);
        connect(exchange, &StationExchange::phaseChanged, this, &StationLinkWindow::showPhase);
        connect(exchange, &StationExchange::latencyNoticed, this, &StationLinkWindow::showLatencyNote);
    }
    connect(m_write, &WriteExchange::finished, this, &StationLinkWindow::showWriteResult);
    connect(m_read, &ReadExchange::finished, this, &StationLinkWindow::applyReadResult);
}

StationLinkWindow::~StationLinkWindow() = default;

QString StationLinkWindow::portChoice() const
{
    if (m_com1->isChecked())
        return QStringLiteral("COM1");
    // An empty other port stays empty, rather than the exchange quietly going to COM2.
    if (m_otherPort->isChecked())
        return m_otherPortName->currentText().trimmed();
    return QStringLiteral("COM2");
}

bool StationLinkWindow::exchangeRunning() const
{
    return m_write->isRunning() || m_read->isRunning();
}

void StationLinkWindow::listOtherPorts()
{
    const QString typed = m_otherPortName->currentText();
    const QSignalBlocker blocker(m_otherPortName);
    m_otherPortName->clear();
    // What tells two USB adapters apart, as "yalmera-cli ports" lists it.
    for (const PortChoice& port : otherSerialPorts()) {
        const QString details = portDetails(port);
        m_otherPortName->addItem(port.name);
        m_otherPortName->setItemData(m_otherPortName->count() - 1,
                                     details.isEmpty() ? port.location : port.location + u'\n' + details,
                                     Qt::ToolTipRole);
    }
    m_otherPortName->setEditText(typed);
}

void StationLinkWindow::showEvent(QShowEvent* event)
{
    listOtherPorts();
    // Opened again: the status and gauge of the last exchange ("AK") belong to that station.
    if (!event->spontaneous() && !exchangeRunning()) {
        showPhase(ExchangePhase::Idle);
        m_gauge->setValue(0);
    }
    QWidget::showEvent(event);
}

void StationLinkWindow::hideEvent(QHideEvent* event)
{
    // Left, or the program ends: the port is there again next time.
    m_choices.setStationPort(m_com1->isChecked()        ? UserChoices::Port::Com1
                             : m_otherPort->isChecked() ? UserChoices::Port::Other
                                                        : UserChoices::Port::Com2);
    m_choices.setOtherPortName(m_otherPortName->currentText().trimmed());
    QWidget::hideEvent(event);
}

void StationLinkWindow::showPhase(ExchangePhase phase)
{
    // The status field's text and which of "Выход", "Запись данных ", "Чтение данных " take
    // input. While the read asks the station, "Чтение данных " stays enabled a moment longer.
    struct Shown
    {
        QStringView status;
        bool exit;
        bool write;
        bool read;
    };
    Shown shown{texts::link::StatusIdle, true, true, true};
    switch (phase) {
    case ExchangePhase::Idle:
        break;
    case ExchangePhase::Writing:
        shown = {texts::link::StatusWriting, false, false, false};
        break;
    case ExchangePhase::ReadRequest:
        shown = {texts::link::StatusReading, false, false, true};
        break;
    case ExchangePhase::Reading:
        shown = {texts::link::StatusReading, false, false, false};
        break;
    case ExchangePhase::NoAnswer:
        shown = {texts::link::StatusNoAnswer, true, true, true};
        break;
    }
    m_status->setText(shown.status.toString());
    if (phase == ExchangePhase::Writing)
        showLatencyNote({});
    m_exitButton->setEnabled(shown.exit);
    m_writeButton->setEnabled(shown.write);
    m_readButton->setEnabled(shown.read);
    m_compare->setEnabled(shown.exit);
}

void StationLinkWindow::showLatencyNote(const QString& text)
{
    m_latencyNote->setText(text);
    m_latencyNote->setVisible(!text.isEmpty());
    setFixedSize(ClientWidth, ClientHeight + (text.isEmpty() ? 0 : LatencyNoteHeight));
}

bool StationLinkWindow::refuseWithoutPort()
{
    if (!portChoice().isEmpty())
        return false;
    m_feedback.show(UserMessage::notice(texts::ui::NoPortNamed.toString()), this);
    return true;
}

void StationLinkWindow::writeStation()
{
    // An unchecked plan is refused before anything else, the port choice included; the exchange
    // gives that refusal itself without touching a port.
    if (exchangeRunning() || (m_state.dataChecked() && refuseWithoutPort()))
        return;
    WriteRequest request = writeRequest(m_state, portChoice());
    if (request.dataChecked && !openTrace(request.trace))
        return;
    m_writeRequest = std::make_unique<WriteRequest>(request);
    if (m_write->start(request))
        enablePortChoice(false);
    reportRunning();
}

bool StationLinkWindow::openTrace(std::shared_ptr<ByteTrace>& trace)
{
    if (m_tracePath.isEmpty())
        return true;
    QString error;
    trace = ByteTrace::open(m_tracePath, ByteTrace::Mode::Append, &error);
    if (!trace)
        m_feedback.show(UserMessage::failure(texts::ui::TraceUnopened.toString().arg(
                            QDir::toNativeSeparators(m_tracePath), error)),
                        this);
    return trace != nullptr;
}

JournalWait StationLinkWindow::journalWait()
{
    JournalWait wait;
    wait.limit = m_journalWaitLimit;
    wait.stop = &m_ending;
    // Painted meanwhile, and a signal that ends the program is taken (it stops the wait); nothing
    // the user does is, as while an exchange runs.
    wait.waiting = [](std::chrono::milliseconds) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    return wait;
}

void StationLinkWindow::showEnded(const UserMessage& message, const ExchangeRecord& recorded,
                                  const std::shared_ptr<ByteTrace>& trace)
{
    QList<UserMessage> said{message};
    said.append(recorded.failures);
    // Nobody is left to read a message box: what was not kept is not lost all the same.
    if (m_ending) {
        for (const UserMessage& failure : recorded.failures)
            printToConsole(stderr, QStringLiteral("yalmera: %1\n").arg(failure.text));
    }
    if (trace && !trace->error().isEmpty())
        said.append(UserMessage::failure(texts::ui::TraceIncomplete.toString().arg(
            QDir::toNativeSeparators(m_tracePath), trace->error())));
    for (const UserMessage& shown : said) {
        if (!shown.isEmpty() && !m_ending)
            m_feedback.show(shown, this);
    }
}

void StationLinkWindow::enablePortChoice(bool enabled)
{
    const std::array<QWidget*, 5> choices{m_com1, m_com2, m_otherPort, m_otherPortName, m_verify};
    for (QWidget* choice : choices)
        choice->setEnabled(enabled);
}

void StationLinkWindow::reportRunning()
{
    emit exchangeRunningChanged(exchangeRunning());
}

void StationLinkWindow::showWriteResult(const WriteResult& result)
{
    std::unique_ptr<WriteRequest> request = std::move(m_writeRequest);
    // An unchecked plan never reached the port: no exchange to journal.
    if (result.outcome == ExchangeOutcome::Refused || !request) {
        enablePortChoice(true);
        reportRunning();
        if (!result.message.isEmpty())
            m_feedback.show(result.message, this);
        return;
    }
    const ExchangeRecord recorded = recordWrite(m_journalPath, *request, result, m_state.planFile(),
                                                m_serialNumber ? m_serialNumber() : QString(), journalWait());
    const std::shared_ptr<ByteTrace> trace = request->trace;
    const QString port = request->port;
    // The check of a complete write follows at once; the window stays busy meanwhile.
    const bool verifying =
        result.ok() && m_verify->isChecked() && !m_ending && startVerification(std::move(request));
    if (!verifying) {
        enablePortChoice(true);
        reportRunning();
    }
    showEnded(withAccessHint(result.message, result.outcome, port), recorded, trace);
}

bool StationLinkWindow::startVerification(std::unique_ptr<WriteRequest> written)
{
    ReadRequest request = readRequest(m_state, written->port);
    request.trace = written->trace;
    if (!m_read->start(request))
        return false;
    m_readRequest = std::make_unique<ReadRequest>(request);
    m_verifiedWrite = std::move(written);
    return true;
}

void StationLinkWindow::showVerification(const WriteRequest& written, const ReadRequest& request,
                                         const ReadResult& result)
{
    UserMessage message = exchangeMessage(result.message, result.outcome);
    QStringList differences;
    if (result.ok()) {
        // What the station holds is kept as after any read; the program's plan stays as it is.
        differences = writtenDifferences(written.stream, *result.readBack);
        message =
            differences.isEmpty()
                ? UserMessage::notice(texts::ui::VerifyMatches.toString())
                : UserMessage::failure(texts::ui::VerifyDiffers.toString().arg(differences.join(u'\n')));
    }
    const ExchangeRecord recorded =
        recordVerify(m_journalPath, request, result, m_state.planFile(), differences, journalWait());
    showEnded(message, recorded, request.trace);
}

void StationLinkWindow::readStation()
{
    if (exchangeRunning() || refuseWithoutPort())
        return;
    ReadRequest request = readRequest(m_state, portChoice());
    if (!openTrace(request.trace))
        return;
    m_readRequest = std::make_unique<ReadRequest>(request);
    if (m_read->start(request))
        enablePortChoice(false);
    reportRunning();
}

void StationLinkWindow::compareStation()
{
    if (exchangeRunning())
        return;
    // A plan that cannot be compared is refused before the port choice, as a write refuses.
    auto basis = std::make_unique<StationComparisonBasis>(stationComparisonBasis(m_state));
    if (!basis->refusal.isEmpty()) {
        m_feedback.show(basis->refusal, this);
        return;
    }
    if (refuseWithoutPort())
        return;
    ReadRequest request = readRequest(m_state, portChoice());
    if (!openTrace(request.trace))
        return;
    m_readRequest = std::make_unique<ReadRequest>(request);
    m_compared = std::move(basis);
    if (m_read->start(request))
        enablePortChoice(false);
    reportRunning();
}

void StationLinkWindow::offerComparison()
{
    m_compare->setFocus(Qt::OtherFocusReason);
}

void StationLinkWindow::showComparison(const StationComparisonBasis& basis, const ReadRequest& request,
                                       const ReadResult& result)
{
    UserMessage message =
        exchangeMessage(withAccessHint(result.message, result.outcome, request.port), result.outcome);
    PlanComparison comparison;
    QStringList words;
    if (result.ok()) {
        comparison = compareWithStation(basis.plan, basis.checkedImage, basis.band, *result.readBack);
        words = journalDifferenceTexts(comparison);
        message = comparisonMessage(comparison, *basis.plan.settings);
    }
    const ExchangeRecord recorded =
        recordAudit(m_journalPath, request, result, m_state.planFile(), words, journalWait());
    if (result.ok())
        emit stationCompared(comparison);
    showEnded(message, recorded, request.trace);
}

void StationLinkWindow::applyReadResult(const ReadResult& result)
{
    enablePortChoice(true);
    reportRunning();
    const std::unique_ptr<ReadRequest> request = std::move(m_readRequest);
    if (const std::unique_ptr<WriteRequest> written = std::move(m_verifiedWrite); written && request) {
        showVerification(*written, *request, result);
        return;
    }
    if (const std::unique_ptr<StationComparisonBasis> compared = std::move(m_compared); compared && request) {
        showComparison(*compared, *request, result);
        return;
    }
    // What the station held is kept before it replaces the program's plan.
    const ExchangeRecord recorded =
        request ? recordRead(m_journalPath, *request, result, QString(), journalWait()) : ExchangeRecord{};
    if (result.ok()) {
        const bool bandChosen = applyReadBack(m_state, *result.readBack);
        emit planRead(bandChosen);
    }
    if (request)
        showEnded(withAccessHint(result.message, result.outcome, request->port), recorded, request->trace);
    else if (!result.message.isEmpty())
        m_feedback.show(result.message, this);
}

void StationLinkWindow::endExchangeNow()
{
    // Also an exchange that has just ended: its result may still be on its way.
    m_ending = true;
    for (StationExchange* exchange :
         {static_cast<StationExchange*>(m_write), static_cast<StationExchange*>(m_read)}) {
        exchange->requestStop();
        exchange->waitFinished();
    }
    // The result comes queued to this thread: taken now, it is journalled before the program ends.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void StationLinkWindow::leave()
{
    close();
}

void StationLinkWindow::closeEvent(QCloseEvent* event)
{
    // The window manager may still offer to close it: not during an exchange, and otherwise
    // it is the same as "Выход".
    if (exchangeRunning()) {
        event->ignore();
        return;
    }
    event->accept();
    emit left();
}

} // namespace yalmera::ui
