#include "number_text.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace yalmera {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<qint32> parseInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int d = base == 16 ? hexDigit(text[i]) : (isDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        // Hexadecimal may fill all 32 bits (the platform reads $FFFFFFFF as -1); decimal may not.
        if (value > (base == 16 ? std::int64_t{0xFFFFFFFF} : std::int64_t{0x80000000}))
            return std::nullopt;
    }
    if (base == 16 && value > std::numeric_limits<qint32>::max())
        value -= std::int64_t{0x100000000};
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<double> parseDecimal(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    QString plain; // the same number with a point, for the C conversion
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        plain += t[i++];
    int digits = 0;
    while (i < n && isDigit(t[i])) {
        plain += t[i++];
        ++digits;
    }
    if (i < n && t[i] == u',') {
        plain += u'.';
        ++i;
        while (i < n && isDigit(t[i])) {
            plain += t[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        plain += u'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            plain += t[i++];
        int expDigits = 0;
        while (i < n && isDigit(t[i])) {
            plain += t[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString integerConversionError(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString decimalConversionError(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString shortestDecimalText(double value)
{
    QString s = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (s == u"-0")
        s = QStringLiteral("0");
    return s.replace(u'.', u',');
}

QString twoDecimalsText(double value)
{
    return QString::number(value, 'f', 2).replace(u'.', u',').rightJustified(6, u' ');
}

double roundHalfEven(double value)
{
    // Done by hand so that no floating-point rounding mode set elsewhere can change the result.
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

bool isOnGrid625(double kHz)
{
    if (!std::isfinite(kHz))
        return false;
    const double hundredths = roundHalfEven(kHz * 100.0);
    return std::isfinite(hundredths) && std::fmod(hundredths, 625.0) == 0.0;
}

std::int64_t divideRoundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    const std::int64_t twice = 2 * r;
    if (twice > denominator || (twice == denominator && (q % 2 != 0)))
        ++q;
    return q;
}

} // namespace yalmera
