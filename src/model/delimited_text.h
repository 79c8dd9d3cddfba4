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

// Every row of the text, empty lines included (as one empty field), so that a row's index is its
// place in the text; a line break at the very end starts no row. Records end at CR LF, LF or CR
// outside quotes. Text after a closing quote is kept, and an unclosed quote runs to the end:
// nothing is lost and every text parses.
QList<QStringList> parseDelimited(QStringView text, QChar separator);

} // namespace yalmera
