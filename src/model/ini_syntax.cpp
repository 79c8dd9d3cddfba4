#include "ini_syntax.h"

#include "number_text.h"

namespace yalmera::ini {

std::optional<QString> sectionName(QStringView line)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(u']');
    if (close < 1)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed().toString();
}

std::optional<KeyLine> keyLine(QStringView line)
{
    if (sectionName(line))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    const QStringView key = line.left(eq).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return KeyLine{key.toString(), line.mid(eq + 1).trimmed().toString()};
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<qint32> integerValue(QStringView value)
{
    return parseInteger(value.trimmed());
}

} // namespace yalmera::ini
