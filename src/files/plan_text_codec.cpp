#include "plan_text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace yalmera::files {

namespace {

constexpr const char* CodePage = "windows-1251";

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

QString fromWindows1251(QByteArrayView bytes)
{
    QStringDecoder decoder(CodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes); // not reached with the platform's converters
    return decoder.decode(bytes);
}

} // namespace

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
    return fromWindows1251(view);
}

std::optional<QByteArray> encodeWindows1251(QStringView text)
{
    QStringEncoder encoder(CodePage);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    // The converter drops a lone surrogate without reporting it: only a text that comes back
    // unchanged is written.
    if (fromWindows1251(bytes) != text)
        return std::nullopt;
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

} // namespace yalmera::files
