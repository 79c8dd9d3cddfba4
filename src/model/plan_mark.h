#pragma once

#include "model/channel_table.h"

#include <QList>
#include <QString>

#include <optional>

namespace yalmera {

// A place of a plan the windows point at, with what is said about it: a cell of the channel table
// (row 1..N, a column) or a line of the settings block (0-based, as the editor counts them). The
// data check's refusals are such marks; so may be other findings about a plan.
struct PlanMark
{
    int row = 0; // table row; 0 for a settings line
    Column column = Column::ChannelNumber;
    int settingsLine = -1; // -1 for a cell
    QString message;

    static PlanMark cell(int row, Column column, QString message = {})
    {
        return {row, column, -1, std::move(message)};
    }
    static PlanMark line(int settingsLine, QString message = {})
    {
        return {0, Column::ChannelNumber, settingsLine, std::move(message)};
    }
    bool isCell() const { return settingsLine < 0; }

    friend bool operator==(const PlanMark&, const PlanMark&) = default;
};

using PlanMarks = QList<PlanMark>;

// The order in which the marks are visited: the settings lines from the top, then the cells row
// by row, each row from its left.
bool visitedBefore(const PlanMark& a, const PlanMark& b);

// The mark after (or before) a place, in the visiting order, round from the end to the start;
// from no place the first (or last) one; nothing when there are no marks. A place that is itself
// marked moves on to the next one.
std::optional<PlanMark> nextMark(const PlanMarks& marks, const std::optional<PlanMark>& from,
                                 bool backwards = false);

} // namespace yalmera
