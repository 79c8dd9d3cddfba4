#pragma once

#include <QMainWindow>

#include <functional>

namespace yalmera {
class AppState;
struct PlanComparison;
} // namespace yalmera

namespace yalmera::ui {

class ChannelGrid;
class ChannelTableModel;
class GuideWindow;
class HelpMenu;
class JournalWindow;
class PlanEditing;
class PlanFileDialogs;
class PlanFiles;
class PlanHistory;
class PlanMarkers;
class PlanMarksCorner;
class StationMenu;
class UnsavedPlan;
class UserInterfaceFeedback;
class ViewMenu;
class WorkArea;
struct UserStores;

// The main window ("FormMain"): the menu and the work area with the template panel, the settings
// editor, the repeater panel and the channel table. It puts together the parts that each own one
// concern, and shows the plan whenever one of them replaced it:
//   PlanFiles        plan files, spreadsheets, recent plans and recovery ("Каналы")
//   WorkArea         the work area's widgets
//   PlanEditing      the template, modules, repeater, check and "Правка"
//   PlanMarksCorner  the refusal and difference marks and their counts beside the menus
//   StationMenu      "Станция" and the band
//   ViewMenu         "Вид", the roomy window
//   HelpMenu         "Справка": guide, journal, about
//
// Component names (objectName), in menu-bar order: N1 "Каналы" (N2, N3, N4, SaveItem, N5,
// RecentMenu, ExportCsvItem, ImportCsvItem), N6 "Доп. оборудование" (N7 "Модули ", N12..N16),
// N11 "Ретранслятор", N19 "Контроль", N20 "Станция", N25 "Выход", EditMenu "Правка",
// ViewMenu "Вид", HelpMenu "Справка", and MenuCorner; the parts name the rest.
//   keys  every menu and item has an underlined letter (Alt+letter, F10 opens "Каналы");
//         Ctrl+N "Создать шаблон", Ctrl+O "Чтение файла", Ctrl+S "Сохранить",
//         F9 "Контроль", F1 "Руководство", F8 / Shift+F8 the next / previous refusal,
//         F7 / Shift+F7 the next / previous difference from the station
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs, UserStores& stores,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    ChannelGrid* grid() const;
    ChannelTableModel* tableModel() const { return m_model; }
    UnsavedPlan* unsavedPlan() const { return m_unsaved; }
    PlanMarkers* planMarkers() const { return m_markers; }
    GuideWindow* guideWindow() const;
    JournalWindow* journalWindow() const;
    // The exchange journal "Журнал обмена" and "О программе" name (the station-link window's).
    void setJournalPathSource(std::function<QString()> source);

public slots:
    // A plan file read as "Чтение файла" reads it (one named when the program starts).
    void readPlanFrom(const QString& path);
    // At start: a plan that a program left unsaved when it was killed or crashed is offered back.
    void offerRecovery();
    // The program is told to end (a signal): the unsaved plan is kept for recovery at once.
    void keepPlanForRecovery();
    // A roomy window where the user left it (at start, before it is shown); a fixed one stays.
    void restoreRoomyPlace();

    // Back from the station-link window: the work area, the settings and the table shown.
    void restoreAfterStationLink();
    // Back from the protocol window.
    void restoreAfterProtocol();
    // A plan read from the station replaced settings and table; bandChosen: the station's code
    // selected its band, which the caption, band mark and start frequency then show.
    void showPlanReadFromStation(bool bandChosen);
    // A station compared with the plan: where it differs, marked until the plan is edited.
    void showStationComparison(const yalmera::PlanComparison& comparison);
    // While the station link exchanges bytes the main window takes no input and cannot be closed:
    // closing would stop a write halfway, and a new plan or band would meet a read in progress.
    void setStationExchangeRunning(bool running);

signals:
    void stationLinkWindowRequested();
    // "Запись в несколько станций".
    void fleetWriteWindowRequested();
    void stationComparisonRequested();
    void protocolWindowRequested();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void connectParts();
    // Every step of the table and every plan replacement, done or undone, and every edit of the
    // settings: what follows a change of the plan.
    void connectPlanChanges();
    // A plan file dropped on the window, or named by a row of the journal: read (a spreadsheet
    // imported) as its command reads it.
    void openNamedFile(const QString& path);
    // The journal asks for a plan: the window comes up and opens it, except during an exchange.
    void openPlanFromJournal(const QString& path);
    void resetAtStartUp();
    // The selected band's caption, menu mark and template start frequency.
    void showBand();
    // The plan of the state into the settings editor and the table, its marks renewed.
    void refreshPlanViews();
    // A new plan (a template, a spreadsheet's table): settings and table shown.
    void showNewPlan();
    // A plan file replaced the plan: band (when its code chose one), module, settings and table.
    void showPlanFromFile(bool bandChosen);
    // An undo or redo, or a recovery, put a whole plan back: band, module, settings and table
    // shown as they are.
    void showRestoredPlan();
    // A band change: its caption; everything of the old band's table hidden, its rows without
    // check boxes until a new table is built.
    void showBandChange();
    // What "Контроль" would refuse, marked on the plan shown after every change; the table's
    // commands enabled while a table is shown.
    void refreshMarks();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanHistory* m_history;
    UnsavedPlan* m_unsaved;
    ChannelTableModel* m_model;
    QWidget* m_client = nullptr;
    WorkArea* m_workArea = nullptr;
    PlanMarkers* m_markers = nullptr;
    PlanFiles* m_files = nullptr;
    PlanEditing* m_editing = nullptr;
    StationMenu* m_station = nullptr;
    PlanMarksCorner* m_markCorner = nullptr;
    ViewMenu* m_view = nullptr;
    HelpMenu* m_help = nullptr;
    bool m_stationExchangeRunning = false;
};

} // namespace yalmera::ui
