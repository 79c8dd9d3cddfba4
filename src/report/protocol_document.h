#pragma once

#include "model/user_message.h"
#include "session/app_state.h"

#include <QList>
#include <QString>

#include <array>

namespace yalmera::report {

enum class Alignment { Left, Center };

// How a paragraph or a table row is set. The typeface is the renderer's default.
struct TextStyle
{
    Alignment alignment = Alignment::Left;
    bool bold = false;
    int pointSize = 12;

    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

struct Paragraph
{
    QString text;
    TextStyle style;

    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

inline constexpr int ProtocolColumnCount = 18;

// Every table row has this exact height in every rendering, in points: a header row and 31
// channel rows (448 pt) fit the 457 pt between the margins of A4 landscape, and a 12 pt line
// fits a row.
inline constexpr int TableRowHeightPt = 14;

// One printed column: its header text, its width in points as designed and the channel-table
// column it shows (for the three flag columns, the flag printed as "+" or "-"). The designed
// widths add up to 807 pt, more than a page holds: renderers print fittedColumnWidths().
struct ProtocolColumn
{
    QString header;
    int widthPt = 0;
    Column sourceColumn = Column::ChannelNumber;
};

// The 18 printed columns, left to right. P_min is printed before P_max.
const std::array<ProtocolColumn, ProtocolColumnCount>& protocolColumns();

// The designed widths scaled in proportion so that they add up to tableWidth exactly, in whole
// units of the caller's choice (twips, device pixels). Each column edge is rounded from its
// share of the width, so rounding never adds up along the row.
std::array<int, ProtocolColumnCount> fittedColumnWidths(int tableWidth);

enum class RowKind { Header, Channel };

struct TableRow
{
    RowKind kind = RowKind::Channel;
    // Channel rows: the row of the channel table shown (1-based); header rows: 0.
    int channel = 0;
    TextStyle style;
    std::array<QString, ProtocolColumnCount> cells;

    friend bool operator==(const TableRow&, const TableRow&) = default;
};

// Page layout in points: landscape on the renderer's paper (A4 for the files we write).
struct PageSetup
{
    bool landscape = true;
    int leftMarginPt = 25;
    int rightMarginPt = 25;
    int topMarginPt = 75;
    int bottomMarginPt = 63;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// The programming protocol of one station, independent of how it is rendered: the paragraphs
// in document order (title, serial number, an empty line, the settings lines, an empty line),
// then the channel table.
struct ProtocolDocument
{
    QString serialNumber;
    PageSetup page;
    QList<Paragraph> paragraphs;
    QList<TableRow> tableRows;

    int channelRowCount() const;

    friend bool operator==(const ProtocolDocument&, const ProtocolDocument&) = default;
};

// Builds the protocol from the plan as it stands now: the settings lines as the editor holds them
// and table rows 1..N with their current texts and flags, N being the image's channel count
// bounded by the table's channel rows. The state is only read.
ProtocolDocument buildProtocolDocument(const AppState& state, const QString& serialNumber);

// Where the user asks for a protocol: the main menu's "Создать протокол" or the protocol
// window's "Создать". The two refusals differ only in their exclamation marks.
enum class ProtocolRequest { Menu, Create };

// Empty when a protocol may be made, otherwise the refusal to show.
UserMessage protocolRefusal(const AppState& state, ProtocolRequest request);

} // namespace yalmera::report
