#include "files/ini_document.h"

#include <gtest/gtest.h>

using namespace yalmera::files;

namespace {

QStringList linesOf(std::initializer_list<const char16_t*> lines)
{
    QStringList list;
    for (const char16_t* line : lines)
        list << QString::fromUtf16(line);
    return list;
}

} // namespace

TEST(IniDocumentText, SplitsAtEveryKindOfLineEnd)
{
    struct Case
    {
        const char16_t* text;
        std::initializer_list<const char16_t*> lines;
    };
    const Case cases[] = {
        {u"a\r\nb\r\n", {u"a", u"b"}},
        {u"a\nb\n", {u"a", u"b"}},
        {u"a\rb\r", {u"a", u"b"}},
        {u"a\r\n\r\nb", {u"a", u"", u"b"}},
        {u"a\n\rb", {u"a", u"", u"b"}}, // LF then CR: two line ends
        {u"a\r\r\nb", {u"a", u"", u"b"}},
        {u"", {}},
        {u"\r\n", {u""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniDocument::fromText(QString::fromUtf16(c.text)).lines(), linesOf(c.lines))
            << QString::fromUtf16(c.text).toStdString();
}

TEST(IniDocumentText, WritesEveryLineWithCrLf)
{
    const IniDocument document(linesOf({u"; до разделов", u"[Раздел]", u"Ключ=Значение", u""}));
    EXPECT_EQ(document.text(), QStringLiteral("; до разделов\r\n[Раздел]\r\nКлюч=Значение\r\n\r\n"));
    EXPECT_EQ(IniDocument::fromText(document.text()).lines(), document.lines());
}

TEST(IniDocumentRead, FollowsTheSharedReadingRules)
{
    const IniDocument document(linesOf({
        u"Ключ=до разделов",
        u"[Раздел]",
        u"  Ключ  =  a = b  ",
        u"ключ=второй",
        u"без знака",
        u"=без имени",
        u"[раздел]",
        u"Другой=1",
        u"[ЯЁ]",
        u"ЁЖ=x",
        u"[Пустой]",
        u"; только заметка",
    }));
    EXPECT_EQ(document.value(u"РАЗДЕЛ", u"КЛЮЧ"), QStringLiteral("a = b"));
    EXPECT_FALSE(document.value(u"Раздел", u"Другой").has_value()); // the second "Раздел" is not read
    EXPECT_FALSE(document.value(u"Раздел", u"без знака").has_value());
    EXPECT_EQ(document.value(u"яё", u"ёж"), QStringLiteral("x"));
    EXPECT_EQ(document.value(u"Нет", u"Ключ", QStringLiteral("умолчание")), QStringLiteral("умолчание"));
    EXPECT_TRUE(document.hasKeys(u" раздел "));
    EXPECT_FALSE(document.hasKeys(u"Пустой"));
    EXPECT_FALSE(document.hasKeys(u"Нет"));
}

TEST(IniDocumentWrite, ReplacesAnExistingKeyInPlace)
{
    IniDocument document(linesOf({u"[A]", u"x=1", u" Тип = 5 ", u"y=2", u"[B]", u"тип=9"}));
    document.setValue(QStringLiteral("a"), QStringLiteral("Тип"), QStringLiteral("0"));
    EXPECT_EQ(document.lines(), linesOf({u"[A]", u"x=1", u"Тип=0", u"y=2", u"[B]", u"тип=9"}));
    EXPECT_EQ(document.value(u"A", u"тип"), QStringLiteral("0"));
}

TEST(IniDocumentWrite, AddsANewKeyAfterTheSectionsLastKeyLine)
{
    IniDocument document(linesOf({u"[A]", u"x=1", u"", u"; заметка", u"[B]"}));
    document.setValue(QStringLiteral("A"), QStringLiteral("y"), QStringLiteral("2"));
    document.setValue(QStringLiteral("B"), QStringLiteral("z"), QStringLiteral("3"));
    EXPECT_EQ(document.lines(), linesOf({u"[A]", u"x=1", u"y=2", u"", u"; заметка", u"[B]", u"z=3"}));
}

TEST(IniDocumentWrite, AppendsAMissingSectionAtTheEnd)
{
    IniDocument document(linesOf({u"k=v", u"[A]", u"x=1"}));
    document.setValue(QStringLiteral("Общие установки"), QStringLiteral("Тип"), QStringLiteral("1"));
    document.setValue(QStringLiteral("Общие установки"), QStringLiteral("ТипВУ"), QStringLiteral("0"));
    document.setValue(QStringLiteral("1"), QStringLiteral("Номер"), QStringLiteral("1"));
    EXPECT_EQ(document.lines(), linesOf({u"k=v", u"[A]", u"x=1", u"[Общие установки]", u"Тип=1", u"ТипВУ=0",
                                         u"[1]", u"Номер=1"}));
    EXPECT_EQ(document.value(u"общие УСТАНОВКИ", u"типву"), QStringLiteral("0"));
}

TEST(IniDocumentWrite, WritesIntoTheFirstSectionOfAName)
{
    IniDocument document(linesOf({u"[A]", u"[B]", u"[a]", u"x=1"}));
    document.setValue(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2"));
    EXPECT_EQ(document.lines(), linesOf({u"[A]", u"x=2", u"[B]", u"[a]", u"x=1"}));
    EXPECT_EQ(document.value(u"a", u"x"), QStringLiteral("2"));
}
