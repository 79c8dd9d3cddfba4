#include "plan_files.h"

#include "menu_items.h"
#include "plan_file_dialogs.h"
#include "plan_history.h"
#include "ui_texts.h"
#include "unsaved_plan.h"
#include "user_feedback.h"
#include "user_stores.h"

#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/plan_recovery.h"
#include "files/recent_plans.h"
#include "session/app_state.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>

namespace yalmera::ui {

PlanFiles::Kind PlanFiles::kindOf(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? Kind::Csv : Kind::Plan;
}

PlanFiles::PlanFiles(AppState& state, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                     UserStores& stores, PlanHistory& history, UnsavedPlan& unsaved, QWidget& window)
    : QObject(&window), m_state(state), m_feedback(feedback), m_dialogs(dialogs), m_stores(stores),
      m_history(history), m_unsaved(unsaved), m_window(window)
{
}

void PlanFiles::addItems(QMenu* channels)
{
    const QStyle* style = m_window.style();
    QAction* writeFile = addItem(channels, QStringLiteral("N4"), withKey(texts::ui::WriteFileItem, u'З'));
    writeFile->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    QAction* save = addItem(channels, QStringLiteral("SaveItem"), withKey(texts::ui::SaveItem, u'х'));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    setHint(save, texts::ui::SaveItemHint.toString());
    QAction* readFile = addItem(channels, QStringLiteral("N5"), withKey(texts::ui::ReadFileItem, u'Ч'));
    readFile->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    readFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(writeFile, &QAction::triggered, this, &PlanFiles::writePlanToFile);
    connect(save, &QAction::triggered, this, &PlanFiles::savePlan);
    connect(readFile, &QAction::triggered, this, [this] { open(Kind::Plan); });
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
    connect(exportCsv, &QAction::triggered, this, &PlanFiles::exportCsv);
    connect(importCsv, &QAction::triggered, this, [this] { open(Kind::Csv); });
}

bool PlanFiles::mayLeavePlan()
{
    if (!m_unsaved.isUnsaved())
        return true;
    switch (m_feedback.ask(texts::ui::SaveChangesQuestion.toString(), true, &m_window)) {
    case Answer::Yes:
        return savePlan();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool PlanFiles::refusesWriting()
{
    const auto refusal = files::planWriteRefusal(m_state.tableCreated(), m_state.table());
    if (refusal)
        m_feedback.show(*refusal, &m_window);
    return refusal.has_value();
}

bool PlanFiles::writePlanToFile()
{
    if (refusesWriting())
        return false;
    const auto path = m_dialogs.askSavePath(&m_window);
    return path && saveTo(*path);
}

bool PlanFiles::savePlan()
{
    if (m_state.planFile().isEmpty())
        return writePlanToFile();
    return !refusesWriting() && saveTo(m_state.planFile());
}

bool PlanFiles::saveTo(const QString& path)
{
    const UserMessage failure =
        files::writePlanFile(path, m_state.settings(), m_state.table(), m_state.stationType().typeCode,
                             moduleCode(m_state.moduleType()));
    if (!failure.isEmpty()) {
        m_feedback.show(failure, &m_window);
        return false;
    }
    rememberPlanFile(path);
    m_unsaved.markSaved();
    return true;
}

void PlanFiles::open(Kind kind)
{
    if (!mayLeavePlan())
        return;
    const auto path =
        kind == Kind::Csv ? m_dialogs.askCsvOpenPath(&m_window) : m_dialogs.askOpenPath(&m_window);
    if (path)
        read(*path, kind);
}

void PlanFiles::openFrom(const QString& path, Kind kind)
{
    if (mayLeavePlan())
        read(path, kind);
}

void PlanFiles::read(const QString& path, Kind kind)
{
    if (kind == Kind::Csv)
        importCsvFile(path);
    else
        readPlanFile(path);
}

void PlanFiles::readPlanFile(const QString& path)
{
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents) {
        m_feedback.show(read.error, &m_window);
        return;
    }
    // A code that names no band keeps the caption, mark and start frequency shown.
    const bool bandChosen = m_state.adoptPlanFile(std::move(*read.contents));
    // Before the step is recorded, so that a redo brings the file's name back with its plan.
    m_state.notePlanFile(QFileInfo(path).absoluteFilePath());
    m_history.recordPlanReplacement(texts::ui::FileReadStep.toString());
    emit planFileRead(bandChosen);
    rememberPlanFile(path);
    m_unsaved.markSaved();
}

void PlanFiles::exportCsv()
{
    if (refusesWriting())
        return;
    const auto path = m_dialogs.askCsvSavePath(&m_window);
    if (!path)
        return;
    if (const UserMessage failure = files::writePlanCsv(*path, m_state.table()); !failure.isEmpty())
        m_feedback.show(failure, &m_window);
}

void PlanFiles::importCsvFile(const QString& path)
{
    files::CsvDecodeResult read = files::readPlanCsv(path);
    if (!read.table) {
        m_feedback.show(read.error, &m_window);
        return;
    }
    m_state.adoptTable(std::move(*read.table));
    m_history.recordPlanReplacement(texts::ui::CsvImportStep.toString());
    emit tableImported();
}

void PlanFiles::offerRecovery()
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
        const Answer answer = m_feedback.ask(question, false, &m_window);
        if (answer == Answer::Cancel) {
            m_stores.recovery.release(*copy);
            return;
        }
        if (answer == Answer::Yes) {
            m_state.adoptRecoveredPlan(UnsavedPlan::snapshotOf(copy->plan));
            m_history.recordPlanReplacement(texts::ui::RecoveryStep.toString());
            emit planRecovered();
            // This program's own copy is made before the one it came from goes.
            m_unsaved.keepNow();
        }
        m_stores.recovery.remove(*copy);
        if (answer == Answer::Yes)
            return;
    }
}

void PlanFiles::rememberPlanFile(const QString& path)
{
    m_state.notePlanFile(QFileInfo(path).absoluteFilePath());
    m_stores.recentPlans.remember(path);
    refreshRecentMenu();
}

void PlanFiles::refreshRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_stores.recentPlans.paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        // The number is the item's underlined letter; an '&' of the path is shown as it is.
        QAction* item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(path).replace(u'&', QStringLiteral("&&"))));
        item->setObjectName(QStringLiteral("RecentPlan%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path] { openFrom(path, Kind::Plan); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

} // namespace yalmera::ui
