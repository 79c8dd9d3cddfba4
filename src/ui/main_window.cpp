#include "main_window.h"

#include "channel_grid.h"
#include "channel_table_model.h"
#include "help_menu.h"
#include "menu_items.h"
#include "plan_editing.h"
#include "plan_files.h"
#include "plan_history.h"
#include "plan_markers.h"
#include "plan_marks_corner.h"
#include "station_menu.h"
#include "ui_texts.h"
#include "unsaved_plan.h"
#include "user_feedback.h"
#include "user_stores.h"
#include "view_menu.h"
#include "work_area.h"

#include "session/app_state.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QUndoStack>
#include <QUrl>

#include <optional>

namespace yalmera::ui {

namespace {

// The one local file a drag carries, or nothing.
std::optional<QString> droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return std::nullopt;
    return data->urls().first().toLocalFile();
}

} // namespace

MainWindow::MainWindow(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                       UserStores& stores, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_feedback(feedback), m_history(new PlanHistory(state, this)),
      m_unsaved(new UnsavedPlan(state, stores.recovery, this)),
      m_model(new ChannelTableModel(state, *m_history, this))
{
    setObjectName(QStringLiteral("FormMain"));
    // A fixed single border: system menu, minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Before the parts, which measure their texts in it.
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    setFont(font);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);
    m_workArea = new WorkArea(*m_model, feedback, m_client);
    m_markers = new PlanMarkers(*m_model, *m_workArea->grid(), *m_workArea->settingsEditor(), this);
    m_files = new PlanFiles(state, feedback, dialogs, stores, *m_history, *m_unsaved, *this);
    m_editing =
        new PlanEditing(state, feedback, *m_history, *m_unsaved, *m_files, *m_workArea, *m_model, *this);
    m_station = new StationMenu(state, feedback, *m_history, *m_files, *m_workArea->grid(), *this);
    m_markCorner = new PlanMarksCorner(state, *m_markers, *m_unsaved, *this);
    m_view = new ViewMenu(stores.choices, *m_workArea, *m_client, *this);
    m_help = new HelpMenu(feedback, dialogs, stores, *this);

    buildMenus();
    m_view->setRoomy(stores.choices.roomyWindow());
    // A plan file dropped on the window is read; a spreadsheet file imported.
    setAcceptDrops(true);
    connectParts();
    connectPlanChanges();

    resetAtStartUp();
    refreshMarks();
}

MainWindow::~MainWindow()
{
    // The history goes with the window's children and empties its stack on the way, after this
    // window's own parts are gone: its last index change must not reach them or the marks.
    disconnect(m_history->stack(), nullptr, this, nullptr);
    disconnect(m_history->stack(), nullptr, m_markCorner, nullptr);
}

ChannelGrid* MainWindow::grid() const
{
    return m_workArea->grid();
}

GuideWindow* MainWindow::guideWindow() const
{
    return m_help->guideWindow();
}

JournalWindow* MainWindow::journalWindow() const
{
    return m_help->journalWindow();
}

void MainWindow::setJournalPathSource(std::function<QString()> source)
{
    m_help->setJournalPathSource(std::move(source));
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    showHintsOnBar(bar);
    QMenu* channels = bar->addMenu(withKey(texts::ui::ChannelsMenu, u'К'));
    channels->setObjectName(QStringLiteral("N1"));
    channels->setToolTipsVisible(true);
    setHint(channels->menuAction(), texts::ui::ChannelsMenuHint.toString());
    m_editing->addTemplateItem(channels);
    m_files->addItems(channels);
    m_editing->addEquipmentMenu(bar);
    m_editing->addRepeaterAndCheckCommands(bar);
    m_station->addTo(bar);
    QAction* exit = bar->addAction(withKey(texts::ui::ExitItem, u'В'));
    exit->setObjectName(QStringLiteral("N25"));
    setHint(exit, texts::ui::ExitItemHint.toString());
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_editing->addEditMenu(bar);
    m_view->addTo(bar);
    m_help->addTo(bar);
    m_markCorner->addTo(bar);
    // F10 opens the first menu, from which the arrows reach the others; Alt with a menu's
    // underlined letter opens that menu.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, bar,
            [bar] { bar->setActiveAction(bar->actions().constFirst()); });
}

void MainWindow::connectParts()
{
    connect(m_files, &PlanFiles::planFileRead, this, &MainWindow::showPlanFromFile);
    connect(m_files, &PlanFiles::tableImported, this, &MainWindow::showNewPlan);
    connect(m_files, &PlanFiles::planRecovered, this, &MainWindow::showRestoredPlan);
    connect(m_editing, &PlanEditing::templateCreated, this, &MainWindow::showNewPlan);
    connect(m_station, &StationMenu::bandChanged, this, &MainWindow::showBandChange);
    connect(m_station, &StationMenu::stationLinkWindowRequested, this,
            &MainWindow::stationLinkWindowRequested);
    connect(m_station, &StationMenu::fleetWriteWindowRequested, this, &MainWindow::fleetWriteWindowRequested);
    connect(m_station, &StationMenu::stationComparisonRequested, this,
            &MainWindow::stationComparisonRequested);
    connect(m_station, &StationMenu::protocolWindowRequested, this, &MainWindow::protocolWindowRequested);
    connect(m_help, &HelpMenu::planOpenRequested, this, &MainWindow::openPlanFromJournal);
    connect(this, &MainWindow::closed, m_help, &HelpMenu::hideWindows);
    connect(m_history, &PlanHistory::planRestored, this, &MainWindow::showRestoredPlan);
}

