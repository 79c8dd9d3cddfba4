#include "plan_editing.h"

#include "channel_grid.h"
#include "channel_table_model.h"
#include "menu_items.h"
#include "plan_files.h"
#include "plan_history.h"
#include "table_commands.h"
#include "ui_texts.h"
#include "unsaved_plan.h"
#include "user_feedback.h"
#include "work_area.h"

#include "image/data_check.h"
#include "session/app_state.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QUndoStack>

namespace yalmera::ui {

PlanEditing::PlanEditing(AppState& state, UserInterfaceFeedback& feedback, PlanHistory& history,
                         UnsavedPlan& unsaved, PlanFiles& files, WorkArea& workArea, ChannelTableModel& model,
                         QWidget& window)
    : QObject(&window), m_state(state), m_feedback(feedback), m_history(history), m_unsaved(unsaved),
      m_files(files), m_workArea(workArea), m_model(model), m_window(window),
      m_tableCommands(new TableCommands(state, history, *workArea.grid(), feedback, this))
{
    connect(&m_workArea, &WorkArea::templateRequested, this, &PlanEditing::createTemplate);
    connect(&m_workArea, &WorkArea::repeaterMarkRequested, this, &PlanEditing::writeRepeaterMark);
}

void PlanEditing::addTemplateItem(QMenu* channels)
{
    QAction* createTemplate =
        addItem(channels, QStringLiteral("N2"), withKey(texts::ui::CreateTemplateItem, u'С'));
    createTemplate->setIcon(m_window.style()->standardIcon(QStyle::SP_FileIcon));
    createTemplate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    channels->addSeparator()->setObjectName(QStringLiteral("N3"));
    connect(createTemplate, &QAction::triggered, this, &PlanEditing::openTemplatePanel);
}

void PlanEditing::addEquipmentMenu(QMenuBar* bar)
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

void PlanEditing::addRepeaterAndCheckCommands(QMenuBar* bar)
{
    QAction* repeater = bar->addAction(withKey(texts::ui::RepeaterItem, u'Р'));
    repeater->setObjectName(QStringLiteral("N11"));
    connect(repeater, &QAction::triggered, this, &PlanEditing::openRepeaterPanel);

    QAction* check = bar->addAction(withKey(texts::ui::CheckItem, u'н'));
    check->setObjectName(QStringLiteral("N19"));
    setHint(check, texts::ui::CheckItemHint.toString());
    check->setShortcut(QKeySequence(Qt::Key_F9));
    connect(check, &QAction::triggered, this, &PlanEditing::runDataCheck);
}

void PlanEditing::addEditMenu(QMenuBar* bar)
{
    QMenu* edit = bar->addMenu(withKey(texts::ui::EditMenu, u'П'));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->setToolTipsVisible(true);
    setHint(edit->menuAction(), texts::ui::EditMenuHint.toString());
    addUndoItems(edit);
    addTableItems(edit);
}

void PlanEditing::addUndoItems(QMenu* edit)
{
    // Undo and redo work wherever the focus is, except in a text field, which keeps its own.
    const QStyle* style = m_window.style();
    QUndoStack* stack = m_history.stack();
    QAction* undo = addItem(edit, QStringLiteral("UndoItem"), withKey(texts::ui::UndoItem, u'О'));
    undo->setShortcut(QKeySequence::Undo);
    undo->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    QAction* redo = addItem(edit, QStringLiteral("RedoItem"), withKey(texts::ui::RedoItem, u'П'));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
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
}

void PlanEditing::addTableItems(QMenu* edit)
{
    // The table's commands: from the menu on the table whatever has the focus, by their keys
    // while the table or one of its editors has it. Alt with the arrows stays with the lists,
    // which drop down on it.
    ChannelGrid* grid = m_workArea.grid();
    const auto tableItem = [this, edit, grid](const char* name, QStringView text, char16_t key,
                                              const QList<QKeySequence>& keys,
                                              void (TableCommands::*command)()) {
        QAction* item = addItem(edit, QString::fromLatin1(name), withKey(text, key));
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        grid->addAction(item);
        connect(item, &QAction::triggered, m_tableCommands, command);
        m_tableItems.append(item);
        return item;
    };
    edit->addSeparator();
    tableItem("CopyItem", texts::ui::CopyItem, u'К', QKeySequence::keyBindings(QKeySequence::Copy),
              &TableCommands::copy)
        ->setIcon(m_window.style()->standardIcon(QStyle::SP_FileDialogContentsView));
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

void PlanEditing::markModule(ModuleType module)
{
    // A code beyond the menu's items (from a file or a station) marks nothing.
    const std::size_t item = moduleCode(module);
    if (item < m_moduleItems.size())
        m_moduleItems[item]->setChecked(true);
}

void PlanEditing::enableTableCommands(bool tableShown)
{
    for (QAction* item : std::as_const(m_tableItems))
        item->setEnabled(tableShown);
}

void PlanEditing::openTemplatePanel()
{
    m_workArea.focusTemplateCount();
    m_workArea.setStartFrequency(m_state.stationType().lowerLimitText());
}

void PlanEditing::createTemplate()
{
    const TemplateFields fields = m_workArea.templateFields();
    // Asked at "Ok", not at "Создать шаблон": the panel alone replaces nothing, and "Ok" pressed
    // again on the open panel replaces the plan once more. A template the fields refuse replaces
    // nothing either and asks nothing.
    if (makeChannelTemplate(fields, m_state.stationType()).ok() && !m_files.mayLeavePlan())
        return;
    const UserMessage refusal = m_state.createTemplate(fields);
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, &m_window);
        return;
    }
    m_history.recordPlanReplacement(texts::ui::TemplateStep.toString());
    emit templateCreated();
}

void PlanEditing::selectModule(ModuleType module)
{
    m_state.selectModule(module);
    markModule(module);
    m_unsaved.noteChange();
}

void PlanEditing::runDataCheck()
{
    const CheckResult result = yalmera::runDataCheck(m_state);
    m_feedback.show(result.message, &m_window);
}

void PlanEditing::openRepeaterPanel()
{
    const UserMessage refusal = m_state.openRepeaterPanel();
    if (!refusal.isEmpty()) {
        m_feedback.show(refusal, &m_window);
        return;
    }
    m_workArea.showRepeaterPanel();
}

void PlanEditing::writeRepeaterMark()
{
    const RepeaterMode mode = m_workArea.repeaterMode();
    m_workArea.grid()->finishEditing();
    TableSnapshot before = m_state.tableSnapshot();
    const RepeaterWriteResult result = m_state.writeRepeaterMark(m_workArea.repeaterChannel(), mode);
    m_model.refreshCells();
    if (!result.ok()) {
        m_feedback.show(result.message, &m_window);
        return;
    }
    const CellRange frequencies{result.row, result.row, columnIndex(Column::RxFrequency),
                                columnIndex(Column::TxFrequency)};
    m_history.recordTableEdit(texts::ui::RepeaterMarkStep.toString(), std::move(before), frequencies,
                              PlanHistory::TableEdit::RepeaterMark);
}

} // namespace yalmera::ui
