#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"
#include "model/user_message.h"

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
};

// Checks the settings and every channel row of a plan in order, for the band given, encoding each
// accepted value into the image; stops at the first violation. Reads the plan, never changes it.
PlanCheck checkPlan(const GeneralSettings& settings, const ChannelTable& table, const StationType& band);

} // namespace yalmera
