#pragma once

#include "session/fleet_exchange.h"

#include <QTableWidget>

namespace yalmera::ui {

// The result table of "Запись в несколько станций": one row per station (port, serial number,
// outcome, time) and the run's one-line summary. Ctrl+C copies whole rows, as text() gives them
// (a plain table copies only its current cell).
class FleetResultTable final : public QTableWidget
{
public:
    explicit FleetResultTable(QWidget* parent);

    // The stations of a run that ended, each with its outcome in words.
    void showResults(const QList<FleetStationResult>& results, const QStringList& outcomes);
    // A caption line, then one line per station (only the selected ones when selectedOnly and any
    // are selected), fields separated by tabs.
    QString text(bool selectedOnly = false) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The end of a run in one line: the stations that hold the plan, then those that ended otherwise
// than cleanly, by how they ended, in FleetEnd's order (the worst first).
QString fleetSummaryText(int holding, const QList<FleetEnd>& ends);

} // namespace yalmera::ui
