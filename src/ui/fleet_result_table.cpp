#include "fleet_result_table.h"

#include "ui_texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <set>

namespace yalmera::ui {

namespace {

// How many stations ended so, after the summary's count of those that hold the plan.
QStringView endWords(FleetEnd end)
{
    switch (end) {
    case FleetEnd::Stopped:
        return texts::ui::FleetEndedStopped;
    case FleetEnd::LinkFailed:
        return texts::ui::FleetEndedLinkFailed;
    case FleetEnd::NotSaved:
        return texts::ui::FleetEndedNotSaved;
    case FleetEnd::Refused:
        return texts::ui::FleetEndedRefused;
    case FleetEnd::NotRecorded:
        return texts::ui::FleetEndedNotRecorded;
    case FleetEnd::Done:
        break;
    }
    return {};
}

} // namespace

FleetResultTable::FleetResultTable(QWidget* parent) : QTableWidget(0, 4, parent)
{
    setObjectName(QStringLiteral("ResultTable"));
    setHorizontalHeaderLabels({texts::ui::FleetPortColumn.toString(), texts::ui::FleetSerialColumn.toString(),
                               texts::ui::FleetOutcomeColumn.toString(),
                               texts::ui::FleetTimeColumn.toString()});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    verticalHeader()->hide();
}

void FleetResultTable::showResults(const QList<FleetStationResult>& results, const QStringList& outcomes)
{
    setRowCount(static_cast<int>(results.size()));
    // The window's words are Russian: so is the time's decimal comma.
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (int i = 0; i < results.size(); ++i) {
        const FleetStationResult& result = results[i];
        const QStringList fields{
            result.port, result.serialNumber, outcomes.value(i),
            secondsText(result.milliseconds, texts::ui::FleetSeconds.toString(), russian)};
        for (int column = 0; column < fields.size(); ++column)
            setItem(i, column, new QTableWidgetItem(fields[column]));
    }
}

QString FleetResultTable::text(bool selectedOnly) const
{
    std::set<int> rows;
    if (selectedOnly) {
        for (const QModelIndex& index : selectionModel()->selectedRows())
            rows.insert(index.row());
    }
    if (rows.empty()) {
        for (int row = 0; row < rowCount(); ++row)
            rows.insert(row);
    }
    QStringList lines;
    QStringList captions;
    for (int column = 0; column < columnCount(); ++column)
        captions.append(horizontalHeaderItem(column)->text());
    lines.append(captions.join(u'\t'));
    for (const int row : rows) {
        QStringList fields;
        for (int column = 0; column < columnCount(); ++column) {
            const QTableWidgetItem* cell = item(row, column);
            // A tab or a line break inside a field would split it.
            fields.append(cell ? cell->text().simplified() : QString());
        }
        lines.append(fields.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

void FleetResultTable::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy))
        QGuiApplication::clipboard()->setText(text(true));
    else
        QTableWidget::keyPressEvent(event);
}

QString fleetSummaryText(int holding, const QList<FleetEnd>& ends)
{
    QString text = texts::ui::FleetEnded.toString().arg(holding).arg(ends.size());
    for (int end = 0; end < static_cast<int>(FleetEnd::Done); ++end) {
        if (const qsizetype count = ends.count(static_cast<FleetEnd>(end)))
            text += endWords(static_cast<FleetEnd>(end)).toString().arg(count);
    }
    return text + u'.';
}

} // namespace yalmera::ui
