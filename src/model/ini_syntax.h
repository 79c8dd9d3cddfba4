#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace yalmera::ini {

// The INI reading rules shared by the settings lookup and the channel-plan files:
// a line "[name]" opens a section; a key line is split at its first "="; blanks around names
// and values are not significant; names compare without regard to letter case (Cyrillic too);
// lines without "=" carry nothing.

// The section name of a section line, blanks trimmed, or nothing when the line opens no section.
std::optional<QString> sectionName(QStringView line);

struct KeyLine
{
    QString key;
    QString value;
};

// The key and value of a key line, or nothing when the line carries no key (no "=", or nothing
// before it, or a section line).
std::optional<KeyLine> keyLine(QStringView line);

bool sameName(QStringView a, QStringView b);

// An integer value as the INI reader takes it: an optionally signed decimal integer, or a
// hexadecimal one after "0x" or "$"; anything else is no integer.
std::optional<qint32> integerValue(QStringView value);

} // namespace yalmera::ini
