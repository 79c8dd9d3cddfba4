#pragma once

#include "model/settings_keys.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

namespace yalmera {

// A key line of the settings block as a new template writes it.
struct SettingEntry
{
    QStringView key;
    QStringView value;
};

// The template's keys and values, in the order of its lines. The station does not keep the power
// values "P_1".."P_4": a read-back writes these in their place.
inline constexpr std::array<SettingEntry, 25> TemplateSettings{{
    {keys::IdNumber, u"0001"},    {keys::Tones[0], u"700"},  {keys::Tones[1], u"750"},
    {keys::Tones[2], u"1000"},    {keys::Tones[3], u"1200"}, {keys::Tones[4], u"1400"},
    {keys::Tones[5], u"1550"},    {keys::Tones[6], u"1700"}, {keys::Tones[7], u"1989"},
    {keys::Tones[8], u"2100"},    {keys::Tones[9], u"2400"}, {keys::Powers[0], u"5"},
    {keys::Powers[1], u"10"},     {keys::Powers[2], u"25"},  {keys::Powers[3], u"40"},
    {keys::Brightness, u"1"},     {keys::Volume, u"8"},      {keys::MinVolume, u"0"},
    {keys::KeyBeep, u"+"},        {keys::Fv, u"00"},         {keys::DcsPolarity, u"+"},
    {keys::ScanFunction, u"+"},   {keys::VFunction, u"+"},   {keys::Module, u"-"},
    {keys::SpecialChannel, u"1"},
}};

// The station-wide half of a plan: the text block of section "[Общие установки]" as the user
// edits it, one line per entry. Nothing interprets it while it is edited; values are looked up
// with the INI reading rules when another part needs them.
class GeneralSettings
{
public:
    static QString sectionName() { return QStringLiteral("Общие установки"); }
    static QString sectionLine() { return QStringLiteral("[Общие установки]"); }

    GeneralSettings() = default;
    explicit GeneralSettings(QStringList lines) : m_lines(std::move(lines)) {}

    const QStringList& lines() const { return m_lines; }
    void setLines(QStringList lines) { m_lines = std::move(lines); }
    void appendLine(const QString& line) { m_lines.append(line); }
    void clear() { m_lines.clear(); }
    bool isEmpty() const { return m_lines.isEmpty(); }

    // The block as one text, lines separated by "\n", and back. A final line break adds no line.
    QString text() const { return m_lines.join(u'\n'); }
    void setText(const QString& text);

    // The value of a key of section "Общие установки": the first matching key line of the first
    // such section, blanks trimmed; nothing when the key is missing.
    std::optional<QString> lookup(QStringView key) const;
    // The line (0-based) whose value lookup() gives; for a missing key the section's line, or
    // line 0 when there is no section. Where a refusal of the key's value is shown.
    int lineOf(QStringView key) const;
    QString textValue(QStringView key, const QString& defaultValue) const;
    // A decimal or hexadecimal ("0x", "$") integer; a missing key or any other value gives the default.
    qint32 integerValue(QStringView key, qint32 defaultValue) const;

    // The 26 lines a new template writes: the section line, then TemplateSettings.
    static QStringList templateLines();

    friend bool operator==(const GeneralSettings&, const GeneralSettings&) = default;

private:
    struct Found
    {
        qsizetype keyLine = -1;
        qsizetype sectionLine = -1;
    };
    Found find(QStringView key) const;

    QStringList m_lines;
};

} // namespace yalmera
