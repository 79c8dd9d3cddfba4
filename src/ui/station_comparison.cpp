#include "station_comparison.h"

#include "ui_texts.h"

namespace yalmera::ui {

ComparisonMarks comparisonMarks(const PlanComparison& comparison, const GeneralSettings& settings)
{
    ComparisonMarks placed;
    for (const PlanDifference& difference : comparison.differences) {
        const QString values = texts::ui::DifferenceMark.toString().arg(difference.second, difference.first);
        switch (difference.kind) {
        case DifferenceKind::Setting:
            // "Тип" and "ТипВУ" come from the menus unless the text holds them.
            if (settings.lookup(difference.key))
                placed.marks.append(PlanMark::line(settings.lineOf(difference.key), values));
            else
                placed.unmarked.append(difference.key + QStringLiteral(": ") + values);
            break;
        case DifferenceKind::Cell:
            placed.marks.append(PlanMark::cell(difference.row, difference.column, values));
            break;
        case DifferenceKind::RemovedChannel:
            placed.marks.append(PlanMark::cell(difference.row, Column::ChannelNumber,
                                               texts::ui::ChannelNotInStation.toString()));
            break;
        case DifferenceKind::AddedChannel:
            placed.unmarked.append(texts::ui::ChannelOnlyInStation.toString().arg(difference.channel));
            break;
        }
    }
    return placed;
}

UserMessage comparisonMessage(const PlanComparison& comparison, const GeneralSettings& settings)
{
    QStringList lines;
    if (comparison.same()) {
        lines.append(texts::ui::StationHoldsPlan.toString());
    } else {
        const ComparisonMarks placed = comparisonMarks(comparison, settings);
        lines.append(texts::ui::StationHoldsOtherPlan.toString().arg(comparison.differences.size()));
        if (!placed.marks.isEmpty())
            lines.append(texts::ui::DifferencesMarked.toString().arg(placed.marks.size()));
        lines.append(placed.unmarked);
    }
    if (!comparison.notCompared.isEmpty())
        lines.append(
            texts::ui::NotCompared.toString().arg(comparison.notCompared.join(QStringLiteral("; "))));
    return UserMessage::notice(lines.join(u'\n'));
}

} // namespace yalmera::ui
