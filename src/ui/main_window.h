#pragma once

#include "model/station_type.h"

#include <QMainWindow>

#include <array>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace yalmera {
class AppState;
}

namespace yalmera::files {
class RecentPlans;
}

namespace yalmera::ui {

class ChannelGrid;
class ChannelTableModel;
class PlanFileDialogs;
class PlanHistory;
class TableCommands;
class UserInterfaceFeedback;

// The main window ("FormMain"): the menu, the work area with the template panel, the settings
// editor, the repeater panel and the channel table.
//
// Component names (objectName):
//   menus        N1 "Каналы", N6 "Доп. оборудование", N7 "Модули ", N20 "Станция",
//                N24 "Тип радиостанции"
//   menu items   N2 "Создать шаблон", N4 "Запись в файл", N5 "Чтение файла",
//                N12..N16 the modules "Нет модуля" .. "Маскиратор типа \"Тенир\"",
//                N11 "Ретранслятор", N19 "Контроль", N21 "Создать протокол",
//                N23 "Запись/Чтение данных", N3062 "30-60 МГц", N3063 "144-174 МГц",
//                N300345 "300-345 МГц", N400486 "400-486 Мгц", N25 "Выход"
//   additions    RecentMenu "Последние файлы", ExportCsvItem, ImportCsvItem (in "Каналы");
//                EditMenu "Правка" after "Выход": UndoItem, RedoItem, CopyItem, PasteItem,
//                InsertChannelItem, RemoveChannelsItem, MoveUpItem, MoveDownItem
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

    MainWindow(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
               files::RecentPlans& recentPlans, QWidget* parent = nullptr);
    ~MainWindow() override;

    ChannelGrid* grid() const { return m_grid; }
    ChannelTableModel* tableModel() const { return m_model; }

public slots:
    // "Создать шаблон": the work area, focus on the count, the band's lower limit as start.
    void openTemplatePanel();
    // "Ok": a new plan from the three fields.
    void createTemplateFromFields();
    void writePlanToFile();
    void readPlanFromFile();
    // A plan file read as "Чтение файла" reads it (a recent file, a file dropped on the window).
    void readPlanFrom(const QString& path);
    void exportCsv();
    void importCsv();
    void importCsvFrom(const QString& path);
    void selectModule(yalmera::ModuleType module);
    void selectBand(yalmera::Band band);
    void runDataCheck();
    void openRepeaterPanel();
    void writeRepeaterMark();
    void closeRepeaterPanel();
    void openProtocolWindow();
    void openStationLinkWindow();

    // Back from the station-link window: the work area, the settings and the table shown.
    void restoreAfterStationLink();
    // Back from the protocol window.
    void restoreAfterProtocol();
    // A plan read from the station replaced settings and table; bandChosen: the station's code
    // selected its band, which the caption, band mark and start frequency then show.
    void showPlanReadFromStation(bool bandChosen);
    // While the station link exchanges bytes the main window takes no input and cannot be closed:
    // closing would stop a write halfway, and a new plan or band would meet a read in progress.
    void setStationExchangeRunning(bool running);

signals:
    void stationLinkWindowRequested();
    void protocolWindowRequested();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildEditMenu();
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

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanFileDialogs& m_dialogs;
    files::RecentPlans& m_recentPlans;
    PlanHistory* m_history = nullptr;
    TableCommands* m_tableCommands = nullptr;
    QMenu* m_recentMenu = nullptr;

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
    bool m_stationExchangeRunning = false;
};

} // namespace yalmera::ui
