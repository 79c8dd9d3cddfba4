#include "work_area.h"

#include "channel_grid.h"
#include "key_filter.h"
#include "select_all_on_focus.h"
#include "settings_editor.h"
#include "ui_texts.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace yalmera::ui {

namespace {

const QColor SettingsBackground(180, 105, 255);
const QColor TitlePurple(128, 0, 128);
const QColor TitleTeal(0, 128, 128);

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

void makeBoldTitle(QLabel* label, const QColor& colour)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
}

QFrame* addPanel(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

QLineEdit* addField(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    return field;
}

// Enter presses the button that has the focus, as in the station-link and protocol windows.
QPushButton* addButton(QWidget* parent, const QString& name, QStringView text, QStyle::StandardPixmap icon,
                       const QRect& geometry)
{
    auto* button = new QPushButton(text.toString(), parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setGeometry(geometry);
    button->setAutoDefault(true);
    return button;
}

} // namespace

WorkArea::WorkArea(ChannelTableModel& model, UserInterfaceFeedback& feedback, QWidget* client)
    : QFrame(client), m_feedback(feedback), m_client(client)
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setGeometry(0, 0, FixedClientSize.width(), 396);
    // Made in the order Tab walks them: the template fields, the settings, the repeater panel,
    // the table.
    buildTemplatePanel();
    buildSettingsEditor();
    buildRepeaterPanel();
    m_grid = new ChannelGrid(&model, m_feedback, this);
    m_grid->setGeometry(5, 155, 787, 235);
    // A roomy window places the parts anew whenever its size changes.
    m_client->installEventFilter(this);

    m_settingsEditor->hide();
    m_repeaterPanel->hide();
    m_grid->hide();
    hide();
}

void WorkArea::buildTemplatePanel()
{
    QFrame* panel = addPanel(this, QStringLiteral("Panel2"), {4, 26, 241, 99});
    constexpr int labelLeft = 6;
    constexpr int labelWidth = 150;
    constexpr int fieldLeft = 160;
    constexpr int fieldWidth = 75;
    constexpr int rowHeight = 21;
    addLabel(panel, QStringLiteral("Label1"), texts::ui::CountLabel.toString(),
             {labelLeft, 4, labelWidth, rowHeight});
    addLabel(panel, QStringLiteral("Label2"), texts::ui::StartLabel.toString(),
             {labelLeft, 27, labelWidth, rowHeight});
    addLabel(panel, QStringLiteral("Label3"), texts::ui::OffsetLabel.toString(),
             {labelLeft, 50, labelWidth, rowHeight});

    m_countField = addField(panel, QStringLiteral("Edit1"), texts::ui::CountFieldStart.toString(),
                            {fieldLeft, 4, fieldWidth, rowHeight});
    m_startField =
        addField(panel, QStringLiteral("Edit2"), QString(), {fieldLeft, 27, fieldWidth, rowHeight});
    m_offsetField = addField(panel, QStringLiteral("Edit3"), texts::ui::OffsetFieldStart.toString(),
                             {fieldLeft, 50, fieldWidth, rowHeight});
    DigitKeyFilter::install(m_countField, DigitKeyFilter::Accepts::Digits, m_feedback);
    // Typing a count replaces "10" rather than extending it.
    SelectAllOnFocus::install(m_countField);
    DigitKeyFilter::install(m_startField, DigitKeyFilter::Accepts::DigitsAndComma, m_feedback);
    DigitKeyFilter::install(m_offsetField, DigitKeyFilter::Accepts::DigitsAndComma, m_feedback);

    QPushButton* ok = addButton(panel, QStringLiteral("BitBtn1"), texts::ui::OkButton,
                                QStyle::SP_DialogOkButton, {fieldLeft, 74, fieldWidth, 22});
    connect(ok, &QPushButton::clicked, this, &WorkArea::templateRequested);
}

void WorkArea::buildSettingsEditor()
{
    // Tab goes on from the settings to the table, as from the template fields to the settings.
    m_settingsEditor = new SettingsEditor(this);
    m_settingsEditor->setObjectName(QStringLiteral("Memo1"));
    m_settingsEditor->setGeometry(251, 6, 280, 145);
    m_settingsEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_settingsEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette settingsColours = m_settingsEditor->palette();
    settingsColours.setColor(QPalette::Base, SettingsBackground);
    m_settingsEditor->setPalette(settingsColours);
}

