#include "main_window.h"

#include "channel_grid.h"
#include "channel_table_model.h"
#include "help_windows.h"
#include "journal_window.h"
#include "key_filter.h"
#include "plan_file_dialogs.h"
#include "plan_history.h"
#include "plan_markers.h"
#include "select_all_on_focus.h"
#include "settings_editor.h"
#include "station_comparison.h"
#include "table_commands.h"
#include "ui_texts.h"
#include "unsaved_plan.h"
#include "user_feedback.h"
#include "user_stores.h"
#include "window_places.h"

#include "files/journal.h"
#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/plan_recovery.h"
#include "files/recent_plans.h"
#include "files/whole_file.h"
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
#include <QHBoxLayout>
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
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>

namespace yalmera::ui {

namespace {

const QColor SettingsBackground(180, 105, 255);
// The user guide is about 25 KB; a file far larger is no guide.
constexpr qint64 MaxGuideBytes = 1024 * 1024;
const QColor TitlePurple(128, 0, 128);
const QColor TitleTeal(0, 128, 128);
// The name under which the roomy window's size and place are kept.
const QString MainWindowPlace = QStringLiteral("main");

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
        // Only an item with a hint of its own (setHint gives both); an item's tool tip is its
        // caption otherwise.
        if (action && !action->statusTip().isEmpty())
            QToolTip::showText(help->globalPos(), action->toolTip(), bar);
        else
            QToolTip::hideText();
        return true;
    }
};

// A caption with its underlined letter: '&' before the first `key` of the text, which Alt with
// the letter (a menu of the bar) or the letter alone (an item of an open menu) chooses. The text
// shown stays as it is.
QString withKey(QStringView text, char16_t key)
{
    QString caption = text.toString();
    const qsizetype at = caption.indexOf(QChar(key));
    Q_ASSERT(at >= 0);
    if (at >= 0)
        caption.insert(at, u'&');
    return caption;
}

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
                       UserStores& stores, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_feedback(feedback), m_dialogs(dialogs), m_stores(stores),
      m_history(new PlanHistory(state, this)), m_unsaved(new UnsavedPlan(state, stores.recovery, this)),
      m_journalPath(files::defaultJournalPath)
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
    setRoomy(m_stores.choices.roomyWindow());
    // A plan file dropped on the window is read; a spreadsheet file imported.
    setAcceptDrops(true);
    connect(m_history, &PlanHistory::planRestored, this, &MainWindow::showRestoredPlan);
    // Every step of the table and every plan replacement, done or undone, may make the plan
    // differ from its file or agree with it again.
    connect(m_history->stack(), &QUndoStack::indexChanged, m_unsaved, &UnsavedPlan::noteChange);
    connect(m_history->stack(), &QUndoStack::indexChanged, this, &MainWindow::refreshMarks);
    connect(m_history->stack(), &QUndoStack::indexChanged, this, &MainWindow::dropDifferences);

    resetAtStartUp();
    refreshMarks();
}

MainWindow::~MainWindow()
{
    // The history goes with the window's children and empties its stack on the way, after this
    // window's own parts are gone: its last index change must not reach them.
    disconnect(m_history->stack(), nullptr, this, nullptr);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->installEventFilter(new MenuBarHints(bar));
    buildChannelsMenu(bar);
    buildEquipmentMenu(bar);
    buildRepeaterAndCheckCommands(bar);
    buildStationMenu(bar);
    buildExitCommand(bar);
    buildEditMenu(bar);
    buildViewMenu(bar);
    buildHelpMenu(bar);
    buildMenuCorner(bar);
    // F10 opens the first menu, from which the arrows reach the others; Alt with a menu's
    // underlined letter opens that menu.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, bar,
            [bar] { bar->setActiveAction(bar->actions().constFirst()); });
    auto* nextRefusal = new QShortcut(QKeySequence(Qt::Key_F8), this);
    auto* previousRefusal = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), this);
    connect(nextRefusal, &QShortcut::activated, m_markers,
            [this] { m_markers->visitNext(MarkKind::Refusal); });
    connect(previousRefusal, &QShortcut::activated, m_markers,
            [this] { m_markers->visitNext(MarkKind::Refusal, true); });
    auto* nextDifference = new QShortcut(QKeySequence(Qt::Key_F7), this);
    auto* previousDifference = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7), this);
    connect(nextDifference, &QShortcut::activated, m_markers,
            [this] { m_markers->visitNext(MarkKind::Difference); });
    connect(previousDifference, &QShortcut::activated, m_markers,
            [this] { m_markers->visitNext(MarkKind::Difference, true); });
}

