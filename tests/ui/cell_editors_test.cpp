#include "ui/cell_editors.h"

#include "model/channel_table.h"

#include <gtest/gtest.h>

namespace yalmera::ui {
namespace {

using Kind = StartingItem::Kind;

struct StartCase
{
    const char* name;
    CellEditor editor;
    QString text;
    Kind kind;
    int index;
};

class StartingItemTest : public ::testing::TestWithParam<StartCase>
{
};

TEST_P(StartingItemTest, ChoosesTheItemOfTheCellText)
{
    const StartCase& c = GetParam();
    const StartingItem start = startingItem(c.editor, c.text);
    EXPECT_EQ(start.kind, c.kind);
    if (c.kind == Kind::Item) {
        EXPECT_EQ(start.index, c.index);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StartingItemTest,
    ::testing::Values(
        // A tone listed twice starts on its second position.
        StartCase{"CtcssRepeatedTone", CellEditor::CtcssTones, QStringLiteral("67,0"), Kind::Item, 34},
        StartCase{"CtcssRepeated88", CellEditor::CtcssTones, QStringLiteral("88,5"), Kind::Item, 41},
        StartCase{"CtcssSingleTone", CellEditor::CtcssTones, QStringLiteral("254,1"), Kind::Item, 55},
        StartCase{"CtcssNone", CellEditor::CtcssTones, QStringLiteral("Нет"), Kind::Item, 0},
        StartCase{"CtcssPointNotComma", CellEditor::CtcssTones, QStringLiteral("67.0"), Kind::KeepPrevious,
                  -1},
        StartCase{"DcsLeadingZero", CellEditor::DcsCodes, QStringLiteral("023"), Kind::Item, 1},
        StartCase{"DcsWithoutZero", CellEditor::DcsCodes, QStringLiteral("23"), Kind::KeepPrevious, -1},
        StartCase{"DcsLast", CellEditor::DcsCodes, QStringLiteral("754"), Kind::Item, 84},
        StartCase{"ToneNone", CellEditor::ToneNumbers, QStringLiteral("Нет"), Kind::Item, 0},
        StartCase{"ToneThree", CellEditor::ToneNumbers, QStringLiteral("3"), Kind::Item, 3},
        StartCase{"ToneTen", CellEditor::ToneNumbers, QStringLiteral("10"), Kind::Item, 10},
        StartCase{"ToneOutOfList", CellEditor::ToneNumbers, QStringLiteral("11"), Kind::Item, -1},
        StartCase{"ToneNotANumber", CellEditor::ToneNumbers, QStringLiteral("три"), Kind::ConversionError,
                  -1},
        StartCase{"SquelchOne", CellEditor::Squelch, QStringLiteral("1"), Kind::Item, 0},
        StartCase{"SquelchSix", CellEditor::Squelch, QStringLiteral("6"), Kind::Item, 5},
        StartCase{"SquelchTwelve", CellEditor::Squelch, QStringLiteral("12"), Kind::Item, -1},
        StartCase{"SquelchZero", CellEditor::Squelch, QStringLiteral("0"), Kind::Item, -1},
        StartCase{"SquelchNone", CellEditor::Squelch, QStringLiteral("Нет"), Kind::ConversionError, -1},
        StartCase{"SquelchEmpty", CellEditor::Squelch, QString(), Kind::ConversionError, -1},
        StartCase{"PowerFour", CellEditor::PowerSteps, QStringLiteral("4"), Kind::Item, 3},
        StartCase{"PowerHex", CellEditor::PowerSteps, QStringLiteral("$2"), Kind::Item, 1},
        StartCase{"PowerHuge", CellEditor::PowerSteps, QStringLiteral("2147483647"), Kind::Item, -1},
        StartCase{"PowerNegative", CellEditor::PowerSteps, QStringLiteral("-2147483648"), Kind::Item, -1},
        StartCase{"WidthNarrow", CellEditor::ChannelWidth, QStringLiteral("12,5"), Kind::Item, 0},
        StartCase{"WidthWide", CellEditor::ChannelWidth, QStringLiteral("25"), Kind::Item, 1},
        StartCase{"WidthOtherText", CellEditor::ChannelWidth, QStringLiteral("20"), Kind::Item, 0},
        StartCase{"TxOffRssi", CellEditor::TxOffModes, QStringLiteral("RSSI"), Kind::Item, 1},
        StartCase{"TxOffOff", CellEditor::TxOffModes, QStringLiteral("OFF"), Kind::Item, 2},
        StartCase{"TxOffUnknown", CellEditor::TxOffModes, QStringLiteral("Выкл"), Kind::KeepPrevious, -1},
        StartCase{"TimeNone", CellEditor::TimeValues, QStringLiteral("Нет"), Kind::Item, 0},
        StartCase{"TimeFifteen", CellEditor::TimeValues, QStringLiteral("15"), Kind::Item, 15},
        StartCase{"TimeSixteen", CellEditor::TimeValues, QStringLiteral("16"), Kind::Item, -1}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST(StartingItem, ConversionErrorNamesTheText)
{
    const StartingItem start = startingItem(CellEditor::Squelch, QStringLiteral("1,5"));
    ASSERT_EQ(start.kind, Kind::ConversionError);
    EXPECT_EQ(start.error, QStringLiteral("'1,5' is not a valid integer value"));
}

TEST(CellEditors, EveryColumnHasItsEditor)
{
    const CellEditor expected[ColumnCount] = {
        CellEditor::Typed,       CellEditor::Typed,        CellEditor::Typed,      CellEditor::CtcssTones,
        CellEditor::CtcssTones,  CellEditor::DcsCodes,     CellEditor::DcsCodes,   CellEditor::ToneNumbers,
        CellEditor::ToneNumbers, CellEditor::Squelch,      CellEditor::PowerSteps, CellEditor::PowerSteps,
        CellEditor::Flag,        CellEditor::ChannelWidth, CellEditor::Flag,       CellEditor::TxOffModes,
        CellEditor::TimeValues,  CellEditor::Flag,
    };
    for (int column = 0; column < ColumnCount; ++column)
        EXPECT_EQ(editorForColumn(columnAt(column)), expected[column]) << "column " << column;
}

TEST(CellEditors, ListsAndNamesFollowTheComponents)
{
    EXPECT_EQ(editorObjectName(CellEditor::CtcssTones), QStringLiteral("ComboBox1"));
    EXPECT_EQ(editorObjectName(CellEditor::TimeValues), QStringLiteral("ComboBox7"));
    EXPECT_EQ(editorObjectName(CellEditor::TxOffModes), QStringLiteral("ComboBox8"));
    EXPECT_TRUE(editorObjectName(CellEditor::Typed).isEmpty());
    EXPECT_EQ(editorItems(CellEditor::CtcssTones).size(), 56);
    EXPECT_EQ(editorItems(CellEditor::DcsCodes).size(), 85);
    EXPECT_EQ(editorItems(CellEditor::TimeValues).size(), 16);
    EXPECT_EQ(editorItems(CellEditor::TxOffModes),
              (QStringList{QStringLiteral("Норм"), QStringLiteral("RSSI"), QStringLiteral("OFF")}));
}

} // namespace
} // namespace yalmera::ui
