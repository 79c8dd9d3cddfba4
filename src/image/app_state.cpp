#include "app_state.h"

namespace yalmera {

void AppState::selectBand(Band band)
{
    stationType = StationType::forBand(band);
    table.removeFlags();
}

void AppState::adoptPlan(GeneralSettings newSettings, ChannelTable newTable)
{
    settings = std::move(newSettings);
    table = std::move(newTable);
    tableCreated = true;
    repeaterSavedTexts.clear();
    dataChecked = false;
}

} // namespace yalmera
