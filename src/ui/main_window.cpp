#include "main_window.h"

#include "channel_grid.h"
#include "channel_table_model.h"
#include "key_filter.h"
#include "plan_file_dialogs.h"
#include "plan_history.h"
#include "select_all_on_focus.h"
#include "table_commands.h"
#include "ui_texts.h"
#include "user_feedback.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/recent_plans.h"
#include "image/data_check.h"
#include "report/protocol_document.h"
#include "session/app_state.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolTip>
#include <QUndoStack>
#include <QUrl>

namespace yalmera::ui {

namespace {

const QColor SettingsBackground(180, 105, 255);
const QColor TitlePurple(128, 0, 128);
const QColor TitleTeal(0, 128, 128);

// The menu bar shows the hint of the item under the mouse, as the items inside the menus do.
class MenuBarHints : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* bar = static_cast<QMenuBar*>(watched);
        const auto* help = static_cast<QHelpEvent*>(event);
        QAction* action = bar->actionAt(help->pos());
        if (action && !action->toolTip().isEmpty() && action->toolTip() != action->text())
            QToolTip::showText(help->globalPos(), action->toolTip(), bar);
        else
            QToolTip::hideText();
        return true;
    }
};

QAction* addItem(QMenu* menu, const QString& name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void setHint(QAction* action, const QString& hint)
{
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// The one local file a drag carries, or nothing.
std::optional<QString> droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return std::nullopt;
    return data->urls().first().toLocalFile();
}

bool isCsvFile(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
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

} // namespace

MainWindow::MainWindow(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                       files::RecentPlans& recentPlans, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_feedback(feedback), m_dialogs(dialogs),
      m_recentPlans(recentPlans), m_history(new PlanHistory(state, this))
{
    setObjectName(QStringLiteral("FormMain"));
    // A fixed single border: system menu, minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    setFont(font);

    buildWorkArea();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // A plan file dropped on the window is read; a spreadsheet file imported.
    setAcceptDrops(true);
    connect(m_history, &PlanHistory::planRestored, this, &MainWindow::showRestoredPlan);

    resetAtStartUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->installEventFilter(new MenuBarHints(bar));

    QMenu* channels = bar->addMenu(texts::ui::ChannelsMenu.toString());
    channels->setObjectName(QStringLiteral("N1"));
    channels->setToolTipsVisible(true);
    setHint(channels->menuAction(), texts::ui::ChannelsMenuHint.toString());
    QAction* createTemplate =
        addItem(channels, QStringLiteral("N2"), texts::ui::CreateTemplateItem.toString());
    createTemplate->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    channels->addSeparator()->setObjectName(QStringLiteral("N3"));
    QAction* writeFile = addItem(channels, QStringLiteral("N4"), texts::ui::WriteFileItem.toString());
    writeFile->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    QAction* readFile = addItem(channels, QStringLiteral("N5"), texts::ui::ReadFileItem.toString());
    readFile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    connect(createTemplate, &QAction::triggered, this, &MainWindow::openTemplatePanel);
    connect(writeFile, &QAction::triggered, this, &MainWindow::writePlanToFile);
    connect(readFile, &QAction::triggered, this, &MainWindow::readPlanFromFile);
    m_recentMenu = channels->addMenu(texts::ui::RecentMenu.toString());
    m_recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    refreshRecentMenu();
    channels->addSeparator();
    QAction* exportCsv =
        addItem(channels, QStringLiteral("ExportCsvItem"), texts::ui::ExportCsvItem.toString());
    setHint(exportCsv, texts::ui::ExportCsvHint.toString());
    QAction* importCsv =
        addItem(channels, QStringLiteral("ImportCsvItem"), texts::ui::ImportCsvItem.toString());
    setHint(importCsv, texts::ui::ImportCsvHint.toString());
    connect(exportCsv, &QAction::triggered, this, &MainWindow::exportCsv);
    connect(importCsv, &QAction::triggered, this, &MainWindow::importCsv);

    QMenu* equipment = bar->addMenu(texts::ui::EquipmentMenu.toString());
    equipment->setObjectName(QStringLiteral("N6"));
    QMenu* modules = equipment->addMenu(texts::ui::ModulesMenu.toString());
    modules->setObjectName(QStringLiteral("N7"));
    auto* moduleGroup = new QActionGroup(this);
    moduleGroup->setExclusive(true);
    for (int moduleType = 0; moduleType < static_cast<int>(texts::ui::ModuleItems.size()); ++moduleType) {
        QAction* item = addItem(modules, QStringLiteral("N%1").arg(12 + moduleType),
                                texts::ui::ModuleItems[static_cast<std::size_t>(moduleType)].toString());
        item->setCheckable(true);
        moduleGroup->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, moduleType] { selectModule(moduleTypeOfCode(static_cast<quint8>(moduleType))); });
        m_moduleItems[static_cast<std::size_t>(moduleType)] = item;
    }

    QAction* repeater = bar->addAction(texts::ui::RepeaterItem.toString());
    repeater->setObjectName(QStringLiteral("N11"));
    connect(repeater, &QAction::triggered, this, &MainWindow::openRepeaterPanel);

    QAction* check = bar->addAction(texts::ui::CheckItem.toString());
    check->setObjectName(QStringLiteral("N19"));
    setHint(check, texts::ui::CheckItemHint.toString());
    connect(check, &QAction::triggered, this, &MainWindow::runDataCheck);

    QMenu* station = bar->addMenu(texts::ui::StationMenu.toString());
    station->setObjectName(QStringLiteral("N20"));
    QAction* protocol = addItem(station, QStringLiteral("N21"), texts::ui::CreateProtocolItem.toString());
    protocol->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    station->addSeparator()->setObjectName(QStringLiteral("N22"));
    QAction* link = addItem(station, QStringLiteral("N23"), texts::ui::StationLinkItem.toString());
    link->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    connect(protocol, &QAction::triggered, this, &MainWindow::openProtocolWindow);
    connect(link, &QAction::triggered, this, &MainWindow::openStationLinkWindow);

    QMenu* stationType = station->addMenu(texts::ui::StationTypeMenu.toString());
    stationType->setObjectName(QStringLiteral("N24"));
    auto* bandGroup = new QActionGroup(this);
    bandGroup->setExclusive(true);
    m_band30to60Item = addItem(stationType, QStringLiteral("N3062"), texts::ui::Band30to60Item.toString());
    m_band144to174Item =
        addItem(stationType, QStringLiteral("N3063"), texts::ui::Band144to174Item.toString());
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

    QAction* exit = bar->addAction(texts::ui::ExitItem.toString());
    exit->setObjectName(QStringLiteral("N25"));
    setHint(exit, texts::ui::ExitItemHint.toString());
    connect(exit, &QAction::triggered, this, &QWidget::close);

    buildEditMenu();
}

