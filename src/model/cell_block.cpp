#include "cell_block.h"

#include "model_texts.h"
#include "value_lists.h"

#include <algorithm>
#include <optional>

namespace yalmera {

QString flagText(bool value)
{
    return (value ? FlagSetText : FlagClearText).toString();
}

std::optional<bool> flagFromText(QStringView text)
{
    if (text == FlagSetText)
        return true;
    if (text == FlagClearText)
        return false;
    return std::nullopt;
}

CellTextFault cellTextFault(Column column, QStringView text)
{
    if (isFlagColumn(column))
        return flagFromText(text) ? CellTextFault::None : CellTextFault::NotAFlag;
    const auto values = columnValues(column);
    if (values.empty() || std::find(values.begin(), values.end(), text) != values.end())
        return CellTextFault::None;
    return CellTextFault::NotInList;
}

QList<QStringList> copyCells(const ChannelTable& table, const CellRange& range)
{
    QList<QStringList> block;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        QStringList texts;
        for (int index = range.firstColumn; index <= range.lastColumn; ++index) {
            const Column column = columnAt(index);
            if (!isFlagColumn(column))
                texts.append(table.cell(column, row));
            else if (const auto flag = table.flag(column, row))
                texts.append(flagText(*flag));
            else
                texts.append(QString());
        }
        block.append(texts);
    }
    return block;
}

namespace {

// A copied block as it lands on a target: a single cell fills the whole target; a ragged block's
// short rows leave the cells beyond their end as they are.
class LandingBlock
{
public:
    LandingBlock(const QList<QStringList>& block, const CellRange& target)
        : m_block(block), m_fill(block.size() == 1 && block.first().size() == 1),
          m_rows(m_fill ? target.rows() : static_cast<int>(block.size())),
          m_columns(m_fill ? target.columns() : 0)
    {
        for (const QStringList& texts : block)
            m_columns = std::max(m_columns, static_cast<int>(texts.size()));
    }
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    // Null where the block leaves the cell as it is.
    const QString* textAt(int r, int c) const
    {
        if (m_fill)
            return &m_block.first().first();
        return c < m_block[r].size() ? &m_block[r][c] : nullptr;
    }

private:
    const QList<QStringList>& m_block;
    bool m_fill;
    int m_rows;
    int m_columns;
};

// Why the block may not land on the target: too wide, too long, or a text its column does not take.
std::optional<UserMessage> pasteRefusal(const LandingBlock& block, const CellRange& target)
{
    const int columns = block.columns();
    const int rows = block.rows();
    if (target.firstColumn + columns > ColumnCount)
        return UserMessage::notice(texts::model::PasteTooWide.toString().arg(
            QString::number(columns), columnCaption(columnAt(target.firstColumn)).trimmed(),
            QString::number(ColumnCount - target.firstColumn)));
    if (target.firstRow + rows - 1 > MaxChannels)
        return UserMessage::notice(
            texts::model::PasteTooLong.toString().arg(QString::number(rows), QString::number(target.firstRow),
                                                      QString::number(MaxChannels - target.firstRow + 1)));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString* text = block.textAt(r, c);
            const Column column = columnAt(target.firstColumn + c);
            const CellTextFault fault = text ? cellTextFault(column, *text) : CellTextFault::None;
            if (fault == CellTextFault::None)
                continue;
            const QStringView message =
                fault == CellTextFault::NotAFlag ? texts::model::PasteNotAFlag : texts::model::PasteNotInList;
            // One arg() call: a "%1" in the pasted text stays text.
            return UserMessage::notice(message.toString().arg(QString::number(target.firstRow + r),
                                                              columnCaption(column).trimmed(), *text));
        }
    }
    return std::nullopt;
}

} // namespace

PasteResult pasteCells(ChannelTable& table, const QList<QStringList>& pasted, const CellRange& target)
{
    const LandingBlock block(pasted, target);
    const int rows = block.rows();
    const int columns = block.columns();
    // Pasting needs a cell to start from; the rows it adds copy the last one.
    if (rows == 0 || columns == 0 || target.firstRow < 1 || target.firstRow > table.channelCount() ||
        target.firstColumn < 0 || target.firstColumn >= ColumnCount)
        return {{}, {}};
    if (auto refusal = pasteRefusal(block, target))
        return {std::move(*refusal), {}};

    while (table.channelCount() < target.firstRow + rows - 1) {
        if (!table.insertRowAfter(table.channelCount()))
            break;
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString* text = block.textAt(r, c);
            const Column column = columnAt(target.firstColumn + c);
            const int row = target.firstRow + r;
            if (!text)
                continue;
            if (isFlagColumn(column))
                table.setFlag(column, row, *flagFromText(*text));
            else
                table.setCell(column, row, *text);
        }
    }
    return {
        {},
        {target.firstRow, target.firstRow + rows - 1, target.firstColumn, target.firstColumn + columns - 1}};
}

} // namespace yalmera
