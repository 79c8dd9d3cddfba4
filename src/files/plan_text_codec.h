#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace yalmera::files {

// The bytes of a plan file as text. Plan files are Windows-1251; a file that an editor saved as
// UTF-8 (with or without a byte-order mark) is recognised by being valid UTF-8 with non-ASCII
// text, which Windows-1251 Cyrillic practically never is. Every byte sequence decodes.
QString decodePlanText(const QByteArray& bytes);

// The bytes of a CSV file as text: UTF-8 when they start with the byte-order mark or when their
// first non-blank line (the captions, which hold Cyrillic) is UTF-8, otherwise as decodePlanText
// reads them. A UTF-8 file keeps its stray bytes as U+FFFD, so that the cell holding one is known.
QString decodeSpreadsheetText(const QByteArray& bytes);

// Windows-1251 bytes as text; every byte has its character.
QString decodeWindows1251(QByteArrayView bytes);

// Text as Windows-1251, or nothing when some character has no Windows-1251 byte.
std::optional<QByteArray> encodeWindows1251(QStringView text);

// The first character of text (a whole surrogate pair counts as one) that Windows-1251 cannot
// hold, or nothing when every character has its byte.
std::optional<QString> firstUnencodableCharacter(QStringView text);

// "U+0001": a character's code point as the messages name it.
QString codePointText(const QString& character);

} // namespace yalmera::files
