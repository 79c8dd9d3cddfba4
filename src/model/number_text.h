#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace yalmera {

// Conversions between the texts the user sees and numbers. Frequencies are kHz with a comma as
// the decimal separator and no grouping.

// A whole number as the platform's integer conversion takes it: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$" or "0x". Nothing may follow. 32-bit range.
std::optional<qint32> parseInteger(QStringView text);

// A decimal number with a comma as separator: blanks around it, an optional sign, digits with at
// most one comma, an optional exponent ("E", optional sign, digits). A point is not a separator.
std::optional<double> parseDecimal(QStringView text);

// The platform's conversion error texts, with the offending text in place of %s.
QString integerConversionError(const QString& text);
QString decimalConversionError(const QString& text);

// The shortest decimal text of a value, comma as separator: 140000, 144006,25, 0,5.
QString shortestDecimalText(double value);

// A frequency as the station read-back writes it: two decimals, comma, padded with blanks to at
// least six characters ("%6.2f").
QString twoDecimalsText(double value);

// value taken to the nearest whole number, ties to even.
double roundHalfEven(double value);

// Whether kHz lies on the 6,25 kHz grid: kHz x 100, taken to the nearest whole number (ties to
// even), is divisible by 625. Safe for any finite value.
bool isOnGrid625(double kHz);

// Quotient of two whole numbers taken to the nearest whole number, ties to even (denominator > 0).
std::int64_t divideRoundHalfEven(std::int64_t numerator, std::int64_t denominator);

} // namespace yalmera
