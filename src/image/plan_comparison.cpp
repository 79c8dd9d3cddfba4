#include "plan_comparison.h"

#include "image/stream_layout.h"
#include "model/ini_syntax.h"
#include "model/settings_keys.h"

#include <QHash>

#include <algorithm>

namespace yalmera {

namespace {

// The keys of the settings' key lines, in order, each once (letter case aside).
QStringList settingKeys(const GeneralSettings& settings)
{
    QStringList keys;
    for (const QString& line : settings.lines()) {
        const auto kv = ini::keyLine(line);
        if (kv && std::none_of(keys.cbegin(), keys.cend(),
                               [&](const QString& key) { return ini::sameName(key, kv->key); }))
            keys.append(kv->key);
    }
    return keys;
}

void compareCode(QList<PlanDifference>& into, QStringView key, std::optional<quint8> first,
                 std::optional<quint8> second)
{
    if (first && second && *first != *second)
        into.append({DifferenceKind::Setting,
                     key.toString(),
                     0,
                     0,
                     Column::ChannelNumber,
                     {},
                     QString::number(*first),
                     QString::number(*second)});
}

// The rows of two tables paired by channel number: the n-th row of a number in one with the n-th
// of the same number in the other. first[r] is the row of the second table paired with row r of
// the first (0: none); second likewise.
struct RowPairs
{
    QList<int> first;
    QList<int> second;
};

RowPairs pairRows(const ChannelTable& a, const ChannelTable& b)
{
    RowPairs pairs{QList<int>(a.rowCount(), 0), QList<int>(b.rowCount(), 0)};
    QHash<QString, QList<int>> rowsOfNumber;
    for (int row = b.rowCount() - 1; row >= 1; --row)
        rowsOfNumber[b.cell(Column::ChannelNumber, row).trimmed()].append(row);
    for (int row = 1; row < a.rowCount(); ++row) {
        QList<int>& rows = rowsOfNumber[a.cell(Column::ChannelNumber, row).trimmed()];
        if (rows.isEmpty())
            continue;
        pairs.first[row] = rows.takeLast();
        pairs.second[pairs.first[row]] = row;
    }
    return pairs;
}

// The channels of two tables: cells where both have a channel, the others as added or removed.
// shownFirst and shownSecond give each side's text of a cell (a plan's own, when a or b is its
// normalised form); their rows are those of a and b.
void compareTables(QList<PlanDifference>& into, const ChannelTable& a, const ChannelTable& b,
                   const ChannelTable& shownFirst, const ChannelTable& shownSecond)
{
    const RowPairs pairs = pairRows(a, b);
    for (int row = 1; row < a.rowCount(); ++row) {
        const int other = pairs.first[row];
        if (other == 0) {
            into.append({DifferenceKind::RemovedChannel,
                         {},
                         row,
                         0,
                         Column::ChannelNumber,
                         shownFirst.cell(Column::ChannelNumber, row),
                         {},
                         {}});
            continue;
        }
        for (int c = 0; c < ColumnCount; ++c) {
            const Column column = columnAt(c);
            if (comparedCellText(a, column, row) != comparedCellText(b, column, other))
                into.append({DifferenceKind::Cell,
                             {},
                             row,
                             other,
                             column,
                             shownFirst.cell(Column::ChannelNumber, row),
                             comparedCellText(shownFirst, column, row),
                             comparedCellText(shownSecond, column, other)});
        }
    }
    for (int row = 1; row < b.rowCount(); ++row) {
        if (pairs.second[row] == 0)
            into.append({DifferenceKind::AddedChannel,
                         {},
                         0,
                         row,
                         Column::ChannelNumber,
                         shownSecond.cell(Column::ChannelNumber, row),
                         {},
                         {}});
    }
}

// Whether the write stream carries a byte for the settings key.
bool stationKeepsKey(QStringView key)
{
    return std::any_of(HeaderFields.cbegin(), HeaderFields.cend(), [key](const HeaderFieldLayout& row) {
        return !row.key.isEmpty() && row.writeOffset >= 0 && ini::sameName(row.key, key);
    });
}

// The lines of the settings a station keeps no byte for, as written.
QStringList unkeptLines(const GeneralSettings& settings)
{
    QStringList lines;
    for (const QString& line : settings.lines()) {
        if (line.trimmed().isEmpty() || ini::sectionName(line))
            continue;
        const auto kv = ini::keyLine(line);
        if (!kv || !stationKeepsKey(kv->key))
            lines.append(line);
    }
    return lines;
}

// One side as a station holding it gives it back: the values decoded from its image, and the
// texts a difference shows (a plan's own, or the station's, which are the values themselves).
struct HeldSide
{
    const PlanTexts& held;
    const GeneralSettings& shownSettings;
    const ChannelTable& shownTable;
    std::optional<quint8> typeCode;
    std::optional<quint8> moduleType;
};

// Every byte the two sides' stations would hold, field by field.
PlanComparison compareHeld(const HeldSide& first, const HeldSide& second)
{
    PlanComparison comparison;
    for (const HeaderFieldLayout& row : HeaderFields) {
        if (row.key.isEmpty() || row.writeOffset < 0)
            continue;
        if (first.held.settings.textValue(row.key, {}) != second.held.settings.textValue(row.key, {}))
            comparison.differences.append({DifferenceKind::Setting,
                                           row.key.toString(),
                                           0,
                                           0,
                                           Column::ChannelNumber,
                                           {},
                                           first.shownSettings.textValue(row.key, {}),
                                           second.shownSettings.textValue(row.key, {})});
    }
    compareCode(comparison.differences, keys::TypeCode, first.typeCode, second.typeCode);
    compareCode(comparison.differences, keys::ModuleType, first.moduleType, second.moduleType);
    compareTables(comparison.differences, first.held.table, second.held.table, first.shownTable,
                  second.shownTable);
    return comparison;
}

// A checked plan as a station holding its image gives it back.
std::optional<PlanTexts> heldPlan(const ComparedPlan& plan, const DeviceImage& checkedImage,
                                  const StationType& band)
{
    return planFromImage(
               {checkedImage, plan.moduleType.value_or(0), plan.typeCode.value_or(band.typeCode), 0}, band)
        .plan;
}

} // namespace

QString differenceText(const PlanDifference& difference, const QString& firstName, const QString& secondName,
                       const DifferenceWords& words)
{
    const auto quoted = [](const QString& text) { return u'"' + text + u'"'; };
    switch (difference.kind) {
    case DifferenceKind::Setting:
        return words.setting.arg(quoted(difference.key), firstName, quoted(difference.first), secondName,
                                 quoted(difference.second));
    case DifferenceKind::Cell:
        return words.cell.arg(difference.channel, quoted(columnCaption(difference.column).trimmed()),
                              firstName, quoted(difference.first), secondName, quoted(difference.second));
    case DifferenceKind::RemovedChannel:
        return words.onlyIn.arg(difference.channel, firstName);
    case DifferenceKind::AddedChannel:
        return words.onlyIn.arg(difference.channel, secondName);
    }
    return {};
}

QStringList journalDifferenceTexts(const PlanComparison& comparison)
{
    QStringList lines;
    for (const PlanDifference& difference : comparison.differences)
        lines.append(differenceText(difference, texts::comparison::Plan.toString(),
                                    texts::comparison::Station.toString()));
    return lines;
}

QString comparedCellText(const ChannelTable& table, Column column, int row)
{
    if (isFlagColumn(column)) {
        const std::optional<bool> flag = table.flag(column, row);
        return flag ? (*flag ? QStringLiteral("да") : QStringLiteral("нет")) : QString();
    }
    return table.cell(column, row);
}

PlanComparison comparePlans(const ComparedPlan& first, const ComparedPlan& second)
{
    PlanComparison comparison;
    if (first.settings && second.settings) {
        QStringList keys = settingKeys(*first.settings);
        for (const QString& key : settingKeys(*second.settings)) {
            if (!first.settings->lookup(key))
                keys.append(key);
        }
        for (const QString& key : keys) {
            const std::optional<QString> a = first.settings->lookup(key);
            const std::optional<QString> b = second.settings->lookup(key);
            if (a != b)
                comparison.differences.append({DifferenceKind::Setting,
                                               key,
                                               0,
                                               0,
                                               Column::ChannelNumber,
                                               {},
                                               a.value_or(QString()),
                                               b.value_or(QString())});
        }
    }
    compareCode(comparison.differences, keys::TypeCode, first.typeCode, second.typeCode);
    compareCode(comparison.differences, keys::ModuleType, first.moduleType, second.moduleType);
    compareTables(comparison.differences, first.table, second.table, first.table, second.table);
    return comparison;
}

PlanComparison compareWithStation(const ComparedPlan& plan, const DeviceImage& checkedImage,
                                  const StationType& band, const ReadBack& station)
{
    const std::optional<PlanTexts> normalised = heldPlan(plan, checkedImage, band);
    if (!normalised) // a checked plan always decodes; nothing is claimed equal otherwise
        return {};
    const PlanTexts held{station.settings, station.table};
    const GeneralSettings settings = plan.settings.value_or(GeneralSettings());
    PlanComparison comparison =
        compareHeld({*normalised, settings, plan.table, plan.typeCode, plan.moduleType},
                    {held, station.settings, station.table, station.typeCode, station.moduleType});
    comparison.notCompared = unkeptLines(settings);
    return comparison;
}

PlanComparison compareCheckedPlans(const CheckedPlan& first, const CheckedPlan& second)
{
    const std::optional<PlanTexts> a = heldPlan(first.plan, first.image, first.band);
    const std::optional<PlanTexts> b = heldPlan(second.plan, second.image, second.band);
    if (!a || !b) // checked plans always decode; their texts then, rather than a claim of equality
        return comparePlans(first.plan, second.plan);
    const GeneralSettings firstSettings = first.plan.settings.value_or(GeneralSettings());
    const GeneralSettings secondSettings = second.plan.settings.value_or(GeneralSettings());
    PlanComparison comparison =
        compareHeld({*a, firstSettings, first.plan.table, first.plan.typeCode, first.plan.moduleType},
                    {*b, secondSettings, second.plan.table, second.plan.typeCode, second.plan.moduleType});
    for (const QString& line : unkeptLines(firstSettings) + unkeptLines(secondSettings)) {
        const auto kv = ini::keyLine(line);
        const QString name = kv ? kv->key : line;
        if (std::none_of(comparison.notCompared.cbegin(), comparison.notCompared.cend(),
                         [&](const QString& known) { return ini::sameName(known, name); }))
            comparison.notCompared.append(name);
    }
    return comparison;
}

} // namespace yalmera
