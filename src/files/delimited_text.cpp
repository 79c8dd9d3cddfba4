#include "delimited_text.h"

#include <iterator>
#include <utility>

namespace yalmera {

namespace {

bool needsQuotes(QStringView field, QStringView quoted)
{
    for (const QChar c : field) {
        if (quoted.contains(c))
            return true;
    }
    return false;
}

QString formatRows(const QList<QStringList>& rows, QChar separator, QStringView lineEnd, QStringView quoted)
{
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += separator;
            const QString& field = row[i];
            if (needsQuotes(field, quoted))
                text += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
            else
                text += field;
        }
        text += lineEnd;
    }
    return text;
}

} // namespace

QString formatDelimited(const QList<QStringList>& rows, QChar separator, QStringView lineEnd)
{
    const QChar quoted[]{separator, u'"', u'\r', u'\n'};
    return formatRows(rows, separator, lineEnd, QStringView(quoted, std::size(quoted)));
}

QString formatCsv(const QList<QStringList>& rows)
{
    return formatRows(rows, u';', u"\r\n", u";,\"\r\n");
}

QString spreadsheetText(const QString& field)
{
    if (!field.isEmpty() && QStringView(u"=+-@\t\r'").contains(field.front()))
        return u'\'' + field;
    return field;
}

QString fromSpreadsheetText(const QString& field)
{
    return field.startsWith(u'\'') ? field.mid(1) : field;
}

bool DelimitedReader::next(QStringList& row)
{
    row.clear();
    if (m_position >= m_text.size())
        return false;
    QString field;
    bool quoted = false;
    while (m_position < m_text.size()) {
        const QChar c = m_text[m_position++];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (m_position < m_text.size() && m_text[m_position] == u'"')
                field += m_text[m_position++];
            else
                quoted = false;
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == m_separator) {
            row.append(std::exchange(field, QString()));
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && m_position < m_text.size() && m_text[m_position] == u'\n')
                ++m_position;
            break;
        } else {
            field += c;
        }
    }
    row.append(field);
    return true;
}

QList<QStringList> parseDelimited(QStringView text, QChar separator)
{
    QList<QStringList> rows;
    DelimitedReader reader(text, separator);
    for (QStringList row; reader.next(row);)
        rows.append(row);
    return rows;
}

} // namespace yalmera