void MainWindow::buildChannelsMenu(QMenuBar* bar)
{
    QMenu* channels = bar->addMenu(withKey(texts::ui::ChannelsMenu, u'К'));
    channels->setObjectName(QStringLiteral("N1"));
    channels->setToolTipsVisible(true);
    setHint(channels->menuAction(), texts::ui::ChannelsMenuHint.toString());
    QAction* createTemplate =
        addItem(channels, QStringLiteral("N2"), withKey(texts::ui::CreateTemplateItem, u'С'));
    createTemplate->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    createTemplate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    channels->addSeparator()->setObjectName(QStringLiteral("N3"));
    QAction* writeFile = addItem(channels, QStringLiteral("N4"), withKey(texts::ui::WriteFileItem, u'З'));
    writeFile->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    QAction* save = addItem(channels, QStringLiteral("SaveItem"), withKey(texts::ui::SaveItem, u'х'));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    setHint(save, texts::ui::SaveItemHint.toString());
    QAction* readFile = addItem(channels, QStringLiteral("N5"), withKey(texts::ui::ReadFileItem, u'Ч'));
    readFile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    readFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(createTemplate, &QAction::triggered, this, &MainWindow::openTemplatePanel);
    connect(writeFile, &QAction::triggered, this, &MainWindow::writePlanToFile);
    connect(save, &QAction::triggered, this, &MainWindow::savePlan);
    connect(readFile, &QAction::triggered, this, &MainWindow::readPlanFromFile);
    m_recentMenu = channels->addMenu(withKey(texts::ui::RecentMenu, u'П'));
    m_recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    refreshRecentMenu();
    channels->addSeparator();
    QAction* exportCsv =
        addItem(channels, QStringLiteral("ExportCsvItem"), withKey(texts::ui::ExportCsvItem, u'Э'));
    setHint(exportCsv, texts::ui::ExportCsvHint.toString());
    QAction* importCsv =
        addItem(channels, QStringLiteral("ImportCsvItem"), withKey(texts::ui::ImportCsvItem, u'И'));
    setHint(importCsv, texts::ui::ImportCsvHint.toString());
    connect(exportCsv, &QAction::triggered, this, &MainWindow::exportCsv);
    connect(importCsv, &QAction::triggered, this, &MainWindow::importCsv);
}

void MainWindow::buildEquipmentMenu(QMenuBar* bar)
{
    QMenu* equipment = bar->addMenu(withKey(texts::ui::EquipmentMenu, u'Д'));
    equipment->setObjectName(QStringLiteral("N6"));
    QMenu* modules = equipment->addMenu(withKey(texts::ui::ModulesMenu, u'М'));
    modules->setObjectName(QStringLiteral("N7"));
    auto* moduleGroup = new QActionGroup(this);
    moduleGroup->setExclusive(true);
    // The underlined letters of "Нет модуля" .. "Маскиратор типа \"Тенир\"".
    constexpr std::array<char16_t, 5> moduleKeys{u'Н', u'0', u'Т', u'З', u'е'};
    for (int moduleType = 0; moduleType < static_cast<int>(texts::ui::ModuleItems.size()); ++moduleType) {
        const auto at = static_cast<std::size_t>(moduleType);
        QAction* item = addItem(modules, QStringLiteral("N%1").arg(12 + moduleType),
                                withKey(texts::ui::ModuleItems[at], moduleKeys[at]));
        item->setCheckable(true);
        moduleGroup->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, moduleType] { selectModule(moduleTypeOfCode(static_cast<quint8>(moduleType))); });
        m_moduleItems[at] = item;
    }
}

