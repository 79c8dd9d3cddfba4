#pragma once

#include "model/channel_table.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace yalmera::files {

// The channel table as a spreadsheet file: UTF-8 with a byte-order mark, ';' between fields (what
// Russian spreadsheets expect), CR LF, a first row with the 18 captions, then one row per
// channel; flags are written "да" / "нет" as plan files write them. A field holding ';', a quote
// or a line break is quoted.

// A spreadsheet file is a table of at most 99 rows; anything larger is not read.
inline constexpr qint64 MaxCsvFileBytes = 1024 * 1024;

QByteArray encodePlanCsv(const ChannelTable& table);

struct CsvDecodeResult
{
    std::optional<ChannelTable> table; // captions, rows, cells and flags
    UserMessage error;
};
// Accepts UTF-8 with or without the byte-order mark, and Windows-1251 as spreadsheets save it;
// any line ends; blank rows are skipped. Everything is checked before a table is made: the first
// row must carry the 18 captions (blanks around them and letter case aside), every row 18 fields
// (empty ones beyond them aside), at least one and at most 99 channel rows, list columns texts of
// their lists and flag columns "да" or "нет". A refusal names the file's row (as a spreadsheet
// numbers it) and the column.
CsvDecodeResult decodePlanCsv(const QByteArray& bytes);

// Refuses a table whose rows lost their flags, as "Запись в файл" does; saves through a
// temporary file. Returns an empty message on success.
UserMessage writePlanCsv(const QString& path, const ChannelTable& table);
CsvDecodeResult readPlanCsv(const QString& path);

} // namespace yalmera::files
