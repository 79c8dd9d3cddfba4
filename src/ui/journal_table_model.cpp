#include "journal_table_model.h"

#include "files/journal.h"

#include <QColor>
#include <QDir>
#include <QSet>

#include <algorithm>
#include <array>

namespace yalmera::ui {

namespace {

// A line that is no journal line stands out from the rows around it.
const QColor UnreadableBackground(255, 214, 214);

} // namespace

int JournalTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int JournalTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : files::JournalColumnCount;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const files::JournalRow& row = shownRow(index.row());
    if (role == Qt::BackgroundRole && row.unreadable)
        return UnreadableBackground;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    // Older journals recorded paths with '/' on Windows too.
    if (index.column() == static_cast<int>(files::JournalColumn::PlanFile))
        return QDir::toNativeSeparators(row.fields.at(index.column()));
    return row.fields.at(index.column());
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList captions = files::journalCaptions();
    return captions.value(section);
}

void JournalTableModel::replaceRows(QList<files::JournalRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_shown.clear();
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_filter.matches(m_rows[i]))
            m_shown.append(i);
    }
    endResetModel();
}

void JournalTableModel::appendRows(QList<files::JournalRow> rows)
{
    QList<int> shown;
    for (int i = 0; i < rows.size(); ++i) {
        if (m_filter.matches(rows[i]))
            shown.append(static_cast<int>(m_rows.size()) + i);
    }
    m_rows.append(std::move(rows));
    if (shown.isEmpty())
        return;
    const int first = static_cast<int>(m_shown.size());
    beginInsertRows({}, first, first + static_cast<int>(shown.size()) - 1);
    m_shown.append(shown);
    endInsertRows();
}

void JournalTableModel::setFilter(const files::JournalFilter& filter)
{
    m_filter = filter;
    replaceRows(std::move(m_rows));
}

QStringList JournalTableModel::distinctValues(files::JournalColumn column) const
{
    QSet<QString> values;
    // The reader gives equal texts of a column one shared copy, and a journal holds them in runs:
    // a text whose copy was just seen needs no hashing.
    std::array<const QChar*, 4> recent{};
    std::size_t next = 0;
    for (const files::JournalRow& row : m_rows) {
        const QString& value = row.field(column);
        if (std::find(recent.begin(), recent.end(), value.constData()) != recent.end())
            continue;
        values.insert(value);
        recent[next++ % recent.size()] = value.constData();
    }
    values.remove(QString());
    QStringList sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

} // namespace yalmera::ui
