#include "app_state.h"

#include "model/model_texts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace yalmera {

bool AppState::isBandSelected(Band band) const
{
    return m_stationType == StationType::forBand(band);
}

bool AppState::selectBand(Band band)
{
    if (isBandSelected(band))
        return false;
    m_stationType = StationType::forBand(band);
    m_table.removeFlags();
    m_dataChecked = false;
    return true;
}

void AppState::adoptPlan(GeneralSettings newSettings, ChannelTable newTable)
{
    m_replacedPlan = snapshot();
    m_settings = std::move(newSettings);
    m_table = std::move(newTable);
    m_tableCreated = true;
    m_repeaterSavedTexts.clear();
    m_planFile.clear();
    newLayout();
    m_dataChecked = false;
}

void AppState::adoptRecoveredPlan(PlanSnapshot plan)
{
    PlanSnapshot replaced = snapshot();
    restore(std::move(plan));
    m_replacedPlan = std::move(replaced);
}

void AppState::adoptTable(ChannelTable newTable)
{
    GeneralSettings settings =
        m_tableCreated ? m_settings : GeneralSettings(GeneralSettings::templateLines());
    adoptPlan(std::move(settings), std::move(newTable));
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
    // The image now holds the station's records, which name the rows of no layout of ours.
    m_imagePlanRevision = 0;
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

UserMessage AppState::insertChannelAfter(int row)
{
    if (m_table.channelCount() >= MaxChannels)
        return UserMessage::notice(texts::model::TableFull.toString());
    const std::optional<RowMap> map = m_table.insertRowAfter(row);
    if (map)
        moveSavedTexts(*map);
    return {};
}

UserMessage AppState::removeChannels(int first, int last)
{
    if (first <= 1 && last >= m_table.channelCount())
        return UserMessage::notice(texts::model::LastChannelStays.toString());
    const std::optional<RowMap> map = m_table.removeRows(first, last);
    if (map)
        moveSavedTexts(*map);
    return {};
}

bool AppState::moveChannels(int first, int last, int step)
{
    const std::optional<RowMap> map = m_table.moveRows(first, last, step);
    if (map)
        moveSavedTexts(*map);
    return map.has_value();
}

void AppState::moveSavedTexts(const RowMap& map)
{
    RepeaterSavedTexts moved;
    for (auto saved = m_repeaterSavedTexts.cbegin(); saved != m_repeaterSavedTexts.cend(); ++saved) {
        if (saved.key() >= 0 && saved.key() < map.size() && map[saved.key()] > 0)
            moved.insert(map[saved.key()], saved.value());
    }
    m_repeaterSavedTexts = std::move(moved);
    newLayout();
}

TableSnapshot AppState::tableSnapshot() const
{
    return {m_table, m_repeaterSavedTexts, m_planRevision};
}

void AppState::restoreTable(TableSnapshot snapshot)
{
    m_table = std::move(snapshot.table);
    m_repeaterSavedTexts = std::move(snapshot.repeaterSavedTexts);
    m_planRevision = snapshot.layout;
}

void AppState::restoreMarkedTable(TableSnapshot snapshot)
{
    restoreTable(std::move(snapshot));
    m_dataChecked = false;
}

PlanSnapshot AppState::snapshot() const
{
    return {m_settings,   m_table,   m_repeaterSavedTexts, m_tableCreated, m_stationType,
            m_moduleType, m_planFile};
}

void AppState::restore(PlanSnapshot snapshot)
{
    m_settings = std::move(snapshot.settings);
    m_table = std::move(snapshot.table);
    m_repeaterSavedTexts = std::move(snapshot.repeaterSavedTexts);
    m_tableCreated = snapshot.tableCreated;
    m_stationType = snapshot.stationType;
    m_moduleType = snapshot.moduleType;
    m_planFile = std::move(snapshot.planFile);
    newLayout();
    m_dataChecked = false;
}

std::optional<PlanSnapshot> AppState::takeReplacedPlan()
{
    return std::exchange(m_replacedPlan, std::nullopt);
}

CheckResult runDataCheck(AppState& state)
{
    const PlanCheck check = checkPlan(state.settings(), state.table(), state.stationType());
    // A stopped check leaves its partial count, which nobody reads without the gate.
    if (check.result.passed)
        state.acceptCheck(check.image, check.settingsDigitCount);
    else
        state.refuseCheck(check.settingsDigitCount);
    return check.result;
}

bool applyReadBack(AppState& state, const ReadBack& readBack)
{
    return state.adoptStationPlan(readBack.settings, readBack.table, readBack.image,
                                  moduleTypeOfCode(readBack.moduleType), readBack.typeCode);
}

} // namespace yalmera