void MainWindow::buildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(texts::ui::EditMenu.toString());
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->setToolTipsVisible(true);
    setHint(edit->menuAction(), texts::ui::EditMenuHint.toString());

    // Undo and redo work wherever the focus is, except in a text field, which keeps its own.
    QUndoStack* stack = m_history->stack();
    QAction* undo = addItem(edit, QStringLiteral("UndoItem"), texts::ui::UndoItem.toString());
    undo->setShortcut(QKeySequence::Undo);
    undo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    QAction* redo = addItem(edit, QStringLiteral("RedoItem"), texts::ui::RedoItem.toString());
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    const auto follow = [stack, undo, redo] {
        undo->setEnabled(stack->canUndo());
        redo->setEnabled(stack->canRedo());
        setHint(undo, stack->canUndo() ? texts::ui::UndoHint.toString().arg(stack->undoText()) : QString());
        setHint(redo, stack->canRedo() ? texts::ui::RedoHint.toString().arg(stack->redoText()) : QString());
    };
    follow();
    connect(stack, &QUndoStack::indexChanged, this, follow);
    connect(stack, &QUndoStack::cleanChanged, this, follow);
    connect(undo, &QAction::triggered, stack, &QUndoStack::undo);
    connect(redo, &QAction::triggered, stack, &QUndoStack::redo);

    // The table's commands: from the menu on the table whatever has the focus, by their keys
    // while the table or one of its editors has it. Alt with the arrows stays with the lists,
    // which drop down on it.
    m_tableCommands = new TableCommands(m_state, *m_history, *m_grid, m_feedback, this);
    const auto tableItem = [this, edit](const char* name, QStringView text, const QList<QKeySequence>& keys,
                                        void (TableCommands::*command)()) {
        QAction* item = addItem(edit, QString::fromLatin1(name), text.toString());
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(item);
        connect(item, &QAction::triggered, m_tableCommands, command);
        return item;
    };
    edit->addSeparator();
    tableItem("CopyItem", texts::ui::CopyItem, QKeySequence::keyBindings(QKeySequence::Copy),
              &TableCommands::copy)
        ->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    tableItem("PasteItem", texts::ui::PasteItem, QKeySequence::keyBindings(QKeySequence::Paste),
              &TableCommands::paste);
    edit->addSeparator();
    tableItem("InsertChannelItem", texts::ui::InsertChannelItem, {QKeySequence(Qt::ALT | Qt::Key_Insert)},
              &TableCommands::insertChannel);
    tableItem("RemoveChannelsItem", texts::ui::RemoveChannelsItem, {QKeySequence(Qt::ALT | Qt::Key_Delete)},
              &TableCommands::removeChannels);
    tableItem("MoveUpItem", texts::ui::MoveUpItem, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
              &TableCommands::moveChannelsUp);
    tableItem("MoveDownItem", texts::ui::MoveDownItem, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
              &TableCommands::moveChannelsDown);
}

