#include "files/delimited_text.h"

#include <gtest/gtest.h>

using namespace yalmera;

TEST(DelimitedText, QuotesWhatNeedsItAndReadsBackEveryField)
{
    const QList<QStringList> rows{{u"a"_qs, u""_qs, u"b;c"_qs},
                                  {u"say \"hi\""_qs, u"two\nlines"_qs, u" x "_qs}};
    const QString csv = formatDelimited(rows, u';', u"\r\n");
    EXPECT_EQ(csv, u"a;;\"b;c\"\r\n\"say \"\"hi\"\"\";\"two\nlines\"; x \r\n"_qs);
    EXPECT_EQ(parseDelimited(csv, u';'), rows);

    // Spreadsheets' own ways: LF or CR alone, an empty line in the middle, a tab-separated
    // block with a trailing line break, an unclosed quote that runs to the end.
    EXPECT_EQ(parseDelimited(u"1;2\n\n3;4"_qs, u';'),
              (QList<QStringList>{{u"1"_qs, u"2"_qs}, {u""_qs}, {u"3"_qs, u"4"_qs}}));
    EXPECT_EQ(parseDelimited(u"a\tb\rc\td\r\n"_qs, u'\t'),
              (QList<QStringList>{{u"a"_qs, u"b"_qs}, {u"c"_qs, u"d"_qs}}));
    EXPECT_EQ(parseDelimited(u"x;\"open"_qs, u';'), (QList<QStringList>{{u"x"_qs, u"open"_qs}}));
    EXPECT_TRUE(parseDelimited(QString(), u'\t').isEmpty());
}
