#include "plan_mark.h"

#include <tuple>

namespace yalmera {

namespace {

// Settings lines come before every cell.
auto visitingKey(const PlanMark& mark)
{
    return mark.isCell() ? std::tuple(1, mark.row, columnIndex(mark.column))
                         : std::tuple(0, mark.settingsLine, 0);
}

} // namespace

bool visitedBefore(const PlanMark& a, const PlanMark& b)
{
    return visitingKey(a) < visitingKey(b);
}

std::optional<PlanMark> nextMark(const PlanMarks& marks, const std::optional<PlanMark>& from, bool backwards)
{
    if (marks.isEmpty())
        return std::nullopt;
    std::optional<PlanMark> found;
    std::optional<PlanMark> round; // the first (or last) of all, when nothing lies beyond `from`
    for (const PlanMark& mark : marks) {
        const bool beyond = from && (backwards ? visitedBefore(mark, *from) : visitedBefore(*from, mark));
        const auto better = [&](const std::optional<PlanMark>& best) {
            return !best || (backwards ? visitedBefore(*best, mark) : visitedBefore(mark, *best));
        };
        if (beyond && better(found))
            found = mark;
        if (better(round))
            round = mark;
    }
    return found ? found : round;
}

} // namespace yalmera