void MainWindow::buildRepeaterAndCheckCommands(QMenuBar* bar)
{
    QAction* repeater = bar->addAction(withKey(texts::ui::RepeaterItem, u'Р'));
    repeater->setObjectName(QStringLiteral("N11"));
    connect(repeater, &QAction::triggered, this, &MainWindow::openRepeaterPanel);

    QAction* check = bar->addAction(withKey(texts::ui::CheckItem, u'н'));
    check->setObjectName(QStringLiteral("N19"));
    setHint(check, texts::ui::CheckItemHint.toString());
    check->setShortcut(QKeySequence(Qt::Key_F9));
    connect(check, &QAction::triggered, this, &MainWindow::runDataCheck);
}

void MainWindow::buildStationMenu(QMenuBar* bar)
{
    QMenu* station = bar->addMenu(withKey(texts::ui::StationMenu, u'т'));
    station->setObjectName(QStringLiteral("N20"));
    QAction* protocol = addItem(station, QStringLiteral("N21"), withKey(texts::ui::CreateProtocolItem, u'п'));
    protocol->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    station->addSeparator()->setObjectName(QStringLiteral("N22"));
    QAction* link = addItem(station, QStringLiteral("N23"), withKey(texts::ui::StationLinkItem, u'З'));
    link->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    connect(protocol, &QAction::triggered, this, &MainWindow::openProtocolWindow);
    connect(link, &QAction::triggered, this, &MainWindow::openStationLinkWindow);

    QMenu* stationType = station->addMenu(withKey(texts::ui::StationTypeMenu, u'Т'));
    stationType->setObjectName(QStringLiteral("N24"));
    auto* bandGroup = new QActionGroup(this);
    bandGroup->setExclusive(true);
    m_band30to60Item =
        addItem(stationType, QStringLiteral("N3062"), withKey(texts::ui::Band30to60Item, u'3'));
    m_band144to174Item =
        addItem(stationType, QStringLiteral("N3063"), withKey(texts::ui::Band144to174Item, u'1'));
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

    station->setToolTipsVisible(true);
    QAction* compare =
        addItem(station, QStringLiteral("CompareItem"), withKey(texts::ui::CompareStationItem, u'С'));
    setHint(compare, texts::ui::CompareStationHint.toString());
    connect(compare, &QAction::triggered, this, &MainWindow::openStationComparison);

    station->addSeparator();
    QAction* fleet =
        addItem(station, QStringLiteral("FleetWriteItem"), withKey(texts::ui::FleetWriteItem, u'н'));
    setHint(fleet, texts::ui::FleetWriteItemHint.toString());
    connect(fleet, &QAction::triggered, this, &MainWindow::fleetWriteWindowRequested);
}

