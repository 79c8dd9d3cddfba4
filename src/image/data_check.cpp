#include "data_check.h"

namespace yalmera {

CheckResult runDataCheck(AppState& state)
{
    state.dataChecked = false;
    return {false, UserMessage::failure(QStringLiteral("the data check is not built yet"))};
}

} // namespace yalmera