void MainWindow::refreshRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_recentPlans.paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* item =
            m_recentMenu->addAction(QStringLiteral("%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        item->setObjectName(QStringLiteral("RecentPlan%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path] { readPlanFrom(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void MainWindow::rememberPlanFile(const QString& path)
{
    m_state.notePlanFile(QFileInfo(path).absoluteFilePath());
    m_recentPlans.remember(path);
    refreshRecentMenu();
}

void MainWindow::buildWorkArea()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    m_workArea = new QFrame(client);
    m_workArea->setObjectName(QStringLiteral("Panel1"));
    m_workArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_workArea->setGeometry(0, 0, ClientWidth, 396);

    buildTemplatePanel(m_workArea);

    m_settingsEditor = new QPlainTextEdit(m_workArea);
    m_settingsEditor->setObjectName(QStringLiteral("Memo1"));
    m_settingsEditor->setGeometry(251, 6, 280, 145);
    m_settingsEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_settingsEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette settingsColours = m_settingsEditor->palette();
    settingsColours.setColor(QPalette::Base, SettingsBackground);
    m_settingsEditor->setPalette(settingsColours);
    // Every command reads the settings the user sees: the state follows each edit.
    connect(m_settingsEditor, &QPlainTextEdit::textChanged, this, &MainWindow::storeSettingsText);

    buildRepeaterPanel(m_workArea);

    m_model = new ChannelTableModel(m_state, *m_history, this);
    m_grid = new ChannelGrid(m_model, m_feedback, m_workArea);
    m_grid->setGeometry(5, 155, 787, 235);

    m_settingsEditor->hide();
    m_repeaterPanel->hide();
    m_grid->hide();
    m_workArea->hide();
}

void MainWindow::buildTemplatePanel(QWidget* workArea)
{
    m_templatePanel = new QFrame(workArea);
    m_templatePanel->setObjectName(QStringLiteral("Panel2"));
    m_templatePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_templatePanel->setGeometry(4, 26, 241, 99);

    constexpr int labelLeft = 6;
    constexpr int labelWidth = 150;
    constexpr int fieldLeft = 160;
    constexpr int fieldWidth = 75;
    constexpr int rowHeight = 21;
    addLabel(m_templatePanel, QStringLiteral("Label1"), texts::ui::CountLabel.toString(),
             {labelLeft, 4, labelWidth, rowHeight});
    addLabel(m_templatePanel, QStringLiteral("Label2"), texts::ui::StartLabel.toString(),
             {labelLeft, 27, labelWidth, rowHeight});
    addLabel(m_templatePanel, QStringLiteral("Label3"), texts::ui::OffsetLabel.toString(),
             {labelLeft, 50, labelWidth, rowHeight});

    m_countField = new QLineEdit(texts::ui::CountFieldStart.toString(), m_templatePanel);
    m_countField->setObjectName(QStringLiteral("Edit1"));
    m_countField->setGeometry(fieldLeft, 4, fieldWidth, rowHeight);
    m_startField = new QLineEdit(m_state.stationType().lowerLimitText(), m_templatePanel);
    m_startField->setObjectName(QStringLiteral("Edit2"));
    m_startField->setGeometry(fieldLeft, 27, fieldWidth, rowHeight);
    m_offsetField = new QLineEdit(texts::ui::OffsetFieldStart.toString(), m_templatePanel);
    m_offsetField->setObjectName(QStringLiteral("Edit3"));
    m_offsetField->setGeometry(fieldLeft, 50, fieldWidth, rowHeight);
    DigitKeyFilter::install(m_countField, DigitKeyFilter::Accepts::Digits, m_feedback);
    // Typing a count replaces "10" rather than extending it.
    SelectAllOnFocus::install(m_countField);
    DigitKeyFilter::install(m_startField, DigitKeyFilter::Accepts::DigitsAndComma, m_feedback);
    DigitKeyFilter::install(m_offsetField, DigitKeyFilter::Accepts::DigitsAndComma, m_feedback);

    m_okButton = new QPushButton(texts::ui::OkButton.toString(), m_templatePanel);
    m_okButton->setObjectName(QStringLiteral("BitBtn1"));
    m_okButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_okButton->setGeometry(fieldLeft, 74, fieldWidth, 22);
    connect(m_okButton, &QPushButton::clicked, this, &MainWindow::createTemplateFromFields);
}

void MainWindow::buildRepeaterPanel(QWidget* workArea)
{
    m_repeaterPanel = new QFrame(workArea);
    m_repeaterPanel->setObjectName(QStringLiteral("Panel3"));
    m_repeaterPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_repeaterPanel->setGeometry(537, 6, 252, 143);

    makeBoldTitle(addLabel(m_repeaterPanel, QStringLiteral("Label4"), texts::ui::RepeaterTitle.toString(),
                           {2, 4, 248, 18}),
                  TitlePurple);
    addLabel(m_repeaterPanel, QStringLiteral("Label5"), texts::ui::RepeaterChannelLabel.toString(),
             {10, 27, 100, 21});
    m_repeaterChannelField = new QLineEdit(m_repeaterPanel);
    m_repeaterChannelField->setObjectName(QStringLiteral("Edit4"));
    m_repeaterChannelField->setGeometry(120, 27, 60, 21);
    DigitKeyFilter::install(m_repeaterChannelField, DigitKeyFilter::Accepts::Digits, m_feedback);

    makeBoldTitle(addLabel(m_repeaterPanel, QStringLiteral("Label6"), texts::ui::RepeaterModeLabel.toString(),
                           {2, 54, 248, 18}),
                  TitleTeal);
    m_receiveMode = new QRadioButton(texts::ui::RepeaterReceive.toString(), m_repeaterPanel);
    m_receiveMode->setObjectName(QStringLiteral("RadioButton1"));
    m_receiveMode->setGeometry(24, 76, 100, 20);
    m_receiveMode->setChecked(true);
    m_transmitMode = new QRadioButton(texts::ui::RepeaterTransmit.toString(), m_repeaterPanel);
    m_transmitMode->setObjectName(QStringLiteral("RadioButton2"));
    m_transmitMode->setGeometry(132, 76, 100, 20);

    auto* write = new QPushButton(texts::ui::RepeaterWriteButton.toString(), m_repeaterPanel);
    write->setObjectName(QStringLiteral("BitBtn2"));
    write->setGeometry(16, 108, 104, 26);
    write->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    auto* close = new QPushButton(texts::ui::RepeaterCloseButton.toString(), m_repeaterPanel);
    close->setObjectName(QStringLiteral("BitBtn3"));
    close->setGeometry(132, 108, 104, 26);
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(write, &QPushButton::clicked, this, &MainWindow::writeRepeaterMark);
    connect(close, &QPushButton::clicked, this, &MainWindow::closeRepeaterPanel);
}

void MainWindow::resetAtStartUp()
{
    // Once, at start-up only: a band or module the user chooses later is never reset behind
    // their back when the window becomes active again.
    m_state.selectBand(Band::Mhz144to174);
    m_state.selectModule(ModuleType::None);
    showBand();
    markModule(ModuleType::None);
}

void MainWindow::storeSettingsText()
{
    m_state.editSettings().setText(m_settingsEditor->toPlainText());
}

void MainWindow::refreshPlanViews()
{
    {
        const QSignalBlocker blocker(m_settingsEditor);
        m_settingsEditor->setPlainText(m_state.settings().text());
    }
    m_model->reload();
}

void MainWindow::showPlanArea()
{
    m_workArea->show();
    m_settingsEditor->show();
    m_grid->show();
}

void MainWindow::markBand(Band band)
{
    (band == Band::Mhz30to60 ? m_band30to60Item : m_band144to174Item)->setChecked(true);
}

void MainWindow::showBand()
{
    setWindowTitle(m_state.stationType().modelCaption());
    markBand(m_state.stationType().band);
    m_startField->setText(m_state.stationType().lowerLimitText());
}

void MainWindow::markModule(ModuleType module)
{
    // A code beyond the menu's items (from a file or a station) marks nothing.
    const std::size_t item = moduleCode(module);
    if (item < m_moduleItems.size())
        m_moduleItems[item]->setChecked(true);
}

void MainWindow::openTemplatePanel()
{
    m_workArea->show();
    m_countField->setFocus(Qt::OtherFocusReason);
    m_countField->selectAll(); // also when the field had the focus already
    m_startField->setText(m_state.stationType().lowerLimitText());
}

void MainWindow::createTemplateFromFields()
{
    const TemplateFields fields{m_countField->text(), m_startField->text(), m_offsetField->text()};
    const UserMessage refusal = m_state.createTemplate(fields);
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, this);
        return;
    }
    m_history->recordPlanReplacement(texts::ui::TemplateStep.toString());
    refreshPlanViews();
    showPlanArea();
}

