#pragma once

#include "image/app_state.h"
#include "model/user_message.h"

namespace yalmera {

struct CheckResult
{
    bool passed = false;
    UserMessage message; // exactly one per run: the first violation, or "Все данные введены верно."
};

// Checks the settings and every channel row of the state's plan in order, encoding each accepted
// value into the state's image; sets the gate only when it reaches the end. Never changes the
// table or the settings text.
CheckResult runDataCheck(AppState& state);

} // namespace yalmera