void MainWindow::connectPlanChanges()
{
    // Every command reads the settings the user sees: the state follows each edit first.
    QPlainTextEdit* settings = m_workArea->settingsEditor();
    connect(settings, &QPlainTextEdit::textChanged, this,
            [this, settings] { m_state.editSettings().setText(settings->toPlainText()); });
    // Any change may make the plan differ from its file or agree with it again.
    connect(settings, &QPlainTextEdit::textChanged, m_unsaved, &UnsavedPlan::noteChange);
    connect(settings, &QPlainTextEdit::textChanged, this, &MainWindow::refreshMarks);
    connect(settings, &QPlainTextEdit::textChanged, m_markCorner, &PlanMarksCorner::dropDifferences);
    QUndoStack* steps = m_history->stack();
    connect(steps, &QUndoStack::indexChanged, m_unsaved, &UnsavedPlan::noteChange);
    connect(steps, &QUndoStack::indexChanged, this, &MainWindow::refreshMarks);
    connect(steps, &QUndoStack::indexChanged, m_markCorner, &PlanMarksCorner::dropDifferences);
}

void MainWindow::readPlanFrom(const QString& path)
{
    m_files->openFrom(path, PlanFiles::Kind::Plan);
}

void MainWindow::offerRecovery()
{
    m_files->offerRecovery();
}

void MainWindow::keepPlanForRecovery()
{
    m_unsaved->keepNow();
}

void MainWindow::restoreRoomyPlace()
{
    m_view->restoreRoomyPlace();
}

void MainWindow::openNamedFile(const QString& path)
{
    m_files->openFrom(path, PlanFiles::kindOf(path));
}

void MainWindow::openPlanFromJournal(const QString& path)
{
    // During an exchange the window takes no input, and a plan read now would meet it: refused as
    // a key a field refuses.
    if (m_stationExchangeRunning) {
        m_feedback.sound(Sound::DefaultBeep);
        return;
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    openNamedFile(path);
}

void MainWindow::resetAtStartUp()
{
    // Once, at start-up only: a band or module the user chooses later is never reset behind
    // their back when the window becomes active again.
    m_state.selectBand(Band::Mhz144to174);
    m_state.selectModule(ModuleType::None);
    showBand();
    m_editing->markModule(ModuleType::None);
}

void MainWindow::showBand()
{
    setWindowTitle(m_state.stationType().modelCaption());
    m_station->markBand(m_state.stationType().band);
    m_workArea->setStartFrequency(m_state.stationType().lowerLimitText());
}

void MainWindow::refreshPlanViews()
{
    m_workArea->showSettings(m_state.settings().text());
    m_model->reload();
    refreshMarks();
}

void MainWindow::showNewPlan()
{
    refreshPlanViews();
    m_workArea->showPlan();
}

void MainWindow::showPlanFromFile(bool bandChosen)
{
    // A code that names no band keeps the caption, mark and start frequency shown.
    if (bandChosen)
        showBand();
    m_editing->markModule(m_state.moduleType());
    showNewPlan();
}

void MainWindow::showRestoredPlan()
{
    showBand();
    m_editing->markModule(m_state.moduleType());
    refreshPlanViews();
    // A plan shows as a replacement shows it; before the first one, or with rows that lost their
    // flags to a band change, the settings and the table stay hidden.
    m_workArea->setPlanVisible(holdsWholePlan(m_state));
}

void MainWindow::showBandChange()
{
    showBand();
    m_workArea->hidePlan();
    m_model->reload();
    refreshMarks();
    m_unsaved->noteChange();
}

void MainWindow::refreshMarks()
{
    const bool shown = holdsWholePlan(m_state);
    m_markCorner->showRefusals(shown);
    m_editing->enableTableCommands(shown);
}

void MainWindow::restoreAfterStationLink()
{
    showNormal();
    m_workArea->showPlan();
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
    m_workArea->grid()->show();
    m_editing->markModule(m_state.moduleType());
}

void MainWindow::showStationComparison(const PlanComparison& comparison)
{
    m_markCorner->showComparison(comparison);
}

void MainWindow::setStationExchangeRunning(bool running)
{
    m_stationExchangeRunning = running;
    setEnabled(!running);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // An unsaved plan asks first; "Отмена" keeps the program running with everything as it was.
    if (m_stationExchangeRunning || !m_files->mayLeavePlan()) {
        event->ignore();
        return;
    }
    m_unsaved->discardCopy();
    m_view->keepRoomyPlaceAtEnd();
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
    openNamedFile(*path);
}

} // namespace yalmera::ui
