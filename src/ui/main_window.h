#pragma once

#include "model/station_type.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace yalmera {
class AppState;
struct PlanComparison;
} // namespace yalmera

namespace yalmera::files {
struct RecoveryPlan;
}

namespace yalmera::ui {

class ChannelGrid;
class ChannelTableModel;
class GuideWindow;
class JournalWindow;
class PlanFileDialogs;
class PlanHistory;
class PlanMarkers;
class TableCommands;
class UnsavedPlan;
class UserInterfaceFeedback;
struct UserStores;

// The main window ("FormMain"): the menu, the work area with the template panel, the settings
// editor, the repeater panel and the channel table.
//
// Component names (objectName):
//   menus        N1 "Каналы", N6 "Доп. оборудование", N7 "Модули ", N20 "Станция",
//                N24 "Тип радиостанции"
//   menu items   N2 "Создать шаблон", N4 "Запись в файл", SaveItem "Сохранить", N5 "Чтение файла",
//                N12..N16 the modules "Нет модуля" .. "Маскиратор типа \"Тенир\"",
//                N11 "Ретранслятор", N19 "Контроль", N21 "Создать протокол",
//                N23 "Запись/Чтение данных", N3062 "30-60 МГц", N3063 "144-174 МГц",
//                N300345 "300-345 МГц", N400486 "400-486 Мгц", N25 "Выход"
//   additions    CompareItem "Сравнить со станцией" and FleetWriteItem "Запись в несколько
//                станций" (last in "Станция");
//                RecentMenu "Последние файлы", ExportCsvItem, ImportCsvItem (in "Каналы");
//                EditMenu "Правка" after "Выход": UndoItem, RedoItem, CopyItem, PasteItem,
//                InsertChannelItem, RemoveChannelsItem, MoveUpItem, MoveDownItem;
//                ViewMenu "Вид": RoomyWindowItem; HelpMenu "Справка": GuideItem, JournalItem,
//                AboutItem; MenuCorner beside the menus with RefusalCount "ошибок: N",
//                DifferenceCount "отличий: N" and UnsavedMark "изменён"
//   keys         every menu and item has an underlined letter (Alt+letter, F10 opens "Каналы");
//                Ctrl+N "Создать шаблон", Ctrl+O "Чтение файла", Ctrl+S "Сохранить",
//                F9 "Контроль", F1 "Руководство", F8 / Shift+F8 the next / previous refusal,
//                F7 / Shift+F7 the next / previous difference from the station
//   work area    Panel1 (hidden at start)
//   template     Panel2: Label1/Edit1 count, Label2/Edit2 start frequency, Label3/Edit3 offset,
//                BitBtn1 "Ok"
//   settings     Memo1
//   repeater     Panel3: Label4 title, Label5/Edit4 channel number, Label6 mode title,
//                RadioButton1 "Прием", RadioButton2 "Передача", BitBtn2 "Запись", BitBtn3 "Закрыть"
//   table        StringGrid1, with its list editors ComboBox1..ComboBox8
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 797;  // px
    static constexpr int ClientHeight = 397; // px, below the menu bar

