#include "journal_window.h"

#include "journal_table_model.h"
#include "plan_file_dialogs.h"
#include "ui_texts.h"
#include "user_feedback.h"

#include "files/delimited_text.h"
#include "files/whole_file.h"
#include "model/user_message.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace yalmera::ui {

namespace {

using files::JournalColumn;

constexpr QSize WindowSize{1000, 560}; // px
// The first day a date field offers; shown as "—", it stands for no limit.
const QDate NoLimit(2000, 1, 1);

// A date field without a limit opens its calendar at the current month, not at NoLimit's.
class CalendarAtToday : public QObject
{
public:
    CalendarAtToday(QDateEdit* field) : QObject(field), m_field(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && m_field->date() == NoLimit) {
            const QDate today = QDate::currentDate();
            static_cast<QCalendarWidget*>(watched)->setCurrentPage(today.year(), today.month());
        }
        return false;
    }

private:
    QDateEdit* m_field;
};

QDateEdit* dateField(const QString& name, QWidget* parent)
{
    auto* field = new QDateEdit(parent);
    field->setObjectName(name);
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    field->setCalendarPopup(true);
    field->setMinimumDate(NoLimit);
    field->setSpecialValueText(texts::ui::JournalAnyDate.toString());
    field->setDate(NoLimit);
    field->calendarWidget()->installEventFilter(new CalendarAtToday(field));
    return field;
}

QComboBox* choiceField(const QString& name, QWidget* parent)
{
    auto* field = new QComboBox(parent);
    field->setObjectName(name);
    field->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    field->addItem(texts::ui::JournalEveryValue.toString(), QString());
    return field;
}

QPushButton* button(const QString& name, QStringView text, QWidget* parent)
{
    auto* made = new QPushButton(text.toString(), parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

QDate limit(const QDateEdit* field)
{
    return field->date() == NoLimit ? QDate() : field->date();
}

} // namespace

JournalWindow::JournalWindow(const QString& journalPath, UserInterfaceFeedback& feedback,
                             PlanFileDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_feedback(feedback), m_dialogs(dialogs), m_follower(journalPath),
      m_model(new JournalTableModel(this)), m_watcher(new QFileSystemWatcher(this)), m_poll(new QTimer(this)),
      m_serial(new QLineEdit(this)), m_from(dateField(QStringLiteral("FromDate"), this)),
      m_to(dateField(QStringLiteral("ToDate"), this)),
      m_operation(choiceField(QStringLiteral("OperationFilter"), this)),
      m_outcome(choiceField(QStringLiteral("OutcomeFilter"), this)), m_table(new QTableView(this)),
      m_openPlan(button(QStringLiteral("OpenPlanButton"), texts::ui::JournalOpenPlan, this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(texts::ui::JournalCaption.toString() + QStringLiteral(" — ") +
                   QDir::toNativeSeparators(journalPath));
    m_serial->setObjectName(QStringLiteral("SerialFilter"));
    m_serial->setClearButtonEnabled(true);
    m_status->setObjectName(QStringLiteral("JournalStatus"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFilterRow());
    setUpTable();
    layout->addWidget(m_table, 1);
    layout->addLayout(buildButtonRow());
    resize(WindowSize);

    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &JournalWindow::refresh);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &JournalWindow::refresh);
    m_poll->setInterval(PollInterval);
    connect(m_poll, &QTimer::timeout, this, &JournalWindow::refresh);

    refresh();
    m_table->resizeColumnsToContents();
    m_table->scrollToBottom();
    updateOpenPlan();
}

QHBoxLayout* JournalWindow::buildFilterRow()
{
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(texts::ui::JournalSerialLabel.toString(), this));
    filters->addWidget(m_serial, 1);
    filters->addWidget(new QLabel(texts::ui::JournalFromLabel.toString(), this));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(texts::ui::JournalToLabel.toString(), this));
    filters->addWidget(m_to);
    filters->addWidget(new QLabel(texts::ui::JournalOperationLabel.toString(), this));
    filters->addWidget(m_operation);
    filters->addWidget(new QLabel(texts::ui::JournalOutcomeLabel.toString(), this));
    filters->addWidget(m_outcome);
    auto* everyRow = button(QStringLiteral("ResetFilterButton"), texts::ui::JournalResetFilter, this);
    filters->addWidget(everyRow);

    connect(m_serial, &QLineEdit::textChanged, this, &JournalWindow::applyFilter);
    connect(m_from, &QDateEdit::dateChanged, this, &JournalWindow::applyFilter);
    connect(m_to, &QDateEdit::dateChanged, this, &JournalWindow::applyFilter);
    connect(m_operation, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilter);
    connect(m_outcome, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilter);
    connect(everyRow, &QPushButton::clicked, this, &JournalWindow::resetFilter);
    return filters;
}

void JournalWindow::setUpTable()
{
    m_table->setObjectName(QStringLiteral("JournalTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    // Rows of one height: a view of 100 000 rows then never measures them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->installEventFilter(this);
    connect(m_table, &QAbstractItemView::doubleClicked, this, &JournalWindow::openCurrentPlan);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &JournalWindow::updateOpenPlan);
    connect(m_model, &QAbstractItemModel::modelReset, this, &JournalWindow::updateOpenPlan);
}

QHBoxLayout* JournalWindow::buildButtonRow()
{
    auto* copy = button(QStringLiteral("CopyButton"), texts::ui::JournalCopy, this);
    auto* exportButton = button(QStringLiteral("ExportButton"), texts::ui::JournalExport, this);
    auto* folder = button(QStringLiteral("OpenFolderButton"), texts::ui::JournalOpenFolder, this);
    m_openPlan->setToolTip(texts::ui::JournalOpenPlanHint.toString());
    exportButton->setToolTip(texts::ui::JournalExportHint.toString());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_openPlan);
    buttons->addWidget(copy);
    buttons->addWidget(exportButton);
    buttons->addWidget(folder);
    connect(m_openPlan, &QPushButton::clicked, this, &JournalWindow::openCurrentPlan);
    connect(copy, &QPushButton::clicked, this, &JournalWindow::copySelection);
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::exportSelection);
    connect(folder, &QPushButton::clicked, this, &JournalWindow::openFolder);
    return buttons;
}