void MainWindow::buildExitCommand(QMenuBar* bar)
{
    QAction* exit = bar->addAction(withKey(texts::ui::ExitItem, u'В'));
    exit->setObjectName(QStringLiteral("N25"));
    setHint(exit, texts::ui::ExitItemHint.toString());
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::buildEditMenu(QMenuBar* bar)
{
    QMenu* edit = bar->addMenu(withKey(texts::ui::EditMenu, u'П'));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->setToolTipsVisible(true);
    setHint(edit->menuAction(), texts::ui::EditMenuHint.toString());

    // Undo and redo work wherever the focus is, except in a text field, which keeps its own.
    QUndoStack* stack = m_history->stack();
    QAction* undo = addItem(edit, QStringLiteral("UndoItem"), withKey(texts::ui::UndoItem, u'О'));
    undo->setShortcut(QKeySequence::Undo);
    undo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    QAction* redo = addItem(edit, QStringLiteral("RedoItem"), withKey(texts::ui::RedoItem, u'П'));
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
    const auto tableItem = [this, edit](const char* name, QStringView text, char16_t key,
                                        const QList<QKeySequence>& keys, void (TableCommands::*command)()) {
        QAction* item = addItem(edit, QString::fromLatin1(name), withKey(text, key));
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(item);
        connect(item, &QAction::triggered, m_tableCommands, command);
        m_tableItems.append(item);
        return item;
    };
    edit->addSeparator();
    tableItem("CopyItem", texts::ui::CopyItem, u'К', QKeySequence::keyBindings(QKeySequence::Copy),
              &TableCommands::copy)
        ->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    tableItem("PasteItem", texts::ui::PasteItem, u'В', QKeySequence::keyBindings(QKeySequence::Paste),
              &TableCommands::paste);
    edit->addSeparator();
    tableItem("InsertChannelItem", texts::ui::InsertChannelItem, u'Д',
              {QKeySequence(Qt::ALT | Qt::Key_Insert)}, &TableCommands::insertChannel);
    tableItem("RemoveChannelsItem", texts::ui::RemoveChannelsItem, u'У',
              {QKeySequence(Qt::ALT | Qt::Key_Delete)}, &TableCommands::removeChannels);
    tableItem("MoveUpItem", texts::ui::MoveUpItem, u'х', {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
              &TableCommands::moveChannelsUp);
    tableItem("MoveDownItem", texts::ui::MoveDownItem, u'н',
              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)}, &TableCommands::moveChannelsDown);
}

void MainWindow::buildViewMenu(QMenuBar* bar)
{
    QMenu* view = bar->addMenu(withKey(texts::ui::ViewMenu, u'и'));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->setToolTipsVisible(true);
    m_roomyItem = addItem(view, QStringLiteral("RoomyWindowItem"), withKey(texts::ui::RoomyWindowItem, u'П'));
    m_roomyItem->setCheckable(true);
    m_roomyItem->setChecked(m_stores.choices.roomyWindow());
    setHint(m_roomyItem, texts::ui::RoomyWindowHint.toString());
    connect(m_roomyItem, &QAction::toggled, this, [this](bool on) {
        m_stores.choices.setRoomyWindow(on);
        setRoomy(on);
    });
}

