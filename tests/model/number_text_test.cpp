#include "model/number_text.h"

#include <gtest/gtest.h>

using namespace yalmera;

TEST(IntegerText, AcceptsWhatThePlatformConversionAccepts)
{
    EXPECT_EQ(parseInteger(u"12"), 12);
    EXPECT_EQ(parseInteger(u"-7"), -7);
    EXPECT_EQ(parseInteger(u"+7"), 7);
    EXPECT_EQ(parseInteger(u"  5"), 5);
    EXPECT_EQ(parseInteger(u"$1F"), 31);
    EXPECT_EQ(parseInteger(u"0x10"), 16);
    EXPECT_EQ(parseInteger(u"0X10"), 16);
    EXPECT_EQ(parseInteger(u"007"), 7);
    EXPECT_EQ(parseInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(parseInteger(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseInteger(u"$FFFFFFFF"), -1);
}

TEST(IntegerText, RefusesEverythingElse)
{
    for (const char16_t* text : {u"", u" ", u"5 ", u"1,5", u"Нет", u"12a", u"$", u"0x", u"2147483648",
                                 u"-2147483649", u"$100000000", u"--1", u"١٢"})
        EXPECT_FALSE(parseInteger(text).has_value()) << QString::fromUtf16(text).toStdString();
}

TEST(DecimalText, ReadsCommaDecimals)
{
    EXPECT_DOUBLE_EQ(*parseDecimal(u"144006,25"), 144006.25);
    EXPECT_DOUBLE_EQ(*parseDecimal(u"140000"), 140000.0);
    EXPECT_DOUBLE_EQ(*parseDecimal(u" 6,25 "), 6.25);
    EXPECT_DOUBLE_EQ(*parseDecimal(u",5"), 0.5);
    EXPECT_DOUBLE_EQ(*parseDecimal(u"1,"), 1.0);
    EXPECT_DOUBLE_EQ(*parseDecimal(u"-1,5"), -1.5);
    EXPECT_DOUBLE_EQ(*parseDecimal(u"1E3"), 1000.0);
}

TEST(DecimalText, RefusesTextsThatAreNoNumber)
{
    for (const char16_t* text :
         {u"", u",", u"1,2,3", u"145.5", u"abc", u"1E", u"1E400", u"РЕТР_ПП", u"1 000"})
        EXPECT_FALSE(parseDecimal(text).has_value()) << QString::fromUtf16(text).toStdString();
}

TEST(ConversionErrors, QuoteTheText)
{
    EXPECT_EQ(integerConversionError(QStringLiteral("Нет")),
              QStringLiteral("'Нет' is not a valid integer value"));
    EXPECT_EQ(decimalConversionError(QString()), QStringLiteral("'' is not a valid floating point value"));
}

TEST(FrequencyTexts, ShortestAndTwoDecimalForms)
{
    EXPECT_EQ(shortestDecimalText(144006.25), QStringLiteral("144006,25"));
    EXPECT_EQ(shortestDecimalText(140000), QStringLiteral("140000"));
    EXPECT_EQ(shortestDecimalText(140000.5), QStringLiteral("140000,5"));
    EXPECT_EQ(shortestDecimalText(174), QStringLiteral("174"));
    EXPECT_EQ(twoDecimalsText(145000), QStringLiteral("145000,00"));
    EXPECT_EQ(twoDecimalsText(33018.75), QStringLiteral("33018,75"));
    EXPECT_EQ(twoDecimalsText(0), QStringLiteral("  0,00"));
}

TEST(Rounding, TiesGoToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(2.4999), 2.0);
    EXPECT_EQ(divideRoundHalfEven(100, 8), 12); // 12,5
    EXPECT_EQ(divideRoundHalfEven(200, 3), 67); // 66,67
    EXPECT_EQ(divideRoundHalfEven(300, 8), 38); // 37,5
    EXPECT_EQ(divideRoundHalfEven(500, 8), 62); // 62,5
    EXPECT_EQ(divideRoundHalfEven(1005, 10), 100);
    EXPECT_EQ(divideRoundHalfEven(1015, 10), 102);
}

TEST(Grid, SixAndAQuarterKilohertz)
{
    EXPECT_TRUE(isOnGrid625(144006.25));
    EXPECT_TRUE(isOnGrid625(139993.75));
    EXPECT_TRUE(isOnGrid625(0));
    EXPECT_FALSE(isOnGrid625(145003));
    EXPECT_FALSE(isOnGrid625(6.2));
    EXPECT_FALSE(isOnGrid625(1e300));
}
