#pragma once

#include "files/plan_file.h"
#include "model/channel_table.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace yalmera::files {

// The channel table as a spreadsheet file: UTF-8 with a byte-order mark, ';' between fields (what
// Russian spreadsheets expect), CR LF, a first row with the 18 captions, then one row per
// channel; flags are written "да" / "нет" as plan files write them. A field holding ';', ',', a
// quote or a line break is quoted; a text a spreadsheet would run as a formula ('=', '+', '-',
// '@' first) or one starting with a single quote gets a single quote before it, which import
// takes away again.

// A cell holds at most this many characters in a spreadsheet file, so that 99 rows of the
// longest cells, each character three bytes of UTF-8, stay within MaxCsvFileBytes, and the plan
// file made of them within MaxPlanFileBytes.
inline constexpr int MaxCsvCellLength = 200;
// A spreadsheet file is a table of at most 99 rows; anything larger is not read.
inline constexpr qint64 MaxCsvFileBytes = 1024 * 1024;

// The bytes of the file, or why the table cannot be written: rows that lost their flags (a band
// change), or a cell that import would refuse (a control character, a character without a
// Windows-1251 byte, more than MaxCsvCellLength characters), named by its channel and column.
PlanEncodeResult encodePlanCsv(const ChannelTable& table);

struct CsvDecodeResult
{
    std::optional<ChannelTable> table; // captions, rows, cells and flags
    UserMessage error;
};
// Accepts UTF-8 with or without the byte-order mark, and Windows-1251 as spreadsheets save it;
// any line ends; blank rows are skipped. The first row must carry the 18 captions (blanks around
// them and letter case aside), every row 18 fields (empty ones beyond them aside), there must be
// 1 to 99 channel rows, the flag columns "да" or "нет". A cell may hold any text a plan file
// holds, as a plan file's cells may: the data check judges it later. What a plan file cannot
// hold is refused: control characters (line breaks and tabs among them), characters outside
// Windows-1251, bytes that are no UTF-8 in a UTF-8 file, more than MaxCsvCellLength characters.
// A refusal names the file's row (as a spreadsheet numbers it) and the column.
CsvDecodeResult decodePlanCsv(const QByteArray& bytes);

// Saves encodePlanCsv's bytes through a temporary file. Returns an empty message on success.
UserMessage writePlanCsv(const QString& path, const ChannelTable& table);
CsvDecodeResult readPlanCsv(const QString& path);

} // namespace yalmera::files
