#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace yalmera {

// Rows of fields as spreadsheets exchange them: tab-separated on the clipboard, ';'-separated in
// CSV files. A field holding the separator, a quote or a line break is enclosed in quotes, with
// each quote inside doubled.

// The rows with `lineEnd` after each one.
QString formatDelimited(const QList<QStringList>& rows, QChar separator, QStringView lineEnd);

// The rows as a CSV file for spreadsheets: ';' between fields, CR LF after each row. A field
// holding ';', ',', a quote or a line break is quoted (RFC 4180): a spreadsheet that splits on
// commas as well (LibreOffice Calc at its first import) keeps "140012,5" in one cell.
QString formatCsv(const QList<QStringList>& rows);

// A field a spreadsheet would run as a formula (first character '=', '+', '-', '@', tab or CR)
// with a single quote before it, so that it shows as the text it is; a field that starts with a
// quote gets one more, so that fromSpreadsheetText gives every field back exactly.
QString spreadsheetText(const QString& field);
// The field without the one leading single quote that spreadsheetText adds.
QString fromSpreadsheetText(const QString& field);

// Reads the rows of a text one at a time, so that a text of many rows costs one row of memory.
// Every row is read, empty lines included (as one empty field), so that a row's number is its
// place in the text; a line break at the very end starts no row, and a last row without one is
// read like any other. Records end at CR LF, LF or CR outside quotes. Text after a closing quote
// is kept, and an unclosed quote runs to the end: nothing is lost and every text parses.
class DelimitedReader
{
public:
    DelimitedReader(QStringView text, QChar separator) : m_text(text), m_separator(separator) {}

    // The next row into `row` (its earlier fields replaced); false at the end of the text.
    bool next(QStringList& row);

private:
    QStringView m_text;
    QChar m_separator;
    qsizetype m_position = 0;
};

// Every row of the text, as DelimitedReader reads them.
QList<QStringList> parseDelimited(QStringView text, QChar separator);

} // namespace yalmera
