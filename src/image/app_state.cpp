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

UserMessage AppState::createTemplate(const TemplateFields& fields)
{
    dataChecked = false;
    TemplateResult result = makeChannelTemplate(fields, stationType);
    if (result.ok())
        adoptPlan(std::move(result.settings), std::move(result.table));
    return result.message;
}

void AppState::adoptPlanFile(PlanFileContents contents)
{
    adoptPlan(std::move(contents.settings), std::move(contents.table));
    if (contents.typeCode == 0)
        stationType = StationType::forBand(Band::Mhz144to174);
    else if (contents.typeCode == 1 || contents.typeCode == 2)
        stationType = StationType::forBand(Band::Mhz30to60);
    stationType.typeCode = contents.typeCode;
    moduleType = contents.moduleType;
}

} // namespace yalmera
