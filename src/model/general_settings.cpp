#include "general_settings.h"

#include "settings_keys.h"

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
    struct Line
    {
        QStringView key;
        QStringView value;
    };
    // The template's values; the read-back writes its power values from the same four.
    static constexpr Line Lines[] = {
        {keys::IdNumber, u"0001"},    {keys::Tones[0], u"700"},  {keys::Tones[1], u"750"},
        {keys::Tones[2], u"1000"},    {keys::Tones[3], u"1200"}, {keys::Tones[4], u"1400"},
        {keys::Tones[5], u"1550"},    {keys::Tones[6], u"1700"}, {keys::Tones[7], u"1989"},
        {keys::Tones[8], u"2100"},    {keys::Tones[9], u"2400"}, {keys::Powers[0], u"5"},
        {keys::Powers[1], u"10"},     {keys::Powers[2], u"25"},  {keys::Powers[3], u"40"},
        {keys::Brightness, u"1"},     {keys::Volume, u"8"},      {keys::MinVolume, u"0"},
        {keys::KeyBeep, u"+"},        {keys::Fv, u"00"},         {keys::DcsPolarity, u"+"},
        {keys::ScanFunction, u"+"},   {keys::VFunction, u"+"},   {keys::Module, u"-"},
        {keys::SpecialChannel, u"1"},
    };
    QStringList lines{sectionLine()};
    for (const Line& line : Lines)
        lines.append(line.key.toString() + u'=' + line.value.toString());
    return lines;
}

} // namespace yalmera