void MainWindow::buildHelpMenu(QMenuBar* bar)
{
    QMenu* help = bar->addMenu(withKey(texts::ui::HelpMenu, u'С'));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->setToolTipsVisible(true);
    QAction* guide = addItem(help, QStringLiteral("GuideItem"), withKey(texts::ui::GuideItem, u'Р'));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    guide->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    QAction* journal = addItem(help, QStringLiteral("JournalItem"), withKey(texts::ui::JournalItem, u'Ж'));
    setHint(journal, texts::ui::JournalHint.toString());
    QAction* about = addItem(help, QStringLiteral("AboutItem"), withKey(texts::ui::AboutItem, u'О'));
    connect(guide, &QAction::triggered, this, &MainWindow::showGuide);
    connect(journal, &QAction::triggered, this, &MainWindow::showJournal);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildMenuCorner(QMenuBar* bar)
{
    // The plan's marks sit here, right of the menus, so that the window's areas and caption stay
    // as they are; further marks (such as a count of the checks' refusals) go into the same row.
    auto* corner = new QWidget(bar);
    corner->setObjectName(QStringLiteral("MenuCorner"));
    auto* marks = new QHBoxLayout(corner);
    marks->setContentsMargins(0, 0, 8, 0);
    marks->setSpacing(12);
    // A count per kind of marks, in its colour; a click visits the first mark of the kind.
    const auto addCount = [this, corner, marks](const QString& name, MarkKind kind, QStringView text,
                                                QStringView hint) {
        auto* count = new QToolButton(corner);
        count->setObjectName(name);
        count->setAutoRaise(true);
        count->setToolTip(hint.toString());
        count->setFocusPolicy(Qt::NoFocus);
        QPalette colours = count->palette();
        colours.setColor(QPalette::ButtonText, markColour(kind));
        count->setPalette(colours);
        count->hide();
        marks->addWidget(count);
        connect(count, &QToolButton::clicked, m_markers, [this, kind] { m_markers->visitFirst(kind); });
        connect(m_markers, &PlanMarkers::marksChanged, count,
                [this, count, kind, text](MarkKind changed, int n) {
                    if (changed != kind)
                        return;
                    count->setText(text.toString().arg(n));
                    count->setVisible(n > 0);
                    fitMenuCorner();
                });
        return count;
    };
    m_refusalCount = addCount(QStringLiteral("RefusalCount"), MarkKind::Refusal, texts::ui::RefusalCount,
                              texts::ui::RefusalCountHint);
    addCount(QStringLiteral("DifferenceCount"), MarkKind::Difference, texts::ui::DifferenceCount,
             texts::ui::DifferenceCountHint);
    m_unsavedMark = new QLabel(texts::ui::UnsavedMark.toString(), corner);
    m_unsavedMark->setObjectName(QStringLiteral("UnsavedMark"));
    m_unsavedMark->setToolTip(texts::ui::UnsavedMarkHint.toString());
    m_unsavedMark->setForegroundRole(QPalette::PlaceholderText); // quiet
    m_unsavedMark->hide();
    marks->addWidget(m_unsavedMark);
    bar->setCornerWidget(corner, Qt::TopRightCorner);
    connect(m_unsaved, &UnsavedPlan::unsavedChanged, m_unsavedMark, [this](bool unsaved) {
        m_unsavedMark->setVisible(unsaved);
        fitMenuCorner();
    });
    // A recovery copy that cannot be kept is said at the mark, not in a box in the middle of
    // typing: it is shown in the text's full colour and its hint gives the reason.
    connect(m_unsaved, &UnsavedPlan::recoveryFailureChanged, m_unsavedMark, [this](const QString& failure) {
        m_unsavedMark->setForegroundRole(failure.isEmpty() ? QPalette::PlaceholderText
                                                           : QPalette::WindowText);
        m_unsavedMark->setToolTip(failure.isEmpty()
                                      ? texts::ui::UnsavedMarkHint.toString()
                                      : texts::ui::UnsavedMarkHint.toString() + u'\n' + failure);
    });
}

void MainWindow::fitMenuCorner()
{
    // The menu bar sizes its corner only when the corner is set: a mark shown or hidden, or a
    // count grown by a digit, would be cut off or leave a gap.
    menuBar()->setCornerWidget(menuBar()->cornerWidget(Qt::TopRightCorner), Qt::TopRightCorner);
}

void MainWindow::setRoomy(bool roomy)
{
    const bool shown = isVisible();
    // The roomy window's size and place go with the choice: kept when it is turned off, back
    // when it is turned on again.
    if (!roomy && shown && m_roomy)
        keepRoomyPlace();
    m_roomy = roomy;
    if (roomy) {
        m_client->setMinimumSize(ClientWidth, ClientHeight);
        m_client->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->setSizeConstraint(QLayout::SetMinimumSize);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        if (isMaximized() || isFullScreen())
            showNormal();
        m_client->setFixedSize(ClientWidth, ClientHeight);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    // The fixed window offers no maximise button.
    setWindowFlag(Qt::WindowMaximizeButtonHint, roomy);
    if (shown)
        show(); // a change of the window's flags hides it
    if (roomy && shown)
        restoreRoomyPlace();
    if (m_roomyItem && m_roomyItem->isChecked() != roomy)
        m_roomyItem->setChecked(roomy);
    layoutWorkArea();
}

void MainWindow::restoreRoomyPlace()
{
    // Qt puts a place on a screen that is gone, or off every screen, back on one.
    if (m_roomy)
        restoreGeometry(m_stores.choices.windowPlace(MainWindowPlace));
}

void MainWindow::keepRoomyPlace()
{
    m_stores.choices.setWindowPlace(MainWindowPlace, saveGeometry());
}

void MainWindow::layoutWorkArea()
{
    // The room beyond the fixed size: the table takes all of its height, and its columns share
    // its width in proportion to their own. The row above keeps its height (the settings fit
    // it with a scroll bar): the settings editor widens between the template panel, which keeps
    // its place, and the repeater panel at the right edge.
    const int wider = std::max(0, m_client->width() - ClientWidth);
    const int taller = std::max(0, m_client->height() - ClientHeight);
    m_workArea->setGeometry(0, 0, ClientWidth + wider, 396 + taller);
    m_settingsEditor->setGeometry(251, 6, 280 + wider, 145);
    m_repeaterPanel->setGeometry(537 + wider, 6, 252, 143);
    m_grid->setGeometry(5, 155, 787 + wider, 235 + taller);
    m_grid->shareExtraWidth(wider);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layoutWorkArea();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showGuide()
{
    if (!m_guide) {
        const QStringList places = guideLocations();
        const auto found = std::find_if(places.begin(), places.end(),
                                        [](const QString& place) { return QFileInfo(place).isFile(); });
        const WholeFileRead read =
            found == places.end() ? WholeFileRead{} : readWholeFile(*found, MaxGuideBytes);
        if (!read.bytes) {
            QStringList shown;
            for (const QString& place : places)
                shown.append(QDir::toNativeSeparators(place));
            m_feedback.show(UserMessage::failure(texts::ui::GuideMissing.toString().arg(shown.join(u'\n'))),
                            this);
            return;
        }
        m_guide = new GuideWindow(QString::fromUtf8(*read.bytes), QFileInfo(*found).absolutePath(), this);
        keepPlace(*m_guide, QStringLiteral("guide"), m_stores.choices, *this);
        // Hidden with the main window, so that its place is kept.
        connect(this, &MainWindow::closed, m_guide, &QWidget::hide);
    }
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
}

void MainWindow::showJournal()
{
    // The journal the station-link window writes, which a test or the environment may change.
    if (m_journal && m_journal->journalPath() != m_journalPath())
        m_journal.reset();
    if (!m_journal) {
        m_journal = std::make_unique<JournalWindow>(m_journalPath(), m_feedback, m_dialogs);
        // The program ends with the main window, not with this one.
        m_journal->setAttribute(Qt::WA_QuitOnClose, false);
        keepPlace(*m_journal, QStringLiteral("journal"), m_stores.choices, *this);
        connect(this, &MainWindow::closed, m_journal.get(), &QWidget::hide);
        connect(m_journal.get(), &JournalWindow::planOpenRequested, this, [this](const QString& path) {
            // During an exchange the window takes no input, and a plan read now would meet it:
            // refused as a key a field refuses.
            if (m_stationExchangeRunning) {
                m_feedback.sound(Sound::DefaultBeep);
                return;
            }
            if (isMinimized())
                showNormal();
            raise();
            activateWindow();
            if (isCsvFile(path))
                importCsvFrom(path);
            else
                readPlanFrom(path);
        });
    }
    m_journal->show();
    m_journal->raise();
    m_journal->activateWindow();
}

void MainWindow::showAbout()
{
    m_feedback.show(UserMessage::notice(aboutText(m_journalPath(), m_stores.recovery.folder())), this);
}

void MainWindow::refreshRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_stores.recentPlans.paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        // The number is the item's underlined letter; an '&' of the path is shown as it is.
        QAction* item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(path).replace(u'&', QStringLiteral("&&"))));
        item->setObjectName(QStringLiteral("RecentPlan%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path] { readPlanFrom(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void MainWindow::rememberPlanFile(const QString& path)
{
    m_state.notePlanFile(QFileInfo(path).absoluteFilePath());
    m_stores.recentPlans.remember(path);
    refreshRecentMenu();
}

void MainWindow::buildWorkArea()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);
    // A roomy window places the parts anew whenever its size changes.
    m_client->installEventFilter(this);

    m_workArea = new QFrame(m_client);
    m_workArea->setObjectName(QStringLiteral("Panel1"));
    m_workArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_workArea->setGeometry(0, 0, ClientWidth, 396);

    buildTemplatePanel(m_workArea);

    // Tab goes on from the settings to the table, as from the template fields to the settings.
    m_settingsEditor = new SettingsEditor(m_workArea);
    m_settingsEditor->setObjectName(QStringLiteral("Memo1"));
    m_settingsEditor->setGeometry(251, 6, 280, 145);
    m_settingsEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_settingsEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette settingsColours = m_settingsEditor->palette();
    settingsColours.setColor(QPalette::Base, SettingsBackground);
    m_settingsEditor->setPalette(settingsColours);
    // Every command reads the settings the user sees: the state follows each edit.
    connect(m_settingsEditor, &QPlainTextEdit::textChanged, this, &MainWindow::storeSettingsText);
    connect(m_settingsEditor, &QPlainTextEdit::textChanged, m_unsaved, &UnsavedPlan::noteChange);

    buildRepeaterPanel(m_workArea);

    m_model = new ChannelTableModel(m_state, *m_history, this);
    m_grid = new ChannelGrid(m_model, m_feedback, m_workArea);
    m_grid->setGeometry(5, 155, 787, 235);
    m_markers = new PlanMarkers(*m_model, *m_grid, *m_settingsEditor, this);
    connect(m_settingsEditor, &QPlainTextEdit::textChanged, this, &MainWindow::refreshMarks);
    connect(m_settingsEditor, &QPlainTextEdit::textChanged, this, &MainWindow::dropDifferences);

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
    // Enter presses the button that has the focus, as in the station-link and protocol windows.
    m_okButton->setAutoDefault(true);
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
    write->setAutoDefault(true);
    close->setAutoDefault(true);
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
    refreshMarks();
}

void MainWindow::refreshMarks()
{
    const bool planShown = m_state.tableCreated() && m_state.table().firstRowWithoutFlags() == 0;
    m_markers->show(MarkKind::Refusal,
                    planShown ? markRefusals(m_state.settings(), m_state.table(), m_state.stationType())
                              : PlanMarks{});
    // The table's commands need a table shown.
    for (QAction* item : std::as_const(m_tableItems))
        item->setEnabled(planShown);
}

void MainWindow::dropDifferences()
{
    m_markers->show(MarkKind::Difference, {});
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
    // Asked at "Ok", not at "Создать шаблон": the panel alone replaces nothing, and "Ok" pressed
    // again on the open panel replaces the plan once more. A template the fields refuse replaces
    // nothing either and asks nothing.
    if (makeChannelTemplate(fields, m_state.stationType()).ok() && !confirmLeavingPlan())
        return;
    const UserMessage refusal = m_state.createTemplate(fields);
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, this);
        return;
    }
    m_history->recordPlanReplacement(texts::ui::TemplateStep.toString());
    refreshPlanViews();
    showPlanArea();
}