    MainWindow(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs, UserStores& stores,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    ChannelGrid* grid() const { return m_grid; }
    ChannelTableModel* tableModel() const { return m_model; }
    UnsavedPlan* unsavedPlan() const { return m_unsaved; }
    PlanMarkers* planMarkers() const { return m_markers; }
    GuideWindow* guideWindow() const { return m_guide; }
    JournalWindow* journalWindow() const { return m_journal.get(); }
    // The exchange journal "Журнал обмена" and "О программе" name (the station-link window's).
    void setJournalPathSource(std::function<QString()> source) { m_journalPath = std::move(source); }

public slots:
    // "Создать шаблон": the work area, focus on the count, the band's lower limit as start.
    void openTemplatePanel();
    // "Ok": a new plan from the three fields.
    void createTemplateFromFields();
    // "Запись в файл", with its dialog; true once written.
    bool writePlanToFile();
    // "Сохранить": back to the file the plan was read from or last saved to, without a dialog;
    // "Запись в файл" for a plan that has no file yet. True once written.
    bool savePlan();
    void readPlanFromFile();
    // A plan file read as "Чтение файла" reads it (a recent file, a file dropped on the window,
    // one named when the program starts).
    void readPlanFrom(const QString& path);
    void exportCsv();
    void importCsv();
    void importCsvFrom(const QString& path);
    // At start: a plan that a program left unsaved when it was killed or crashed is offered back.
    void offerRecovery();
    // The program is told to end (a signal): the unsaved plan is kept for recovery at once.
    void keepPlanForRecovery();
    // "Просторное окно": the window may be enlarged or maximised, never below its fixed size,
    // and the table takes the room; off, it is the fixed window. Its size and place are kept
    // when it is turned off or the program ends.
    void setRoomy(bool roomy);
    // A roomy window where the user left it (at start, before it is shown); a fixed one stays.
    void restoreRoomyPlace();
    void showGuide();
    // "Журнал обмена": the journal's window; the plan a row names opens here as "Чтение файла"
    // (or "Импорт CSV") opens it.
    void showJournal();
    void showAbout();
    void selectModule(yalmera::ModuleType module);
    void selectBand(yalmera::Band band);
    void runDataCheck();
    void openRepeaterPanel();
    void writeRepeaterMark();
    void closeRepeaterPanel();
    void openProtocolWindow();
    void openStationLinkWindow();
    // "Сравнить со станцией": the station-link window, which reads and compares.
    void openStationComparison();

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildChannelsMenu(QMenuBar* bar);
    void buildEquipmentMenu(QMenuBar* bar);
    void buildRepeaterAndCheckCommands(QMenuBar* bar);
    void buildStationMenu(QMenuBar* bar);
    void buildExitCommand(QMenuBar* bar);
    void buildEditMenu(QMenuBar* bar);
    void buildViewMenu(QMenuBar* bar);
    void buildHelpMenu(QMenuBar* bar);
    // Beside the menus, outside the areas of the window: the plan's marks.
    void buildMenuCorner(QMenuBar* bar);
    void fitMenuCorner();
    // Before the plan is replaced or the program ends: whether to go on. An unsaved plan asks
    // "Сохранить изменения?": "Да" saves as "Сохранить" does and goes on once saved, "Нет" goes
    // on, "Отмена" keeps everything.
    bool confirmLeavingPlan();
    bool saveTo(const QString& path);
    void loadPlanFile(const QString& path);
    void importCsvFile(const QString& path);
    void restoreRecoveredPlan(const files::RecoveryPlan& plan);
    // The work area's parts placed for the client area's size (the fixed size, or more when roomy).
    void layoutWorkArea();
    void keepRoomyPlace();
    void refreshRecentMenu();
    void rememberPlanFile(const QString& path);
    // An undo or redo put a whole plan back: band, module, settings and table shown as they are.
    void showRestoredPlan();
    void buildWorkArea();
    void buildTemplatePanel(QWidget* workArea);
    void buildRepeaterPanel(QWidget* workArea);
    void resetAtStartUp();
    // The plan of the state into the editor and the table.
    void refreshPlanViews();
    void showPlanArea();
    void markBand(Band band);
    // The selected band's caption, menu mark and template start frequency.
    void showBand();
    void markModule(ModuleType module);
    void storeSettingsText();
    // What "Контроль" would refuse, marked on the plan shown after every change; nothing while
    // no plan is shown (before the first table, after a band change).
    void refreshMarks();
    // The differences of the last comparison describe the plan as it was compared: an edit ends them.
    void dropDifferences();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanFileDialogs& m_dialogs;
    UserStores& m_stores;
    PlanHistory* m_history = nullptr;
    UnsavedPlan* m_unsaved = nullptr;
    TableCommands* m_tableCommands = nullptr;
    PlanMarkers* m_markers = nullptr;
    QMenu* m_recentMenu = nullptr;

    QWidget* m_client = nullptr;
    QFrame* m_workArea = nullptr;                // Panel1
    QFrame* m_templatePanel = nullptr;           // Panel2
    QLineEdit* m_countField = nullptr;           // Edit1
    QLineEdit* m_startField = nullptr;           // Edit2
    QLineEdit* m_offsetField = nullptr;          // Edit3
    QPushButton* m_okButton = nullptr;           // BitBtn1
    QPlainTextEdit* m_settingsEditor = nullptr;  // Memo1
    QFrame* m_repeaterPanel = nullptr;           // Panel3
    QLineEdit* m_repeaterChannelField = nullptr; // Edit4
    QRadioButton* m_receiveMode = nullptr;       // RadioButton1
    QRadioButton* m_transmitMode = nullptr;      // RadioButton2
    ChannelTableModel* m_model = nullptr;
    ChannelGrid* m_grid = nullptr; // StringGrid1

    std::array<QAction*, 5> m_moduleItems{};
    QAction* m_band30to60Item = nullptr;
    QAction* m_band144to174Item = nullptr;
    QAction* m_roomyItem = nullptr;
    bool m_roomy = false;
    // "Правка" items that work on the table: enabled only while one is shown.
    QList<QAction*> m_tableItems;
    QLabel* m_unsavedMark = nullptr;
    QToolButton* m_refusalCount = nullptr;
    GuideWindow* m_guide = nullptr;
    // A window of its own, not the main window's child: it stays usable while an exchange holds
    // the main window and stays up while the main window is minimised.
    std::unique_ptr<JournalWindow> m_journal;
    std::function<QString()> m_journalPath;
    bool m_stationExchangeRunning = false;
};

} // namespace yalmera::ui
