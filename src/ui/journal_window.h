#pragma once

#include "files/journal_reader.h"

#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QDateEdit;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace yalmera::ui {

class JournalTableModel;
class PlanFileDialogs;
class UserInterfaceFeedback;

// "Журнал обмена": the exchange journal as a table, with filters by serial number, days,
// operation and outcome. It follows the file while it is shown, so lines that other programs
// (yalmera-cli, another window) append appear as they are completed; a journal that got shorter
// or was replaced is read again from its start.
//
// Component names (objectName): SerialFilter, FromDate, ToDate, OperationFilter, OutcomeFilter,
// ResetFilterButton, JournalTable, OpenPlanButton, CopyButton, ExportButton, OpenFolderButton, JournalStatus.
class JournalWindow : public QWidget
{
    Q_OBJECT

public:
    // How often the file is looked at besides the file system's notices, which network drives
    // and some systems do not give (ms).
    static constexpr int PollInterval = 1000;

    JournalWindow(const QString& journalPath, UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs,
                  QWidget* parent = nullptr);

    const QString& journalPath() const { return m_follower.path(); }
    JournalTableModel* model() const { return m_model; }

public slots:
    // Takes the lines completed since the last look.
    void refresh();
    // "Открыть план": the plan file named by the current row.
    void openCurrentPlan();
    // Ctrl+C: the selected rows, tab-separated, one a line.
    void copySelection();
    // "Экспорт CSV": the selected rows, or every shown row when none is selected.
    void exportSelection();
    void openFolder();
    // "Все строки": every filter back to letting every row pass.
    void resetFilter();

signals:
    void planOpenRequested(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The filters and "Все строки" above the table.
    QHBoxLayout* buildFilterRow();
    void setUpTable();
    // The counts and the buttons below the table.
    QHBoxLayout* buildButtonRow();
    void applyFilter();
    // The choices of the operation and outcome lists after new rows, the current one kept.
    void refillChoices();
    void watchFile();
    void showCounts();
    void updateOpenPlan();
    QList<QStringList> selectedFields() const;

    UserInterfaceFeedback& m_feedback;
    PlanFileDialogs& m_dialogs;
    files::JournalFollower m_follower;
    JournalTableModel* m_model;
    QFileSystemWatcher* m_watcher;
    QTimer* m_poll;
    QLineEdit* m_serial;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QComboBox* m_operation;
    QComboBox* m_outcome;
    QTableView* m_table;
    QPushButton* m_openPlan;
    QLabel* m_status;
    int m_foreignLines = 0;
    QString m_readError;
};

} // namespace yalmera::ui
