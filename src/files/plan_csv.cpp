#include "plan_csv.h"

#include "files/files_texts.h"

#include "plan_file.h"
#include "plan_text_codec.h"

#include "model/cell_block.h"
#include "model/delimited_text.h"
#include "model/whole_file.h"

namespace yalmera::files {

namespace {

constexpr QChar Separator = u';';

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

std::optional<UserMessage> rowRefusal(const QStringList& fields, int fileRow)
{
    if (fields.size() != ColumnCount)
        return refusal(texts::files::CsvWrongFieldCount.toString().arg(fileRow).arg(fields.size()));
    for (int index = 0; index < ColumnCount; ++index) {
        const Column column = columnAt(index);
        const CellTextFault fault = cellTextFault(column, fields[index]);
        if (fault == CellTextFault::None)
            continue;
        const QString message =
            (fault == CellTextFault::NotAFlag ? texts::files::CsvNotAFlag : texts::files::CsvNotInList)
                .toString();
        return refusal(message.arg(QString::number(fileRow), columnCaption(column).trimmed(), fields[index]));
    }
    return std::nullopt;
}

} // namespace

QByteArray encodePlanCsv(const ChannelTable& table)
{
    QList<QStringList> rows;
    QStringList captions;
    for (int index = 0; index < ColumnCount; ++index)
        captions.append(columnCaption(columnAt(index)));
    rows.append(captions);
    if (table.channelCount() > 0)
        rows.append(copyCells(table, {1, table.channelCount(), 0, ColumnCount - 1}));
    return QByteArrayLiteral("\xEF\xBB\xBF") + formatDelimited(rows, Separator, u"\r\n").toUtf8();
}

CsvDecodeResult decodePlanCsv(const QByteArray& bytes)
{
    const QList<QStringList> records = parseDelimited(decodePlanText(bytes), Separator);
    // Spreadsheet rows, counted from 1 as a spreadsheet shows them, blank ones left out.
    QList<std::pair<int, QStringList>> rows;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!isBlank(records[i]))
            rows.append({static_cast<int>(i) + 1, trimmedFields(records[i])});
    }
    if (rows.isEmpty())
        return {std::nullopt, refusal(texts::files::CsvNoChannels.toString())};
    if (auto refused = captionRefusal(rows.first().second, rows.first().first))
        return {std::nullopt, *refused};
    const int channels = static_cast<int>(rows.size()) - 1;
    if (channels == 0)
        return {std::nullopt, refusal(texts::files::CsvNoChannels.toString())};
    if (channels > MaxChannels)
        return {std::nullopt, refusal(texts::files::CsvTooManyChannels.toString())};
    for (int row = 1; row <= channels; ++row) {
        if (auto refused = rowRefusal(rows[row].second, rows[row].first))
            return {std::nullopt, *refused};
    }

    ChannelTable table;
    table.setRowCount(channels + 1);
    table.writeCaptions();
    table.createFlags();
    for (int row = 1; row <= channels; ++row) {
        const QStringList& fields = rows[row].second;
        for (int index = 0; index < ColumnCount; ++index) {
            const Column column = columnAt(index);
            if (isFlagColumn(column))
                table.setFlag(column, row, *flagFromText(fields[index]));
            else
                table.setCell(column, row, fields[index]);
        }
    }
    return {std::move(table), {}};
}

UserMessage writePlanCsv(const QString& path, const ChannelTable& table)
{
    if (const auto refused = planWriteRefusal(true, table))
        return *refused;
    if (const QString error = saveWholeFile(path, encodePlanCsv(table)); !error.isEmpty())
        return UserMessage::failure(error);
    return {};
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