bool MainWindow::confirmLeavingPlan()
{
    if (!m_unsaved->isUnsaved())
        return true;
    switch (m_feedback.ask(texts::ui::SaveChangesQuestion.toString(), true, this)) {
    case Answer::Yes:
        return savePlan();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool MainWindow::writePlanToFile()
{
    if (const auto refusal = files::planWriteRefusal(m_state.tableCreated(), m_state.table())) {
        m_feedback.show(*refusal, this);
        return false;
    }
    const auto path = m_dialogs.askSavePath(this);
    return path && saveTo(*path);
}

bool MainWindow::savePlan()
{
    if (m_state.planFile().isEmpty())
        return writePlanToFile();
    if (const auto refusal = files::planWriteRefusal(m_state.tableCreated(), m_state.table())) {
        m_feedback.show(*refusal, this);
        return false;
    }
    return saveTo(m_state.planFile());
}

bool MainWindow::saveTo(const QString& path)
{
    const UserMessage failure =
        files::writePlanFile(path, m_state.settings(), m_state.table(), m_state.stationType().typeCode,
                             moduleCode(m_state.moduleType()));
    if (!failure.isEmpty()) {
        m_feedback.show(failure, this);
        return false;
    }
    rememberPlanFile(path);
    m_unsaved->markSaved();
    return true;
}

void MainWindow::readPlanFromFile()
{
    if (!confirmLeavingPlan())
        return;
    if (const auto path = m_dialogs.askOpenPath(this))
        loadPlanFile(*path);
}

void MainWindow::readPlanFrom(const QString& path)
{
    if (confirmLeavingPlan())
        loadPlanFile(path);
}

void MainWindow::loadPlanFile(const QString& path)
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
    m_unsaved->markSaved();
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
    if (!confirmLeavingPlan())
        return;
    if (const auto path = m_dialogs.askCsvOpenPath(this))
        importCsvFile(*path);
}

void MainWindow::importCsvFrom(const QString& path)
{
    if (confirmLeavingPlan())
        importCsvFile(path);
}

void MainWindow::importCsvFile(const QString& path)
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

void MainWindow::offerRecovery()
{
    // The newest copy first; a copy declined goes, and the next older one is offered. Only "Нет"
    // declines: a question closed otherwise (a signal ending the program meanwhile) leaves the
    // copy, and the older ones, for the next start.
    while (std::optional<files::RecoveryFolder::LeftCopy> copy = m_stores.recovery.takeNewestLeftCopy()) {
        const QString file = copy->plan.planFile.isEmpty()
                                 ? texts::ui::RecoveryNoFile.toString()
                                 : QStringLiteral("«%1»").arg(QDir::toNativeSeparators(copy->plan.planFile));
        const QString question = texts::ui::RecoveryOffer.toString().arg(
            copy->plan.kept.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), file);
        const Answer answer = m_feedback.ask(question, false, this);
        if (answer == Answer::Cancel) {
            m_stores.recovery.release(*copy);
            return;
        }
        if (answer == Answer::Yes)
            restoreRecoveredPlan(copy->plan);
        m_stores.recovery.remove(*copy);
        if (answer == Answer::Yes)
            return;
    }
}

