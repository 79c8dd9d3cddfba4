#include "general_settings.h"

#include "ini_syntax.h"

#include <algorithm>

namespace yalmera {

void GeneralSettings::setText(const QString& text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    m_lines = normalised.split(u'\n');
    if (m_lines.size() > 1 && m_lines.last().isEmpty())
        m_lines.removeLast();
    if (m_lines.size() == 1 && m_lines.first().isEmpty())
        m_lines.clear();
}

GeneralSettings::Found GeneralSettings::find(QStringView key) const
{
    Found found;
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (const auto name = ini::sectionName(line)) {
            if (inSection)
                return found; // only the first section of that name is searched
            inSection = found.sectionLine < 0 && ini::sameName(*name, sectionName());
            if (inSection)
                found.sectionLine = i;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = ini::keyLine(line); kv && ini::sameName(kv->key, key)) {
            found.keyLine = i;
            return found;
        }
    }
    return found;
}

std::optional<QString> GeneralSettings::lookup(QStringView key) const
{
    const Found found = find(key);
    if (found.keyLine < 0)
        return std::nullopt;
    return ini::keyLine(m_lines[found.keyLine])->value;
}

int GeneralSettings::lineOf(QStringView key) const
{
    const Found found = find(key);
    return static_cast<int>(found.keyLine >= 0 ? found.keyLine : std::max<qsizetype>(found.sectionLine, 0));
}

QString GeneralSettings::textValue(QStringView key, const QString& defaultValue) const
{
    return lookup(key).value_or(defaultValue);
}

qint32 GeneralSettings::integerValue(QStringView key, qint32 defaultValue) const
{
    const auto value = lookup(key);
    if (!value)
        return defaultValue;
    return ini::integerValue(*value).value_or(defaultValue);
}

QStringList GeneralSettings::templateLines()
{
    QStringList lines{sectionLine()};
    for (const SettingEntry& entry : TemplateSettings)
        lines.append(entry.key.toString() + u'=' + entry.value.toString());
    return lines;
}

} // namespace yalmera
