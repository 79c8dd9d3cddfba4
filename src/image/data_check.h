#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/plan_mark.h"
#include "model/station_type.h"
#include "model/user_message.h"

#include <optional>

namespace yalmera {

struct CheckResult
{
    bool passed = false;
    UserMessage message; // exactly one per run: the first violation, or "Все данные введены верно."
};

// What one run of the check leaves: its result, the image it built (every accepted value encoded;
// complete only when the check passed) and the digit count of the accepted settings values.
struct PlanCheck
{
    CheckResult result;
    DeviceImage image;
    quint8 settingsDigitCount = 0;
    // Where a stopped check stopped, with its message; nothing when it passed.
    std::optional<PlanMark> refusal;
};

// Checks the settings and every channel row of a plan in order, for the band given, encoding each
// accepted value into the image; stops at the first violation. Reads the plan, never changes it.
PlanCheck checkPlan(const GeneralSettings& settings, const ChannelTable& table, const StationType& band);

// The same rules run to the end: every refusal, each at its place (the value's settings line or
// cell) with the message the check gives for it, in the order the check meets them. Empty
// exactly when checkPlan() passes; checkPlan()'s refusal is always among them. Builds no image.
// A rule that builds on values refused elsewhere ("МинГромкость" against a refused "Громкость")
// is not judged; a settings key that is missing is shown at the section line.
PlanMarks markRefusals(const GeneralSettings& settings, const ChannelTable& table, const StationType& band);

} // namespace yalmera
