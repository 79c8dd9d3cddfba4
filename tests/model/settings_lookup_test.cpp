#include "model/general_settings.h"

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

GeneralSettings settingsOf(std::initializer_list<const char16_t*> lines)
{
    QStringList list;
    for (const char16_t* line : lines)
        list << QString::fromUtf16(line);
    return GeneralSettings(list);
}

} // namespace

TEST(SettingsLookup, FindsKeysOfTheSectionOnly)
{
    const auto s = settingsOf({u"Громкость=3", u"[Общие установки]", u"Громкость = 8 ", u"[1]", u"СК=4"});
    EXPECT_EQ(s.lookup(u"Громкость"), QStringLiteral("8"));
    EXPECT_FALSE(s.lookup(u"СК").has_value());
}

TEST(SettingsLookup, FirstOccurrenceWins)
{
    const auto s = settingsOf({u"[Общие установки]", u"ФВ=12", u"ФВ=40"});
    EXPECT_EQ(s.textValue(u"ФВ", QStringLiteral("100")), QStringLiteral("12"));
}

TEST(SettingsLookup, OnlyTheFirstSectionOfTheNameCounts)
{
    const auto s = settingsOf({u"[Общие установки]", u"Громкость=8", u"[x]", u"[общие УСТАНОВКИ]", u"СК=2"});
    EXPECT_FALSE(s.lookup(u"СК").has_value());
}

TEST(SettingsLookup, KeysAndSectionCompareWithoutCaseCyrillicToo)
{
    const auto s = settingsOf({u"[ОБЩИЕ установки]", u"яркость ДИОДОВ=4", u"id_НОМЕР=12ab"});
    EXPECT_EQ(s.integerValue(u"Яркость диодов", 0), 4);
    EXPECT_EQ(s.lookup(u"Id_номер"), QStringLiteral("12ab"));
}

TEST(SettingsLookup, SplitsAtTheFirstEqualsSign)
{
    const auto s = settingsOf({u"[Общие установки]", u"Серийный номер = a=b "});
    EXPECT_EQ(s.lookup(u"Серийный номер"), QStringLiteral("a=b"));
}

TEST(SettingsLookup, IgnoresLinesWithoutEqualsSignAndEmptyLines)
{
    const auto s = settingsOf({u"[Общие установки]", u"", u"Громкость", u"  ", u"Громкость=9"});
    EXPECT_EQ(s.integerValue(u"Громкость", 0), 9);
}

TEST(SettingsLookup, MissingSectionMeansEveryKeyIsMissing)
{
    const auto s = settingsOf({u"Яркость диодов=1", u"Громкость=8"});
    EXPECT_EQ(s.integerValue(u"Яркость диодов", 0), 0);
    EXPECT_EQ(s.textValue(u"Пик_кнопок", QStringLiteral("+")), QStringLiteral("+"));
}

TEST(SettingsLookup, IntegersDecimalOrHexElseTheDefault)
{
    const auto s =
        settingsOf({u"[Общие установки]", u"a=0x1F", u"b=$10", u"c=-3", u"d=1,5", u"e=", u"f=12 3", u"g=+4"});
    EXPECT_EQ(s.integerValue(u"a", 0), 31);
    EXPECT_EQ(s.integerValue(u"b", 0), 16);
    EXPECT_EQ(s.integerValue(u"c", 0), -3);
    EXPECT_EQ(s.integerValue(u"d", 77), 77);
    EXPECT_EQ(s.integerValue(u"e", 77), 77);
    EXPECT_EQ(s.integerValue(u"f", 77), 77);
    EXPECT_EQ(s.integerValue(u"g", 0), 4);
    EXPECT_EQ(s.integerValue(u"missing", 10000), 10000);
}

TEST(SettingsText, LinesFromEditorTextAndBack)
{
    GeneralSettings s;
    s.setText(QStringLiteral("[Общие установки]\r\nСК=1\n"));
    EXPECT_EQ(s.lines(), (QStringList{QStringLiteral("[Общие установки]"), QStringLiteral("СК=1")}));
    s.setText(QString());
    EXPECT_TRUE(s.isEmpty());
    s.setText(QStringLiteral("a\n\nb"));
    EXPECT_EQ(s.lines().size(), 3);
    EXPECT_EQ(s.text(), QStringLiteral("a\n\nb"));
}

TEST(SettingsText, TemplateHasTwentySixLines)
{
    const QStringList lines = GeneralSettings::templateLines();
    ASSERT_EQ(lines.size(), 26);
    EXPECT_EQ(lines.first(), QStringLiteral("[Общие установки]"));
    EXPECT_EQ(lines.last(), QStringLiteral("СК=1"));
    EXPECT_EQ(GeneralSettings(lines).textValue(u"Тон8", QString()), QStringLiteral("1989"));
}