void MainWindow::writePlanToFile()
{
    if (const auto refusal = files::planWriteRefusal(m_state.tableCreated(), m_state.table())) {
        m_feedback.show(*refusal, this);
        return;
    }
    const auto path = m_dialogs.askSavePath(this);
    if (!path)
        return;
    const UserMessage failure =
        files::writePlanFile(*path, m_state.settings(), m_state.table(), m_state.stationType().typeCode,
                             moduleCode(m_state.moduleType()));
    if (!failure.isEmpty()) {
        m_feedback.show(failure, this);
        return;
    }
    rememberPlanFile(*path);
}

void MainWindow::readPlanFromFile()
{
    if (const auto path = m_dialogs.askOpenPath(this))
        readPlanFrom(*path);
}

void MainWindow::readPlanFrom(const QString& path)
{
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents) {
        m_feedback.show(read.error, this);
        return;
    }
    // A code that names no band keeps the caption, mark and start frequency shown.
    if (m_state.adoptPlanFile(std::move(*read.contents)))
        showBand();
    // Before the step is recorded, so that a redo brings the file's name back with its plan.
    m_state.notePlanFile(QFileInfo(path).absoluteFilePath());
    m_history->recordPlanReplacement(texts::ui::FileReadStep.toString());
    markModule(m_state.moduleType());
    refreshPlanViews();
    showPlanArea();
    rememberPlanFile(path);
}

