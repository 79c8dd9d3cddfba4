#pragma once

#include <QObject>

class QMenu;

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class PlanFileDialogs;
class PlanHistory;
class UnsavedPlan;
class UserInterfaceFeedback;
struct UserStores;

// The plan's files: "Запись в файл", "Сохранить", "Чтение файла", "Последние файлы", the
// spreadsheet's export and import, and the unsaved plan a killed program left for recovery.
// Before a plan is replaced it asks whether an unsaved one may go. A plan read here is in the
// state and in the history; the window shows it when told by a signal.
//
// Component names (objectName): N4, SaveItem, N5, RecentMenu with RecentPlan1.., ExportCsvItem,
// ImportCsvItem.
class PlanFiles : public QObject
{
    Q_OBJECT

public:
    enum class Kind {
        Plan, // the station's INI plan file
        Csv,  // a spreadsheet of the table alone
    };
    // What a file of that name is taken for when it comes without a command (a drop, the journal).
    static Kind kindOf(const QString& path);

    PlanFiles(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs, UserStores& stores,
              PlanHistory& history, UnsavedPlan& unsaved, QWidget& window);

    // The file items of "Каналы" after its "Создать шаблон".
    void addItems(QMenu* channels);

    // Before the plan is replaced or the program ends: whether to go on. An unsaved plan asks
    // "Сохранить изменения?": "Да" saves as "Сохранить" does and goes on once saved, "Нет" goes
    // on, "Отмена" keeps everything.
    bool mayLeavePlan();
    // "Запись в файл", with its dialog; true once written.
    bool writePlanToFile();
    // "Сохранить": back to the file the plan was read from or last saved to, without a dialog;
    // "Запись в файл" for a plan that has no file yet. True once written.
    bool savePlan();
    // "Чтение файла" or "Импорт CSV": the file asked for, once an unsaved plan may go.
    void open(Kind kind);
    // The same for a file already named (a recent file, a drop, the program's argument).
    void openFrom(const QString& path, Kind kind);
    void exportCsv();
    // A plan that a program left unsaved when it was killed or crashed is offered back.
    void offerRecovery();

signals:
    // A plan file replaced the plan; bandChosen: its code selected a band.
    void planFileRead(bool bandChosen);
    void tableImported();
    void planRecovered();

private:
    // A plan that cannot be written yet (no table, rows without flags) is said and refused.
    bool refusesWriting();
    bool saveTo(const QString& path);
    void read(const QString& path, Kind kind);
    void readPlanFile(const QString& path);
    void importCsvFile(const QString& path);
    void rememberPlanFile(const QString& path);
    void refreshRecentMenu();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanFileDialogs& m_dialogs;
    UserStores& m_stores;
    PlanHistory& m_history;
    UnsavedPlan& m_unsaved;
    QWidget& m_window;
    QMenu* m_recentMenu = nullptr;
};

} // namespace yalmera::ui
