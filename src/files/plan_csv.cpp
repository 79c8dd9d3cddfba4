#include "plan_csv.h"

#include "files/files_texts.h"

#include "plan_text_codec.h"

#include "files/delimited_text.h"
#include "files/whole_file.h"
#include "model/cell_block.h"

namespace yalmera::files {

namespace {

constexpr QChar ReplacementCharacter = u'\uFFFD';

// The largest export: 15 text cells of the longest, each character three bytes of UTF-8, with
// a quote before and quotes around, 3 flags, 17 separators and CR LF per row, and the captions.
static_assert(MaxChannels * (15 * (3 * MaxCsvCellLength + 3) + 3 * 6 + 19) + 256 <= MaxCsvFileBytes);

bool isBlank(const QStringList& fields)
{
    for (const QString& field : fields) {
        if (!field.isEmpty())
            return false;
    }
    return true;
}

// The row's fields without empty ones past the table's columns, which spreadsheets may add.
QStringList trimmedFields(QStringList fields)
{
    while (fields.size() > ColumnCount && fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

UserMessage refusal(const QString& text)
{
    return UserMessage::notice(text);
}

// What a plan file cannot hold in a cell, and where in the text it is.
struct CellFault
{
    enum class Kind { Control, Unencodable, TooLong } kind;
    QString character; // the culprit, for Control and Unencodable
};

std::optional<CellFault> cellFault(QStringView text)
{
    for (const QChar c : text) {
        // C0 (line breaks and tabs among them), DEL and C1.
        if (c.category() == QChar::Other_Control)
            return CellFault{CellFault::Kind::Control, QString(c)};
    }
    if (const auto character = firstUnencodableCharacter(text))
        return CellFault{CellFault::Kind::Unencodable, *character};
    if (text.size() > MaxCsvCellLength)
        return CellFault{CellFault::Kind::TooLong, {}};
    return std::nullopt;
}

std::optional<UserMessage> captionRefusal(const QStringList& fields, int fileRow)
{
    if (fields.size() != ColumnCount)
        return refusal(texts::files::CsvWrongFieldCount.toString().arg(fileRow).arg(fields.size()));
    for (int index = 0; index < ColumnCount; ++index) {
        const QString expected = columnCaption(columnAt(index)).trimmed();
        if (fields[index].trimmed().compare(expected, Qt::CaseInsensitive) != 0)
            return refusal(texts::files::CsvWrongCaption.toString().arg(
                QString::number(fileRow), QString::number(index + 1), fields[index], expected));
    }
    return std::nullopt;
}

// The row's cells as the table takes them, or why the row is refused.
std::optional<UserMessage> rowRefusal(const QStringList& fields, int fileRow)
{
    if (fields.size() != ColumnCount)
        return refusal(texts::files::CsvWrongFieldCount.toString().arg(fileRow).arg(fields.size()));
    for (int index = 0; index < ColumnCount; ++index) {
        const Column column = columnAt(index);
        const QString& text = fields[index];
        const QString row = QString::number(fileRow);
        const QString caption = columnCaption(column).trimmed();
        // One arg() call each: a "%1" in the file stays text.
        if (const auto fault = cellFault(text)) {
            switch (fault->kind) {
            case CellFault::Kind::Control:
                return refusal(
                    texts::files::CsvControl.toString().arg(row, caption, codePointText(fault->character)));
            case CellFault::Kind::Unencodable:
                if (fault->character == ReplacementCharacter)
                    return refusal(texts::files::CsvNotUtf8.toString().arg(row, caption));
                return refusal(texts::files::CsvUnencodable.toString().arg(row, caption, fault->character,
                                                                           codePointText(fault->character)));
            case CellFault::Kind::TooLong:
                return refusal(texts::files::CsvTooLong.toString().arg(
                    row, caption, QString::number(text.size()), QString::number(MaxCsvCellLength)));
            }
        }
        if (isFlagColumn(column) && !flagFromText(text))
            return refusal(texts::files::CsvNotAFlag.toString().arg(row, caption, text));
    }
    return std::nullopt;
}

std::optional<UserMessage> exportRefusal(const ChannelTable& table, Column column, int row)
{
    const QString text = table.cell(column, row);
    const auto fault = cellFault(text);
    if (!fault)
        return std::nullopt;
    // One arg() call: a "%2" typed into a cell must stay text.
    const QString place = texts::files::CellPlace.toString().arg(
        table.cell(Column::ChannelNumber, row), QString::number(row), columnCaption(column).trimmed());
    switch (fault->kind) {
    case CellFault::Kind::Control:
        return refusal(texts::files::CsvExportControl.toString().arg(place, codePointText(fault->character)));
    case CellFault::Kind::Unencodable:
        return refusal(texts::files::CsvExportUnencodable.toString().arg(place, fault->character,
                                                                         codePointText(fault->character)));
    case CellFault::Kind::TooLong:
        return refusal(
            texts::files::CsvExportTooLong.toString().arg(place, QString::number(MaxCsvCellLength)));
    }
    return std::nullopt;
}

} // namespace

PlanEncodeResult encodePlanCsv(const ChannelTable& table)
{
    if (const auto refused = planWriteRefusal(true, table))
        return {{}, *refused};
    QList<QStringList> rows;
    QStringList captions;
    for (int index = 0; index < ColumnCount; ++index)
        captions.append(columnCaption(columnAt(index)));
    rows.append(captions);
    for (int row = 1; row <= table.channelCount(); ++row) {
        QStringList fields = copyCells(table, {row, row, 0, ColumnCount - 1}).first();
        for (int index = 0; index < ColumnCount; ++index) {
            if (isFlagColumn(columnAt(index)))
                continue;
            if (auto refused = exportRefusal(table, columnAt(index), row))
                return {{}, *refused};
            fields[index] = spreadsheetText(fields[index]);
        }
        rows.append(fields);
    }
    return {QByteArrayLiteral("\xEF\xBB\xBF") + formatCsv(rows).toUtf8(), {}};
}

CsvDecodeResult decodePlanCsv(const QByteArray& bytes)
{
    const QString text = decodeSpreadsheetText(bytes);
    // Read a row at a time and keep only the non-blank ones, at most the captions and 99
    // channels: a file of blank lines or of too many rows costs no more than its text.
    DelimitedReader reader(text, u';');
    std::optional<int> captionRow;
    QList<std::pair<int, QStringList>> channels; // spreadsheet row (counted from 1), fields
    QStringList fields;
    for (int fileRow = 1; reader.next(fields); ++fileRow) {
        if (isBlank(fields))
            continue;
        fields = trimmedFields(std::move(fields));
        if (!captionRow) {
            if (auto refused = captionRefusal(fields, fileRow))
                return {std::nullopt, *refused};
            captionRow = fileRow;
            continue;
        }
        if (channels.size() == MaxChannels)
            return {std::nullopt, refusal(texts::files::CsvTooManyChannels.toString())};
        for (QString& field : fields)
            field = fromSpreadsheetText(field);
        channels.append({fileRow, fields});
    }
    if (channels.isEmpty())
        return {std::nullopt, refusal(texts::files::CsvNoChannels.toString())};
    for (const auto& [fileRow, rowFields] : channels) {
        if (auto refused = rowRefusal(rowFields, fileRow))
            return {std::nullopt, *refused};
    }

    ChannelTable table;
    table.setRowCount(static_cast<int>(channels.size()) + 1);
    table.writeCaptions();
    table.createFlags();
    for (int row = 1; row <= table.channelCount(); ++row) {
        const QStringList& rowFields = channels[row - 1].second;
        for (int index = 0; index < ColumnCount; ++index) {
            const Column column = columnAt(index);
            if (isFlagColumn(column))
                table.setFlag(column, row, *flagFromText(rowFields[index]));
            else
                table.setCell(column, row, rowFields[index]);
        }
    }
    return {std::move(table), {}};
}

UserMessage writePlanCsv(const QString& path, const ChannelTable& table)
{
    return saveEncoded(path, encodePlanCsv(table));
}

CsvDecodeResult readPlanCsv(const QString& path)
{
    const WholeFileRead read = readWholeFile(path, MaxCsvFileBytes);
    if (read.tooLarge)
        return {std::nullopt, refusal(texts::files::CsvTooLarge.toString())};
    if (!read.bytes)
        return {std::nullopt, UserMessage::failure(read.error)};
    return decodePlanCsv(*read.bytes);
}

} // namespace yalmera::files