void MainWindow::exportCsv()
{
    if (const auto refusal = files::planWriteRefusal(m_state.tableCreated(), m_state.table())) {
        m_feedback.show(*refusal, this);
        return;
    }
    const auto path = m_dialogs.askCsvSavePath(this);
    if (!path)
        return;
    if (const UserMessage failure = files::writePlanCsv(*path, m_state.table()); !failure.isEmpty())
        m_feedback.show(failure, this);
}

void MainWindow::importCsv()
{
    if (const auto path = m_dialogs.askCsvOpenPath(this))
        importCsvFrom(*path);
}

void MainWindow::importCsvFrom(const QString& path)
{
    files::CsvDecodeResult read = files::readPlanCsv(path);
    if (!read.table) {
        m_feedback.show(read.error, this);
        return;
    }
    m_state.adoptTable(std::move(*read.table));
    m_history->recordPlanReplacement(texts::ui::CsvImportStep.toString());
    refreshPlanViews();
    showPlanArea();
}

void MainWindow::showRestoredPlan()
{
    showBand();
    markModule(m_state.moduleType());
    refreshPlanViews();
    // A plan shows as a replacement shows it; before the first one, or with rows that lost their
    // flags to a band change, the settings and the table stay hidden.
    const bool planShown = m_state.tableCreated() && m_state.table().firstRowWithoutFlags() == 0;
    if (planShown)
        showPlanArea();
    m_settingsEditor->setVisible(planShown);
    m_grid->setVisible(planShown);
}

