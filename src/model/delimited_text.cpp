#include "delimited_text.h"

namespace yalmera {

namespace {

bool needsQuotes(QStringView field, QChar separator)
{
    for (const QChar c : field) {
        if (c == separator || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

} // namespace

QString formatDelimited(const QList<QStringList>& rows, QChar separator, QStringView lineEnd)
{
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += separator;
            const QString& field = row[i];
            if (needsQuotes(field, separator))
                text += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
            else
                text += field;
        }
        text += lineEnd;
    }
    return text;
}

QList<QStringList> parseDelimited(QStringView text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    const auto endField = [&] {
        row.append(field);
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        rows.append(row);
        row.clear();
        rowStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            rowStarted = true;
        } else if (c == separator) {
            endField();
            rowStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (rowStarted)
        endRow();
    return rows;
}

} // namespace yalmera