void JournalWindow::refresh()
{
    files::JournalRead read = m_follower.read();
    const QScrollBar* scroll = m_table->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    const bool changed = read.restarted || !read.rows.isEmpty();
    if (read.restarted) {
        m_foreignLines = 0;
        m_model->replaceRows(std::move(read.rows));
    } else if (!read.rows.isEmpty()) {
        m_model->appendRows(std::move(read.rows));
    }
    m_foreignLines += read.foreignLines;
    m_readError = read.error;
    if (changed)
        refillChoices();
    watchFile();
    showCounts();
    if (atEnd)
        m_table->scrollToBottom();
}

void JournalWindow::applyFilter()
{
    files::JournalFilter filter;
    filter.serial = m_serial->text().trimmed();
    filter.from = limit(m_from);
    filter.to = limit(m_to);
    filter.operation = m_operation->currentData().toString();
    filter.outcome = m_outcome->currentData().toString();
    m_model->setFilter(filter);
    showCounts();
}

void JournalWindow::resetFilter()
{
    {
        // One filter for all of them, at the end.
        std::vector<QSignalBlocker> quiet;
        for (QObject* field : std::initializer_list<QObject*>{m_serial, m_from, m_to, m_operation, m_outcome})
            quiet.emplace_back(field);
        m_serial->clear();
        m_from->setDate(NoLimit);
        m_to->setDate(NoLimit);
        m_operation->setCurrentIndex(0);
        m_outcome->setCurrentIndex(0);
    }
    applyFilter();
}

void JournalWindow::refillChoices()
{
    for (const auto& [field, column] :
         {std::pair{m_operation, JournalColumn::Operation}, std::pair{m_outcome, JournalColumn::Outcome}}) {
        const QStringList values = m_model->distinctValues(column);
        QStringList offered;
        for (int item = 1; item < field->count(); ++item)
            offered.append(field->itemData(item).toString());
        if (values == offered)
            continue;
        const QString chosen = field->currentData().toString();
        {
            const QSignalBlocker quiet(field);
            while (field->count() > 1)
                field->removeItem(1);
            for (const QString& value : values)
                field->addItem(value, value);
            field->setCurrentIndex(std::max(0, field->findData(chosen)));
        }
        // A chosen word no longer in the journal (read afresh) lets every row pass again.
        if (field->currentData().toString() != chosen)
            applyFilter();
    }
}

void JournalWindow::watchFile()
{
    // The file's watch ends when the file is replaced; the folder's notices a journal made anew.
    const QString path = m_follower.path();
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
}

void JournalWindow::showCounts()
{
    QString counts = texts::ui::JournalCounts.toString().arg(m_model->rowCount()).arg(m_model->totalRows());
    if (m_foreignLines > 0)
        counts += texts::ui::JournalForeignLines.toString().arg(m_foreignLines);
    if (!m_readError.isEmpty())
        counts += u'\n' + m_readError;
    m_status->setText(counts);
}

void JournalWindow::updateOpenPlan()
{
    const QModelIndex current = m_table->currentIndex();
    m_openPlan->setEnabled(current.isValid() &&
                           !m_model->shownRow(current.row()).field(JournalColumn::PlanFile).isEmpty());
}

void JournalWindow::openCurrentPlan()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return;
    const QString path = m_model->shownRow(current.row()).field(JournalColumn::PlanFile);
    if (!path.isEmpty())
        emit planOpenRequested(path);
}

QList<QStringList> JournalWindow::selectedFields() const
{
    QModelIndexList rows = m_table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QList<QStringList> fields;
    fields.reserve(rows.size());
    for (const QModelIndex& row : rows)
        fields.append(m_model->shownRow(row.row()).fields);
    return fields;
}

void JournalWindow::copySelection()
{
    const QList<QStringList> rows = selectedFields();
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setText(formatDelimited(rows, u'\t', u"\n"));
}

void JournalWindow::exportSelection()
{
    QList<QStringList> rows = selectedFields();
    if (rows.isEmpty()) {
        for (int row = 0; row < m_model->rowCount(); ++row)
            rows.append(m_model->shownRow(row).fields);
    }
    const auto path = m_dialogs.askCsvSavePath(this);
    if (!path)
        return;
    if (const QString error = saveWholeFile(*path, files::journalCsv(rows)); !error.isEmpty())
        m_feedback.show(UserMessage::failure(error), this);
}

void JournalWindow::openFolder()
{
    // The folder is made when no exchange has written to it yet, so that it can be shown.
    const QString folder = QFileInfo(m_follower.path()).absolutePath();
    QDir().mkpath(folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        m_feedback.show(UserMessage::failure(texts::ui::JournalFolderUnopened.toString().arg(
                            QDir::toNativeSeparators(folder))),
                        this);
}

void JournalWindow::showEvent(QShowEvent* event)
{
    refresh();
    m_poll->start();
    QWidget::showEvent(event);
}

void JournalWindow::hideEvent(QHideEvent* event)
{
    m_poll->stop();
    QWidget::hideEvent(event);
}

bool JournalWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Before the view's own Ctrl+C, which copies the current cell only.
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace yalmera::ui
