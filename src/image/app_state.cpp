#include "app_state.h"

#include <algorithm>
#include <vector>

namespace yalmera {

bool AppState::selectBand(Band band)
{
    const StationType chosen = StationType::forBand(band);
    if (stationType == chosen)
        return false;
    stationType = chosen;
    table.removeFlags();
    dataChecked = false;
    return true;
}

void AppState::adoptPlan(GeneralSettings newSettings, ChannelTable newTable)
{
    settings = std::move(newSettings);
    table = std::move(newTable);
    tableCreated = true;
    repeaterSavedTexts.clear();
    ++planRevision;
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

bool AppState::adoptPlanFile(PlanFileContents contents)
{
    adoptPlan(std::move(contents.settings), std::move(contents.table));
    moduleType = contents.moduleType;
    return adoptTypeCode(contents.typeCode);
}

bool AppState::adoptTypeCode(quint8 typeCode)
{
    const std::optional<Band> band = bandOfTypeCode(typeCode);
    if (band)
        stationType = StationType::forBand(*band);
    stationType.typeCode = typeCode;
    return band.has_value();
}

UserMessage AppState::openRepeaterPanel() const
{
    if (!dataChecked)
        return UserMessage::notice(texts::model::RepeaterRefused.toString());
    return {};
}

RepeaterWriteResult AppState::writeRepeaterMark(const QString& channelNumberText, RepeaterMode mode)
{
    dataChecked = false;
    // The panel stays open across a new template or file; the old image's channel numbers would
    // then point at rows of another plan. An empty field is told first, as always.
    if (imagePlanRevision != planRevision && !channelNumberText.isEmpty())
        return {UserMessage::notice(texts::model::RepeaterRefused.toString()), 0};
    const auto count = std::min<std::size_t>(image.channelCount, image.records.size());
    std::vector<quint8> channelNumbers;
    channelNumbers.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        channelNumbers.push_back(image.records[i].channelNumber());
    return yalmera::writeRepeaterMark(table, repeaterSavedTexts, channelNumbers, channelNumberText, mode);
}

} // namespace yalmera
