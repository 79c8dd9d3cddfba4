#include "channel_table.h"

#include <QSet>

#include <numeric>

namespace yalmera {

namespace {

constexpr std::array<const char16_t*, ColumnCount> StandardCaptions{
    u"№ кан.", u" Rx, кГц", u" Tx, кГц", u"CTC_Rx", u"CTC_Tx", u"DCS_Rx", u"DCS_Tx", u"Тон_Rx", u"Тон_Tx",
    u"  ШП",   u"P_max",    u"P_min",    u"Скан.",  u"  SW",   u"Id_Тон", u"Tx_Off", u"Время",  u"Акт",
};

} // namespace

QString columnCaption(Column column, CaptionStyle style)
{
    const int index = columnIndex(column);
    if (index < 0 || index >= ColumnCount)
        return {};
    if (column == Column::TxFrequency && style == CaptionStyle::FileRead)
        return QStringLiteral(" Tx, кГЦ");
    return QString::fromUtf16(StandardCaptions[static_cast<std::size_t>(index)]);
}

ChannelTable::ChannelTable() : m_rows(1) {}

void ChannelTable::setRowCount(int rowCount)
{
    m_rows.resize(qMax(1, rowCount));
}

QString ChannelTable::cell(Column column, int row) const
{
    const int index = columnIndex(column);
    if (index < 0 || index >= ColumnCount || row < 0 || row >= rowCount())
        return {};
    return m_rows[row].cells[static_cast<std::size_t>(index)];
}

void ChannelTable::setCell(Column column, int row, const QString& text)
{
    const int index = columnIndex(column);
    if (index < 0 || index >= ColumnCount || row < 0 || row >= rowCount())
        return;
    m_rows[row].cells[static_cast<std::size_t>(index)] = text;
}

std::optional<bool> ChannelTable::flag(Column column, int row) const
{
    const auto flags = rowFlags(row);
    if (!flags)
        return std::nullopt;
    switch (column) {
    case Column::Scan:
        return flags->scan;
    case Column::IdTone:
        return flags->idTone;
    case Column::Active:
        return flags->active;
    default:
        return std::nullopt;
    }
}

void ChannelTable::setFlag(Column column, int row, bool value)
{
    if (!isDataRow(row) || !m_rows[row].flags)
        return;
    RowFlags& flags = *m_rows[row].flags;
    switch (column) {
    case Column::Scan:
        flags.scan = value;
        break;
    case Column::IdTone:
        flags.idTone = value;
        break;
    case Column::Active:
        flags.active = value;
        break;
    default:
        break;
    }
}

std::optional<RowFlags> ChannelTable::rowFlags(int row) const
{
    if (!isDataRow(row))
        return std::nullopt;
    return m_rows[row].flags;
}

void ChannelTable::setRowFlags(int row, std::optional<RowFlags> flags)
{
    if (isDataRow(row))
        m_rows[row].flags = flags;
}

void ChannelTable::createFlags()
{
    for (int row = 1; row < rowCount(); ++row)
        m_rows[row].flags = RowFlags{};
}

void ChannelTable::removeFlags()
{
    for (Row& row : m_rows)
        row.flags.reset();
}

int ChannelTable::firstRowWithoutFlags() const
{
    for (int row = 1; row < rowCount(); ++row) {
        if (!m_rows[row].flags)
            return row;
    }
    return 0;
}

void ChannelTable::writeCaptions(CaptionStyle style)
{
    for (int column = 0; column < ColumnCount; ++column)
        m_rows[0].cells[static_cast<std::size_t>(column)] = columnCaption(columnAt(column), style);
}

std::optional<RowMap> ChannelTable::insertRowAfter(int row)
{
    if (!isDataRow(row) || channelCount() >= MaxChannels)
        return std::nullopt;
    Row copy = m_rows[row];
    copy.cells[static_cast<std::size_t>(columnIndex(Column::ChannelNumber))] = nextFreeChannelNumber(row);
    m_rows.insert(row + 1, std::move(copy));
    RowMap map(rowCount() - 1);
    for (int old = 0; old < map.size(); ++old)
        map[old] = old <= row ? old : old + 1;
    return map;
}

std::optional<RowMap> ChannelTable::removeRows(int first, int last)
{
    if (!isDataRow(first) || !isDataRow(last) || first > last)
        return std::nullopt;
    RowMap map(rowCount());
    for (int old = 0; old < map.size(); ++old)
        map[old] = old < first ? old : (old > last ? old - (last - first + 1) : 0);
    m_rows.remove(first, last - first + 1);
    return map;
}

std::optional<RowMap> ChannelTable::moveRows(int first, int last, int step)
{
    if (!isDataRow(first) || !isDataRow(last) || first > last || (step != -1 && step != 1))
        return std::nullopt;
    const int passed = step < 0 ? first - 1 : last + 1;
    if (!isDataRow(passed))
        return std::nullopt;
    RowMap map(rowCount());
    std::iota(map.begin(), map.end(), 0);
    for (int old = first; old <= last; ++old)
        map[old] = old + step;
    map[passed] = step < 0 ? last : first;
    const Row passedRow = m_rows[passed];
    if (step < 0) {
        for (int row = first; row <= last; ++row)
            m_rows[row - 1] = m_rows[row];
        m_rows[last] = passedRow;
    } else {
        for (int row = last; row >= first; --row)
            m_rows[row + 1] = m_rows[row];
        m_rows[first] = passedRow;
    }
    return map;
}

QString ChannelTable::nextFreeChannelNumber(int row) const
{
    QSet<int> taken;
    for (int other = 1; other < rowCount(); ++other) {
        bool number = false;
        const int value = cell(Column::ChannelNumber, other).toInt(&number);
        if (number)
            taken.insert(value);
    }
    bool number = false;
    int start = cell(Column::ChannelNumber, row).toInt(&number);
    if (!number || start < 0 || start > MaxChannels)
        start = 0;
    for (int offset = 1; offset <= MaxChannels; ++offset) {
        const int candidate = (start + offset - 1) % MaxChannels + 1;
        if (!taken.contains(candidate))
            return QString::number(candidate);
    }
    return {};
}

} // namespace yalmera
