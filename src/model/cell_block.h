#pragma once

#include "model/channel_table.h"
#include "model/user_message.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace yalmera {

// A flag as text, as plan files and spreadsheets write it: "да" set, "нет" clear.
QString flagText(bool value);
// "да" or "нет" exactly; nothing for any other text.
std::optional<bool> flagFromText(QStringView text);

// Why a column cannot take a text: a list column takes only the texts of its list, a flag column
// "да" or "нет"; the typed columns take any text (the data check judges it later).
enum class CellTextFault { None, NotInList, NotAFlag };
CellTextFault cellTextFault(Column column, QStringView text);

// A rectangle of cells: table rows (1..N) and columns, both ends included.
struct CellRange
{
    int firstRow = 1;
    int lastRow = 1;
    int firstColumn = 0;
    int lastColumn = 0;

    int rows() const { return lastRow - firstRow + 1; }
    int columns() const { return lastColumn - firstColumn + 1; }

    friend bool operator==(const CellRange&, const CellRange&) = default;
};

// The texts of a range, row by row, flags as "да" / "нет" (empty for a row without flags).
QList<QStringList> copyCells(const ChannelTable& table, const CellRange& range);

struct PasteResult
{
    UserMessage refusal; // empty when the block was pasted
    CellRange pasted;    // the cells written

    bool ok() const { return refusal.isEmpty(); }
};

// Writes a block of texts into the table with its first text at the target's top-left cell; a
// block of one text fills the whole target instead. Rows may differ in length: each writes its
// own fields. A block reaching below the last row adds rows as "Добавить канал" makes them after
// the last one, up to MaxChannels. Every text is checked before anything is written: a block too
// wide, too long or holding a text its column does not take changes nothing and says why, with
// the row, the column's caption and the text.
PasteResult pasteCells(ChannelTable& table, const QList<QStringList>& block, const CellRange& target);

} // namespace yalmera