void MainWindow::restoreRecoveredPlan(const files::RecoveryPlan& plan)
{
    m_state.adoptRecoveredPlan(UnsavedPlan::snapshotOf(plan));
    m_history->recordPlanReplacement(texts::ui::RecoveryStep.toString());
    showRestoredPlan();
    // This program's own copy is made before the one it came from goes.
    m_unsaved->keepNow();
}

void MainWindow::keepPlanForRecovery()
{
    m_unsaved->keepNow();
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
    m_unsaved->noteChange();
}

void MainWindow::selectBand(Band band)
{
    // The band already selected: nothing at all changes, the table keeps its check boxes.
    // Otherwise an unsaved plan asks first, since the change takes its flags and its undo steps
    // ("Отмена", or a save that did not happen, keeps the band and its mark in the menu); then
    // the new band's caption, then everything of the old band's table hidden; its rows lose their
    // check boxes until a new table is built.
    if (m_state.isBandSelected(band))
        return;
    if (!confirmLeavingPlan()) {
        markBand(m_state.stationType().band);
        return;
    }
    m_state.selectBand(band);
    m_history->clear();
    setWindowTitle(m_state.stationType().modelCaption());
    m_workArea->hide();
    markBand(band);
    m_startField->setText(m_state.stationType().lowerLimitText());
    m_settingsEditor->hide();
    m_grid->hide();
    m_model->reload();
    refreshMarks();
    m_unsaved->noteChange();
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

void MainWindow::openStationComparison()
{
    // The plan compared is the one shown, with a cell being typed in taken.
    m_grid->finishEditing();
    emit stationComparisonRequested();
    showMinimized();
}

void MainWindow::showStationComparison(const PlanComparison& comparison)
{
    m_markers->show(MarkKind::Difference, comparisonMarks(comparison, m_state.settings()).marks);
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
    // An unsaved plan asks first; "Отмена" keeps the program running with everything as it was.
    if (m_stationExchangeRunning || !confirmLeavingPlan()) {
        event->ignore();
        return;
    }
    m_unsaved->discardCopy();
    if (m_roomy)
        keepRoomyPlace();
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
