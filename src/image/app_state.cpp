#include "app_state.h"

#include "model/model_texts.h"

#include <algorithm>
#include <vector>

namespace yalmera {

bool AppState::selectBand(Band band)
{
    const StationType chosen = StationType::forBand(band);
    if (m_stationType == chosen)
        return false;
    m_stationType = chosen;
    m_table.removeFlags();
    m_dataChecked = false;
    return true;
}

void AppState::adoptPlan(GeneralSettings newSettings, ChannelTable newTable)
{
    m_settings = std::move(newSettings);
    m_table = std::move(newTable);
    m_tableCreated = true;
    m_repeaterSavedTexts.clear();
    ++m_planRevision;
    m_dataChecked = false;
}

UserMessage AppState::createTemplate(const TemplateFields& fields)
{
    m_dataChecked = false;
    TemplateResult result = makeChannelTemplate(fields, m_stationType);
    if (result.ok())
        adoptPlan(std::move(result.settings), std::move(result.table));
    return result.message;
}

bool AppState::adoptPlanFile(PlanFileContents contents)
{
    adoptPlan(std::move(contents.settings), std::move(contents.table));
    m_moduleType = moduleTypeOfCode(contents.moduleType);
    return adoptTypeCode(contents.typeCode);
}

bool AppState::adoptStationPlan(GeneralSettings newSettings, ChannelTable newTable,
                                const DeviceImage& station, ModuleType module, quint8 typeCode)
{
    adoptPlan(std::move(newSettings), std::move(newTable));
    takeReadBack(station, m_image);
    m_moduleType = module;
    return adoptTypeCode(typeCode);
}

bool AppState::adoptTypeCode(quint8 typeCode)
{
    const std::optional<Band> band = bandOfTypeCode(typeCode);
    if (band)
        m_stationType = StationType::forBand(*band);
    m_stationType.typeCode = typeCode;
    return band.has_value();
}

void AppState::acceptCheck(const DeviceImage& image, quint8 settingsDigitCount)
{
    m_image = image;
    m_settingsDigitCount = settingsDigitCount;
    m_imagePlanRevision = m_planRevision;
    m_dataChecked = true;
}

void AppState::refuseCheck(quint8 settingsDigitCount)
{
    m_settingsDigitCount = settingsDigitCount;
    m_dataChecked = false;
}

UserMessage AppState::openRepeaterPanel() const
{
    if (!m_dataChecked)
        return UserMessage::notice(texts::model::RepeaterRefused.toString());
    return {};
}

RepeaterWriteResult AppState::writeRepeaterMark(const QString& channelNumberText, RepeaterMode mode)
{
    m_dataChecked = false;
    // The panel stays open across a new template or file; the old image's channel numbers would
    // then point at rows of another plan. An empty field is told first, as always.
    if (m_imagePlanRevision != m_planRevision && !channelNumberText.isEmpty())
        return {UserMessage::notice(texts::model::RepeaterRefused.toString()), 0};
    const auto count = std::min<std::size_t>(m_image.channelCount, m_image.records.size());
    std::vector<quint8> channelNumbers;
    channelNumbers.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        channelNumbers.push_back(m_image.records[i].channelNumber());
    return yalmera::writeRepeaterMark(m_table, m_repeaterSavedTexts, channelNumbers, channelNumberText, mode);
}

} // namespace yalmera
