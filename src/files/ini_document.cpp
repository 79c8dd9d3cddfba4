#include "ini_document.h"

#include "model/ini_syntax.h"

namespace yalmera::files {

namespace {

QString foldedName(QStringView name)
{
    return name.toString().toCaseFolded();
}

} // namespace

IniDocument::IniDocument(const QStringList& lines)
{
    for (const QString& line : lines)
        appendLine(line);
}

IniDocument IniDocument::fromText(QStringView text)
{
    IniDocument document;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        document.appendLine(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        document.appendLine(text.sliced(start).toString());
    return document;
}

IniDocument::Line IniDocument::parseLine(const QString& text)
{
    Line line{text, {}, {}};
    if (auto kv = ini::keyLine(text)) {
        line.key = std::move(kv->key);
        line.value = std::move(kv->value);
    }
    return line;
}

void IniDocument::appendLine(const QString& text)
{
    if (const auto name = ini::sectionName(text)) {
        const QString folded = foldedName(*name);
        if (!m_firstSection.contains(folded))
            m_firstSection.insert(folded, m_sections.size());
        m_sections.append(Section{*name, text, {}});
        return;
    }
    m_sections.last().lines.append(parseLine(text));
}

QStringList IniDocument::lines() const
{
    QStringList result;
    for (const Section& section : m_sections) {
        if (section.header)
            result.append(*section.header);
        for (const Line& line : section.lines)
            result.append(line.text);
    }
    return result;
}

QString IniDocument::text(QStringView lineEnd) const
{
    QString result;
    for (const Section& section : m_sections) {
        if (section.header)
            result.append(*section.header).append(lineEnd);
        for (const Line& line : section.lines)
            result.append(line.text).append(lineEnd);
    }
    return result;
}

qsizetype IniDocument::sectionIndex(QStringView name) const
{
    const auto it = m_firstSection.constFind(foldedName(name.trimmed()));
    return it == m_firstSection.cend() ? -1 : *it;
}

qsizetype IniDocument::keyIndex(const Section& section, QStringView key)
{
    const QStringView wanted = key.trimmed();
    for (qsizetype i = 0; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        if (!line.key.isEmpty() && ini::sameName(line.key, wanted))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const qsizetype s = sectionIndex(section);
    if (s < 0)
        return std::nullopt;
    const qsizetype k = keyIndex(m_sections[s], key);
    if (k < 0)
        return std::nullopt;
    return m_sections[s].lines[k].value;
}

QString IniDocument::value(QStringView section, QStringView key, const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

bool IniDocument::hasKeys(QStringView section) const
{
    const qsizetype s = sectionIndex(section);
    if (s < 0)
        return false;
    for (const Line& line : m_sections[s].lines) {
        if (!line.key.isEmpty())
            return true;
    }
    return false;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString text = key + u'=' + value;
    const qsizetype found = sectionIndex(section);
    if (found < 0) {
        const QString name = section.trimmed();
        m_firstSection.insert(foldedName(name), m_sections.size());
        m_sections.append(Section{name, u'[' + name + u']', {parseLine(text)}});
        return;
    }
    Section& s = m_sections[found];
    if (const qsizetype k = keyIndex(s, key); k >= 0) {
        s.lines[k] = parseLine(text);
        return;
    }
    qsizetype insertAt = 0;
    for (qsizetype i = 0; i < s.lines.size(); ++i) {
        if (!s.lines[i].key.isEmpty())
            insertAt = i + 1;
    }
    s.lines.insert(insertAt, parseLine(text));
}

} // namespace yalmera::files
