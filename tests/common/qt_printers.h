#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/plan_mark.h"
#include "model/user_message.h"

#include <QString>

#include <ostream>

// Readable Qt texts and messages in GoogleTest's failure output.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace yalmera {
// Found by argument-dependent lookup: messages print as their kind and text.
inline void PrintTo(const UserMessage& message, std::ostream* os)
{
    *os << (message.kind == MessageKind::Failure ? "failure " : "notice ") << '"'
        << message.text.toStdString() << '"';
}
inline void PrintTo(Column column, std::ostream* os)
{
    *os << "column " << columnIndex(column);
}
inline void PrintTo(const PlanMark& mark, std::ostream* os)
{
    if (mark.isCell())
        *os << "cell " << mark.row << '/' << columnIndex(mark.column);
    else
        *os << "settings line " << mark.settingsLine;
    *os << " \"" << mark.message.toStdString() << '"';
}
// A settings block line by line.
inline void PrintTo(const GeneralSettings& settings, std::ostream* os)
{
    *os << "settings:";
    for (const QString& line : settings.lines())
        *os << "\n  " << line.toStdString();
}
// A table row by row, cells between bars, then the row's flags ("flags 101": scan, "Id_Тон", active).
inline void PrintTo(const ChannelTable& table, std::ostream* os)
{
    *os << "table:";
    for (int row = 0; row < table.rowCount(); ++row) {
        *os << "\n  " << row << ':';
        for (int column = 0; column < ColumnCount; ++column)
            *os << ' ' << table.cell(columnAt(column), row).toStdString() << " |";
        if (const auto flags = table.rowFlags(row))
            *os << " flags " << flags->scan << flags->idTone << flags->active;
    }
}
} // namespace yalmera