void WorkArea::buildRepeaterPanel()
{
    m_repeaterPanel = addPanel(this, QStringLiteral("Panel3"), {537, 6, 252, 143});
    makeBoldTitle(addLabel(m_repeaterPanel, QStringLiteral("Label4"), texts::ui::RepeaterTitle.toString(),
                           {2, 4, 248, 18}),
                  TitlePurple);
    addLabel(m_repeaterPanel, QStringLiteral("Label5"), texts::ui::RepeaterChannelLabel.toString(),
             {10, 27, 100, 21});
    m_repeaterChannelField = addField(m_repeaterPanel, QStringLiteral("Edit4"), QString(), {120, 27, 60, 21});
    DigitKeyFilter::install(m_repeaterChannelField, DigitKeyFilter::Accepts::Digits, m_feedback);

    makeBoldTitle(addLabel(m_repeaterPanel, QStringLiteral("Label6"), texts::ui::RepeaterModeLabel.toString(),
                           {2, 54, 248, 18}),
                  TitleTeal);
    auto* receiveMode = new QRadioButton(texts::ui::RepeaterReceive.toString(), m_repeaterPanel);
    receiveMode->setObjectName(QStringLiteral("RadioButton1"));
    receiveMode->setGeometry(24, 76, 100, 20);
    receiveMode->setChecked(true);
    m_transmitMode = new QRadioButton(texts::ui::RepeaterTransmit.toString(), m_repeaterPanel);
    m_transmitMode->setObjectName(QStringLiteral("RadioButton2"));
    m_transmitMode->setGeometry(132, 76, 100, 20);

    QPushButton* write = addButton(m_repeaterPanel, QStringLiteral("BitBtn2"), texts::ui::RepeaterWriteButton,
                                   QStyle::SP_DialogApplyButton, {16, 108, 104, 26});
    QPushButton* close = addButton(m_repeaterPanel, QStringLiteral("BitBtn3"), texts::ui::RepeaterCloseButton,
                                   QStyle::SP_DialogCloseButton, {132, 108, 104, 26});
    connect(write, &QPushButton::clicked, this, &WorkArea::repeaterMarkRequested);
    connect(close, &QPushButton::clicked, m_repeaterPanel, &QWidget::hide);
}

TemplateFields WorkArea::templateFields() const
{
    return {m_countField->text(), m_startField->text(), m_offsetField->text()};
}

void WorkArea::focusTemplateCount()
{
    show();
    m_countField->setFocus(Qt::OtherFocusReason);
    m_countField->selectAll(); // also when the field had the focus already
}

void WorkArea::setStartFrequency(const QString& text)
{
    m_startField->setText(text);
}

QString WorkArea::repeaterChannel() const
{
    return m_repeaterChannelField->text();
}

RepeaterMode WorkArea::repeaterMode() const
{
    return m_transmitMode->isChecked() ? RepeaterMode::Transmit : RepeaterMode::Receive;
}

void WorkArea::showRepeaterPanel()
{
    m_repeaterPanel->show();
}

void WorkArea::showSettings(const QString& text)
{
    const QSignalBlocker blocker(m_settingsEditor);
    m_settingsEditor->setPlainText(text);
}

void WorkArea::showPlan()
{
    show();
    m_settingsEditor->show();
    m_grid->show();
}

void WorkArea::setPlanVisible(bool visible)
{
    if (visible)
        show();
    m_settingsEditor->setVisible(visible);
    m_grid->setVisible(visible);
}

void WorkArea::hidePlan()
{
    hide();
    m_settingsEditor->hide();
    m_grid->hide();
}

void WorkArea::fitClientArea()
{
    // The room beyond the fixed size: the table takes all of its height, and its columns share
    // its width in proportion to their own. The row above keeps its height (the settings fit
    // it with a scroll bar): the settings editor widens between the template panel, which keeps
    // its place, and the repeater panel at the right edge.
    const int wider = std::max(0, m_client->width() - FixedClientSize.width());
    const int taller = std::max(0, m_client->height() - FixedClientSize.height());
    setGeometry(0, 0, FixedClientSize.width() + wider, 396 + taller);
    m_settingsEditor->setGeometry(251, 6, 280 + wider, 145);
    m_repeaterPanel->setGeometry(537 + wider, 6, 252, 143);
    m_grid->setGeometry(5, 155, 787 + wider, 235 + taller);
    m_grid->shareExtraWidth(wider);
}

bool WorkArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        fitClientArea();
    return QFrame::eventFilter(watched, event);
}

} // namespace yalmera::ui
