#pragma once

#include "files/journal_reader.h"

#include <QAbstractTableModel>

namespace yalmera::ui {

// The journal's rows for a table view: every row read, of which those the filter passes are
// shown, in the journal's order; a line that is no journal line on a red ground.
class JournalTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The rows of a journal read afresh, or the rows appended since.
    void replaceRows(QList<files::JournalRow> rows);
    void appendRows(QList<files::JournalRow> rows);
    void setFilter(const files::JournalFilter& filter);

    // A shown row, by its place in the view.
    const files::JournalRow& shownRow(int row) const { return m_rows.at(m_shown.at(row)); }
    int totalRows() const { return static_cast<int>(m_rows.size()); }
    // The different texts of a column over every row read, sorted: what a filter can choose.
    QStringList distinctValues(files::JournalColumn column) const;

private:
    QList<files::JournalRow> m_rows;
    QList<int> m_shown; // places in m_rows
    files::JournalFilter m_filter;
};

} // namespace yalmera::ui
