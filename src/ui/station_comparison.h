#pragma once

#include "image/plan_comparison.h"
#include "model/general_settings.h"
#include "model/plan_mark.h"
#include "model/user_message.h"

#include <QStringList>

namespace yalmera::ui {

// What the station holds against the program's plan, placed on the plan as the main window
// shows it: a differing cell at its cell, a differing setting at its line, a channel the station
// lacks at its number, each mark saying both values. What has no place in the plan (channels only
// the station has, the band and module codes the settings text does not hold) stays in words.
struct ComparisonMarks
{
    PlanMarks marks;
    QStringList unmarked;
};
ComparisonMarks comparisonMarks(const PlanComparison& comparison, const GeneralSettings& settings);

// What the station-link window says when a comparison ends: the station holds the plan, or how
// many places differ, with what could not be marked and what was not compared.
UserMessage comparisonMessage(const PlanComparison& comparison, const GeneralSettings& settings);

} // namespace yalmera::ui
