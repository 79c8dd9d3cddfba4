#include "general_settings.h"

#include "ini_syntax.h"

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

std::optional<QString> GeneralSettings::lookup(QStringView key) const
{
    bool seenSection = false;
    bool inSection = false;
    for (const QString& line : m_lines) {
        if (const auto name = ini::sectionName(line)) {
            if (inSection)
                return std::nullopt; // only the first section of that name is searched
            inSection = !seenSection && ini::sameName(*name, sectionName());
            seenSection = seenSection || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = ini::keyLine(line); kv && ini::sameName(kv->key, key))
            return kv->value;
    }
    return std::nullopt;
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
