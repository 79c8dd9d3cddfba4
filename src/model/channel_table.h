#pragma once

#include "model/station_type.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace yalmera {

// Columns of the channel table, in display order.
enum class Column : int {
    ChannelNumber = 0, // "№ кан."
    RxFrequency = 1,   // " Rx, кГц", kHz or the mark "РЕТР_ПП"
    TxFrequency = 2,   // " Tx, кГц", kHz or the mark "РЕТР_ПР"
    CtcssRx = 3,
    CtcssTx = 4,
    DcsRx = 5,
    DcsTx = 6,
    ToneRx = 7,
    ToneTx = 8,
    Squelch = 9,
    PowerMax = 10,
    PowerMin = 11,
    Scan = 12, // flag
    Width = 13,
    IdTone = 14, // flag
    TxOff = 15,
    Time = 16,
    Active = 17, // flag
};

inline constexpr int ColumnCount = 18;

// The column's place in the grid and in the caption row, and back (index 0..17).
constexpr int columnIndex(Column column)
{
    return static_cast<int>(column);
}
constexpr Column columnAt(int index)
{
    return static_cast<Column>(index);
}

inline constexpr bool isFlagColumn(Column column)
{
    return column == Column::Scan || column == Column::IdTone || column == Column::Active;
}

// The caption row is written by the template and the station read-back with " Tx, кГц"; the
// file reader writes " Tx, кГЦ" (capital Ц), and the program keeps that difference visible.
enum class CaptionStyle { Standard, FileRead };

QString columnCaption(Column column, CaptionStyle style = CaptionStyle::Standard);

// The three per-row flags. A row has them once a table is built (template, file, station) and
// loses them with a band change; until then the row has no flags at all.
struct RowFlags
{
    bool scan = true;
    bool idTone = false;
    bool active = true;

    friend bool operator==(const RowFlags&, const RowFlags&) = default;
};

// Where the rows went in a row operation: indexed by a row before it, the row's place after it
// (0: removed). Row 0, the captions, stays where it is.
using RowMap = QList<int>;

// The per-channel half of a plan: row 0 holds the captions, rows 1..N the channels in the order
// of their image records. Every value is the text the user sees.
class ChannelTable
{
public:
    ChannelTable();

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int channelCount() const { return rowCount() - 1; }

    // Rows added get empty cells and no flags; rows removed lose their cells and flags.
    // The caption row always stays.
    void setRowCount(int rowCount);

    QString cell(Column column, int row) const;
    void setCell(Column column, int row, const QString& text);

    // The flag of a data row in column 12, 14 or 17, or nothing when the row has no flags.
    std::optional<bool> flag(Column column, int row) const;
    // Sets a flag of a row that has its flags; does nothing on a row without them.
    void setFlag(Column column, int row, bool value);
    std::optional<RowFlags> rowFlags(int row) const;
    // A data row's flags as a whole, or none (a copy of a table put back row by row).
    void setRowFlags(int row, std::optional<RowFlags> flags);
    bool hasFlags(int row) const { return rowFlags(row).has_value(); }

    // Gives every data row its flags in their creation state: scan set, "Id_Тон" clear, active set.
    void createFlags();
    // Removes the flags of every row (a band change).
    void removeFlags();
    // The first data row without its flags, or 0 when every row has them.
    int firstRowWithoutFlags() const;

    void writeCaptions(CaptionStyle style = CaptionStyle::Standard);

    // Row operations on data rows. Each row keeps its cells and flags together. Nothing changes,
    // and nothing is returned, when the rows named are no data rows or there is no room.
    // A copy of `row` right after it, numbered nextFreeChannelNumber(row); not past MaxChannels.
    std::optional<RowMap> insertRowAfter(int row);
    // Rows first..last go.
    std::optional<RowMap> removeRows(int first, int last);
    // Rows first..last move one place up (step -1) or down (step 1); the row they pass takes
    // the place they leave.
    std::optional<RowMap> moveRows(int first, int last, int step);
    // The first channel number after that of `row`, counting round 1..MaxChannels, that no row
    // carries; counting starts at 1 when the row's number is no number. Empty when all are taken.
    QString nextFreeChannelNumber(int row) const;

    friend bool operator==(const ChannelTable&, const ChannelTable&) = default;

private:
    struct Row
    {
        std::array<QString, ColumnCount> cells;
        std::optional<RowFlags> flags;
        friend bool operator==(const Row&, const Row&) = default;
    };

    bool isDataRow(int row) const { return row >= 1 && row < rowCount(); }

    QList<Row> m_rows;
};

} // namespace yalmera
