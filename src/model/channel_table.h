#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace yalmera {

// Columns of the channel table, in display order.
enum Column : int {
    ChannelNumberColumn = 0, // "№ кан."
    RxFrequencyColumn = 1,   // " Rx, кГц", kHz or the mark "РЕТР_ПП"
    TxFrequencyColumn = 2,   // " Tx, кГц", kHz or the mark "РЕТР_ПР"
    CtcssRxColumn = 3,
    CtcssTxColumn = 4,
    DcsRxColumn = 5,
    DcsTxColumn = 6,
    ToneRxColumn = 7,
    ToneTxColumn = 8,
    SquelchColumn = 9,
    PowerMaxColumn = 10,
    PowerMinColumn = 11,
    ScanColumn = 12, // flag
    WidthColumn = 13,
    IdToneColumn = 14, // flag
    TxOffColumn = 15,
    TimeColumn = 16,
    ActiveColumn = 17, // flag
};

inline constexpr int ColumnCount = 18;
inline constexpr int MaxChannels = 99; // the device image has 99 record slots

inline constexpr bool isFlagColumn(int column)
{
    return column == ScanColumn || column == IdToneColumn || column == ActiveColumn;
}

// The caption row is written by the template and the station read-back with " Tx, кГц"; the
// file reader writes " Tx, кГЦ" (capital Ц), and the program keeps that difference visible.
enum class CaptionStyle { Standard, FileRead };

QString columnCaption(int column, CaptionStyle style = CaptionStyle::Standard);

// The three per-row flags. A row has them once a table is built (template, file, station) and
// loses them with a band change; until then the row has no flags at all.
struct RowFlags
{
    bool scan = true;
    bool idTone = false;
    bool active = true;

    friend bool operator==(const RowFlags&, const RowFlags&) = default;
};

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

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // The flag of a data row in column 12, 14 or 17, or nothing when the row has no flags.
    std::optional<bool> flag(int column, int row) const;
    // Sets a flag of a row that has its flags; does nothing on a row without them.
    void setFlag(int column, int row, bool value);
    std::optional<RowFlags> rowFlags(int row) const;
    bool hasFlags(int row) const { return rowFlags(row).has_value(); }

    // Gives every data row its flags in their creation state: scan set, "Id_Тон" clear, active set.
    void createFlags();
    // Removes the flags of every row (a band change).
    void removeFlags();
    // The first data row without its flags, or 0 when every row has them.
    int firstRowWithoutFlags() const;

    void writeCaptions(CaptionStyle style = CaptionStyle::Standard);

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
