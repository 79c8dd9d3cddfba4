#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace yalmera {

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
    QString textValue(QStringView key, const QString& defaultValue) const;
    // A decimal or hexadecimal ("0x", "$") integer; a missing key or any other value gives the default.
    qint32 integerValue(QStringView key, qint32 defaultValue) const;

    // The 26 lines a new template writes.
    static QStringList templateLines();

    friend bool operator==(const GeneralSettings&, const GeneralSettings&) = default;

private:
    QStringList m_lines;
};

} // namespace yalmera
