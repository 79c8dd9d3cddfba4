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
    return {
        sectionLine(),
        QStringLiteral("Id_номер=0001"),
        QStringLiteral("Тон1=700"),
        QStringLiteral("Тон2=750"),
        QStringLiteral("Тон3=1000"),
        QStringLiteral("Тон4=1200"),
        QStringLiteral("Тон5=1400"),
        QStringLiteral("Тон6=1550"),
        QStringLiteral("Тон7=1700"),
        QStringLiteral("Тон8=1989"),
        QStringLiteral("Тон9=2100"),
        QStringLiteral("Тон10=2400"),
        QStringLiteral("P_1=5"),
        QStringLiteral("P_2=10"),
        QStringLiteral("P_3=25"),
        QStringLiteral("P_4=40"),
        QStringLiteral("Яркость диодов=1"),
        QStringLiteral("Громкость=8"),
        QStringLiteral("МинГромкость=0"),
        QStringLiteral("Пик_кнопок=+"),
        QStringLiteral("ФВ=00"),
        QStringLiteral("Код_DCS=+"),
        QStringLiteral("Ф_Скан=+"),
        QStringLiteral("Ф_V=+"),
        QStringLiteral("ВУ=-"),
        QStringLiteral("СК=1"),
    };
}

} // namespace yalmera