void MainWindow::selectModule(ModuleType module)
{
    m_state.selectModule(module);
    markModule(module);
}

void MainWindow::selectBand(Band band)
{
    // The band already selected: nothing at all changes, the table keeps its check boxes.
    // Otherwise the new band's caption, then everything of the old band's table hidden; its rows
    // lose their check boxes until a new table is built.
    if (!m_state.selectBand(band))
        return;
    m_history->clear();
    setWindowTitle(m_state.stationType().modelCaption());
    m_workArea->hide();
    markBand(band);
    m_startField->setText(m_state.stationType().lowerLimitText());
    m_settingsEditor->hide();
    m_grid->hide();
    m_model->reload();
}

void MainWindow::runDataCheck()
{
    const CheckResult result = yalmera::runDataCheck(m_state);
    m_feedback.show(result.message, this);
}

void MainWindow::openRepeaterPanel()
{
    const UserMessage refusal = m_state.openRepeaterPanel();
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, this);
        return;
    }
    m_repeaterPanel->show();
}

void MainWindow::writeRepeaterMark()
{
    const RepeaterMode mode = m_transmitMode->isChecked() ? RepeaterMode::Transmit : RepeaterMode::Receive;
    m_grid->finishEditing();
    TableSnapshot before = m_state.tableSnapshot();
    const RepeaterWriteResult result = m_state.writeRepeaterMark(m_repeaterChannelField->text(), mode);
    m_model->refreshCells();
    if (!result.ok()) {
        m_feedback.show(result.message, this);
        return;
    }
    const CellRange frequencies{result.row, result.row, columnIndex(Column::RxFrequency),
                                columnIndex(Column::TxFrequency)};
    m_history->recordTableEdit(texts::ui::RepeaterMarkStep.toString(), std::move(before), frequencies,
                               PlanHistory::TableEdit::RepeaterMark);
}

void MainWindow::closeRepeaterPanel()
{
    m_repeaterPanel->hide();
}

void MainWindow::openProtocolWindow()
{
    const UserMessage refusal = report::protocolRefusal(m_state, report::ProtocolRequest::Menu);
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, this);
        return;
    }
    showMinimized();
    emit protocolWindowRequested();
}

void MainWindow::openStationLinkWindow()
{
    emit stationLinkWindowRequested();
    showMinimized();
}

void MainWindow::restoreAfterStationLink()
{
    showNormal();
    showPlanArea();
    activateWindow();
}

void MainWindow::restoreAfterProtocol()
{
    showNormal();
    activateWindow();
}

void MainWindow::showPlanReadFromStation(bool bandChosen)
{
    if (bandChosen)
        showBand();
    m_history->recordPlanReplacement(texts::ui::StationReadStep.toString());
    refreshPlanViews();
    m_grid->show();
    markModule(m_state.moduleType());
}

void MainWindow::setStationExchangeRunning(bool running)
{
    m_stationExchangeRunning = running;
    setEnabled(!running);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_stationExchangeRunning) {
        event->ignore();
        return;
    }
    // Nothing is saved and nothing is asked.
    event->accept();
    emit closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const auto path = droppedFile(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    if (isCsvFile(*path))
        importCsvFrom(*path);
    else
        readPlanFrom(*path);
}

} // namespace yalmera::ui
