#include "protocol_document.h"

#include "report_texts.h"

#include <algorithm>

namespace yalmera::report {

namespace {

constexpr TextStyle TitleStyle{Alignment::Center, true, 20};
constexpr TextStyle BodyStyle{Alignment::Left, false, 12};
constexpr TextStyle HeaderRowStyle{Alignment::Center, true, 11};
constexpr TextStyle ChannelRowStyle{Alignment::Center, false, 12};

// A header row stands before each of these channels (1-based), as well as at the top.
constexpr std::array<int, 3> RepeatHeaderBeforeChannel{31, 62, 93};

TableRow headerRow()
{
    TableRow row;
    row.kind = RowKind::Header;
    row.style = HeaderRowStyle;
    const auto& columns = protocolColumns();
    for (int i = 0; i < ProtocolColumnCount; ++i)
        row.cells[i] = columns[i].header;
    return row;
}

TableRow channelRow(const ChannelTable& table, int tableRow)
{
    TableRow row;
    row.kind = RowKind::Channel;
    row.channel = tableRow;
    row.style = ChannelRowStyle;
    const auto& columns = protocolColumns();
    for (int i = 0; i < ProtocolColumnCount; ++i) {
        const Column source = columns[i].sourceColumn;
        if (isFlagColumn(source))
            row.cells[i] =
                table.flag(source, tableRow).value_or(false) ? QStringLiteral("+") : QStringLiteral("-");
        else
            row.cells[i] = table.cell(source, tableRow);
    }
    return row;
}

} // namespace

const std::array<ProtocolColumn, ProtocolColumnCount>& protocolColumns()
{
    // The "T" of the two tone headers is the Latin letter, the rest Cyrillic.
    static const std::array<ProtocolColumn, ProtocolColumnCount> columns{{
        {QStringLiteral("№"), 23, Column::ChannelNumber},
        {QStringLiteral("Прием"), 62, Column::RxFrequency},
        {QStringLiteral("Передача"), 62, Column::TxFrequency},
        {QStringLiteral("CTCSS_Rx"), 69, Column::CtcssRx},
        {QStringLiteral("CTCSS_Tx"), 69, Column::CtcssTx},
        {QStringLiteral("DCS_Rx"), 54, Column::DcsRx},
        {QStringLiteral("DCS_Tx"), 54, Column::DcsTx},
        {QStringLiteral("T"
                        "он_Rx"),
         51, Column::ToneRx},
        {QStringLiteral("T"
                        "он_Tx"),
         49, Column::ToneTx},
        {QStringLiteral("ШП"), 32, Column::Squelch},
        {QStringLiteral("Pmin"), 37, Column::PowerMin},
        {QStringLiteral("Pmax"), 38, Column::PowerMax},
        {QStringLiteral("Скан"), 37, Column::Scan},
        {QStringLiteral("Sw"), 33, Column::Width},
        {QStringLiteral("Id"), 24, Column::IdTone},
        {QStringLiteral("Tx_Off"), 46, Column::TxOff},
        {QStringLiteral("Time"), 36, Column::Time},
        {QStringLiteral("Акт"), 31, Column::Active},
    }};
    return columns;
}

std::array<int, ProtocolColumnCount> fittedColumnWidths(int tableWidth)
{
    const auto& columns = protocolColumns();
    qint64 designedTotal = 0;
    for (const ProtocolColumn& column : columns)
        designedTotal += column.widthPt;
    tableWidth = std::max(0, tableWidth);
    std::array<int, ProtocolColumnCount> widths{};
    qint64 designedEdge = 0;
    int previousEdge = 0;
    for (int i = 0; i < ProtocolColumnCount; ++i) {
        designedEdge += columns[i].widthPt;
        // Nearest whole unit, halves up; the last edge is tableWidth itself.
        const int edge =
            static_cast<int>((2 * designedEdge * tableWidth + designedTotal) / (2 * designedTotal));
        widths[i] = edge - previousEdge;
        previousEdge = edge;
    }
    return widths;
}

int ProtocolDocument::channelRowCount() const
{
    return static_cast<int>(std::count_if(tableRows.begin(), tableRows.end(),
                                          [](const TableRow& r) { return r.kind == RowKind::Channel; }));
}

ProtocolDocument buildProtocolDocument(const AppState& state, const QString& serialNumber)
{
    ProtocolDocument document;
    document.serialNumber = serialNumber;

    document.paragraphs.append({texts::report::Title.toString(), TitleStyle});
    document.paragraphs.append({serialNumber, TitleStyle});
    document.paragraphs.append({QString(), BodyStyle});
    for (const QString& line : state.settings().lines())
        document.paragraphs.append({line, BodyStyle});
    document.paragraphs.append({QString(), BodyStyle});

    // The channel count of the image (the last check, or a station read). Every way to a new row
    // count also clears the check, so the two agree whenever a protocol can be made; the bound
    // keeps a document built without that gate from reaching rows that do not exist.
    const int channels = std::min<int>(state.image().channelCount, std::max(0, state.table().channelCount()));

    document.tableRows.append(headerRow());
    for (int channel = 1; channel <= channels; ++channel) {
        if (std::find(RepeatHeaderBeforeChannel.begin(), RepeatHeaderBeforeChannel.end(), channel) !=
            RepeatHeaderBeforeChannel.end())
            document.tableRows.append(headerRow());
        document.tableRows.append(channelRow(state.table(), channel));
    }
    return document;
}

UserMessage protocolRefusal(const AppState& state, ProtocolRequest request)
{
    // Told first: without flags no check can pass, and the flag columns would all print "-".
    if (const int row = state.table().firstRowWithoutFlags())
        return UserMessage::notice(texts::report::RefusedWithoutFlags.toString().arg(row));
    if (state.dataChecked())
        return {};
    return UserMessage::notice(request == ProtocolRequest::Menu ? texts::report::RefusedOnMenu.toString()
                                                                : texts::report::RefusedOnCreate.toString());
}

} // namespace yalmera::report
