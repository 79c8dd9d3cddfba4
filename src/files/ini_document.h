#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace yalmera::files {

// An INI text held as its lines, read with the shared INI reading rules (first "=" splits, blanks
// around names and values trimmed, names compared without regard to case, Cyrillic included;
// the first section of a name and the first key of a section count) and written with the
// profile-file semantics the plan files were made with: setting a key replaces its line in place,
// or adds the line after the section's last key line; a missing section is appended at the end.
// Lines the rules do not read (comments, blank lines, lines before the first section) are kept.
class IniDocument
{
public:
    IniDocument() = default;
    explicit IniDocument(const QStringList& lines);

    // Lines end in CR LF, LF or CR; a line break at the very end adds no line.
    static IniDocument fromText(QStringView text);

    QStringList lines() const;
    // Every line followed by lineEnd (CR LF in plan files).
    QString text(QStringView lineEnd = u"\r\n") const;

    // The value of the first matching key of the first section of that name.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QString value(QStringView section, QStringView key, const QString& defaultValue) const;

    // Whether the section exists and holds at least one key line.
    bool hasKeys(QStringView section) const;

    void setValue(const QString& section, const QString& key, const QString& value);

private:
    struct Line
    {
        QString text;
        QString key; // empty: the line carries no key
        QString value;
    };
    struct Section
    {
        QString name;                  // empty for the lines before the first section line
        std::optional<QString> header; // the section line as written
        QList<Line> lines;
    };

    static Line parseLine(const QString& text);
    void appendLine(const QString& text);
    // Index of the first section of that name, or -1.
    qsizetype sectionIndex(QStringView name) const;
    // Index of the section's first line with that key, or -1.
    static qsizetype keyIndex(const Section& section, QStringView key);

    // Sections in file order; the first holds the lines before any section line.
    QList<Section> m_sections{Section{}};
    // Case-folded name -> index of the first section of that name.
    QHash<QString, qsizetype> m_firstSection;
};

} // namespace yalmera::files
