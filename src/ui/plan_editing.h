#pragma once

#include "model/station_type.h"

#include <QList>
#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class ChannelTableModel;
class PlanFiles;
class PlanHistory;
class TableCommands;
class UnsavedPlan;
class UserInterfaceFeedback;
class WorkArea;

// The commands that make and edit the plan in the work area: "Создать шаблон" and its panel,
// the modules of "Доп. оборудование", "Ретранслятор" and its mark, "Контроль", and "Правка"
// (undo, redo and the table's commands, which work only while a table is shown).
//
// Component names (objectName): N2 "Создать шаблон", N6 "Доп. оборудование", N7 "Модули ",
// N12..N16 the modules, N11 "Ретранслятор", N19 "Контроль", EditMenu "Правка" with UndoItem,
// RedoItem, CopyItem, PasteItem, InsertChannelItem, RemoveChannelsItem, MoveUpItem, MoveDownItem.
class PlanEditing : public QObject
{
    Q_OBJECT

public:
    PlanEditing(AppState& state, UserInterfaceFeedback& feedback, PlanHistory& history, UnsavedPlan& unsaved,
                PlanFiles& files, WorkArea& workArea, ChannelTableModel& model, QWidget& window);

    // "Создать шаблон", first in "Каналы", with the separator after it.
    void addTemplateItem(QMenu* channels);
    void addEquipmentMenu(QMenuBar* bar);
    void addRepeaterAndCheckCommands(QMenuBar* bar);
    void addEditMenu(QMenuBar* bar);

    void markModule(ModuleType module);
    // The table's commands need a table shown.
    void enableTableCommands(bool tableShown);

signals:
    // "Ok" made a new plan from the template fields.
    void templateCreated();

private:
    // "Создать шаблон": the work area, focus on the count, the band's lower limit as start.
    void openTemplatePanel();
    void createTemplate();
    void selectModule(ModuleType module);
    void runDataCheck();
    void openRepeaterPanel();
    void writeRepeaterMark();
    void addUndoItems(QMenu* edit);
    void addTableItems(QMenu* edit);

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    PlanHistory& m_history;
    UnsavedPlan& m_unsaved;
    PlanFiles& m_files;
    WorkArea& m_workArea;
    ChannelTableModel& m_model;
    QWidget& m_window;
    TableCommands* m_tableCommands;
    std::array<QAction*, 5> m_moduleItems{};
    QList<QAction*> m_tableItems;
};

} // namespace yalmera::ui
