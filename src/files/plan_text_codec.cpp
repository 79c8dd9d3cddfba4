#include "plan_text_codec.h"

#include <QList>
#include <QStringDecoder>

#include <array>

namespace yalmera::files {

namespace {

// Windows-1251, bytes 0x80..0xFF. The table is ours rather than the platform's converter: Qt
// reaches Windows-1251 through ICU, which Qt builds for Windows usually lack, and a missing
// converter would read every plan as Latin-1 and lose its Cyrillic keys. 0x98 has no letter in
// the code page; like Windows, it stands for U+0098.
constexpr std::array<char16_t, 128> HighHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0: А..Я, а..я follow
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, //
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, //
};

// The byte of a character, or nothing when the code page has none.
std::optional<char> windows1251Byte(char16_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F) // the Cyrillic alphabet lies in order from 0xC0
        return static_cast<char>(0xC0 + (c - 0x0410));
    for (std::size_t i = 0; i < 0x40; ++i) {
        if (HighHalf[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString decodeWindows1251(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte < 0x80 ? char16_t{byte} : HighHalf[byte - 0x80]);
    }
    return text;
}

QString decodePlanText(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    const bool bom = view.startsWith("\xEF\xBB\xBF");
    if (bom)
        view = view.sliced(3);
    if (bom || !isAscii(view)) {
        if (auto text = strictUtf8(view))
            return *text;
    }
    return decodeWindows1251(view);
}

QString decodeSpreadsheetText(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(view.sliced(3));
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    qsizetype start = 0;
    while (start < view.size() && isLineEnd(view[start]))
        ++start;
    qsizetype end = start;
    while (end < view.size() && !isLineEnd(view[end]))
        ++end;
    const QByteArrayView firstLine = view.sliced(start, end - start);
    if (!isAscii(firstLine) && strictUtf8(firstLine))
        return QString::fromUtf8(view);
    return decodePlanText(bytes);
}

std::optional<QByteArray> encodeWindows1251(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto byte = windows1251Byte(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes.append(*byte);
    }
    return bytes;
}

std::optional<QString> firstUnencodableCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const QStringView character = text.sliced(i, length);
        if (!encodeWindows1251(character))
            return character.toString();
        i += length;
    }
    return std::nullopt;
}

QString codePointText(const QString& character)
{
    return QStringLiteral("U+%1").arg(character.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace yalmera::files
