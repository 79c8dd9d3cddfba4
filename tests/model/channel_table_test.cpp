#include "model/channel_table.h"
#include "model/station_type.h"
#include "model/value_lists.h"

#include <gtest/gtest.h>

#include <functional>

using namespace yalmera;

TEST(ValueLists, SizesAndPositions)
{
    EXPECT_EQ(CtcssTones.size(), 56u);
    EXPECT_EQ(DcsCodes.size(), 85u);
    EXPECT_EQ(firstPosition(CtcssTones, u"67,0"), 1);
    EXPECT_EQ(lastPosition(CtcssTones, u"67,0"), 34);
    EXPECT_EQ(firstPosition(CtcssTones, u"250,3"), 33);
    EXPECT_EQ(firstPosition(CtcssTones, u"74,4"), 36);
    EXPECT_EQ(firstPosition(CtcssTones, u"69,4"), 44);
    EXPECT_EQ(firstPosition(CtcssTones, u"254,1"), 55);
    for (int pos : {34, 35, 37, 39, 41})
        EXPECT_LT(firstPosition(CtcssTones, CtcssTones[static_cast<std::size_t>(pos)]), pos);
    EXPECT_EQ(firstPosition(DcsCodes, u"023"), 1);
    EXPECT_EQ(firstPosition(DcsCodes, u"754"), 84);
    EXPECT_EQ(firstPosition(DcsCodes, u"23"), -1);
    EXPECT_EQ(TimeValues.size(), 16u);
    EXPECT_EQ(ToneNumbers.size(), 11u);
}

TEST(ChannelTableCaptions, CarryTheirBlanks)
{
    EXPECT_EQ(columnCaption(Column::RxFrequency), QStringLiteral(" Rx, кГц"));
    EXPECT_EQ(columnCaption(Column::Squelch), QStringLiteral("  ШП"));
    EXPECT_EQ(columnCaption(Column::Width), QStringLiteral("  SW"));
    EXPECT_EQ(columnCaption(Column::TxFrequency), QStringLiteral(" Tx, кГц"));
    EXPECT_EQ(columnCaption(Column::TxFrequency, CaptionStyle::FileRead), QStringLiteral(" Tx, кГЦ"));
    EXPECT_EQ(columnCaption(Column::ChannelNumber), QStringLiteral("№ кан."));
    EXPECT_EQ(columnCaption(Column::Active), QStringLiteral("Акт"));
    EXPECT_EQ(columnCaption(columnAt(18)), QString());
}

TEST(ChannelTableRows, GrowAndShrinkKeepingTheCaptionRow)
{
    ChannelTable t;
    EXPECT_EQ(t.rowCount(), 1);
    t.writeCaptions();
    t.setRowCount(100);
    EXPECT_EQ(t.channelCount(), 99);
    t.setCell(Column::RxFrequency, 99, QStringLiteral("140000"));
    EXPECT_EQ(t.cell(Column::RxFrequency, 99), QStringLiteral("140000"));
    EXPECT_FALSE(t.hasFlags(99));
    t.setRowCount(0);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.cell(Column::Active, 0), QStringLiteral("Акт"));
    // Out-of-range access is harmless.
    t.setCell(Column::ChannelNumber, 5, QStringLiteral("x"));
    EXPECT_EQ(t.cell(Column::ChannelNumber, 5), QString());
    EXPECT_EQ(t.cell(columnAt(-1), 0), QString());
}

TEST(ChannelTableFlags, CreationStateRemovalAndEditing)
{
    ChannelTable t;
    t.setRowCount(3);
    EXPECT_FALSE(t.flag(Column::Scan, 1).has_value());
    t.setFlag(Column::Scan, 1, false); // no flags yet: ignored
    EXPECT_FALSE(t.hasFlags(1));

    t.createFlags();
    EXPECT_EQ(t.flag(Column::Scan, 2), true);
    EXPECT_EQ(t.flag(Column::IdTone, 2), false);
    EXPECT_EQ(t.flag(Column::Active, 2), true);
    EXPECT_FALSE(t.flag(Column::Scan, 0).has_value()); // the caption row has none
    EXPECT_FALSE(t.flag(Column::Width, 1).has_value());

    t.setFlag(Column::IdTone, 1, true);
    EXPECT_EQ(t.flag(Column::IdTone, 1), true);
    EXPECT_EQ(t.flag(Column::IdTone, 2), false);

    t.removeFlags();
    EXPECT_FALSE(t.hasFlags(1));
    EXPECT_FALSE(t.hasFlags(2));
}

TEST(StationTypeBands, ConstantsAndCaptions)
{
    const StationType vhf = StationType::forBand(Band::Mhz144to174);
    EXPECT_EQ(vhf.lowerLimitKHz, 140000);
    EXPECT_EQ(vhf.upperLimitKHz, 174000);
    EXPECT_EQ(vhf.dividerModulus, 32);
    EXPECT_EQ(vhf.receiveOffsetKHz, 45000);
    EXPECT_EQ(vhf.typeCode, 0);
    EXPECT_EQ(vhf.modelCaption(), QStringLiteral("Ялмера 4К-17"));
    EXPECT_EQ(vhf.lowerLimitText(), QStringLiteral("140000"));
    EXPECT_EQ(vhf.limitsMHzText(), QStringLiteral("140-174"));

    const StationType low = StationType::forBand(Band::Mhz30to60);
    EXPECT_EQ(low.lowerLimitKHz, 30000);
    EXPECT_EQ(low.upperLimitKHz, 60000);
    EXPECT_EQ(low.dividerModulus, 8);
    EXPECT_EQ(low.receiveOffsetKHz, 21400);
    EXPECT_EQ(low.typeCode, 1);
    EXPECT_EQ(low.modelCaption(), QStringLiteral("Ялмера 4К-15"));
    EXPECT_EQ(low.limitsMHzText(), QStringLiteral("30-60"));
}

namespace {

// Rows numbered 1..count with the identification-tone flag set on row 2 only, so that a flag
// shows where its row went.
ChannelTable numberedRows(int count)
{
    ChannelTable t;
    t.setRowCount(count + 1);
    t.createFlags();
    for (int row = 1; row <= count; ++row)
        t.setCell(Column::ChannelNumber, row, QString::number(row));
    t.setFlag(Column::IdTone, 2, true);
    return t;
}

// The rows' numbers, "*" marking the identification tone: "1 2* 3".
QString rowsOf(const ChannelTable& t)
{
    QStringList rows;
    for (int row = 1; row <= t.channelCount(); ++row)
        rows.append(t.cell(Column::ChannelNumber, row) +
                    (t.flag(Column::IdTone, row).value_or(false) ? u"*"_qs : QString()));
    return rows.join(u' ');
}

using Operation = std::function<std::optional<RowMap>(ChannelTable&)>;

} // namespace

TEST(ChannelTableRowOperations, KeepFlagsWithTheirRowsAndSayWhereRowsWent)
{
    const struct
    {
        int count;
        Operation operation;
        QString rows; // after the operation; empty: refused, nothing changed
        RowMap map;
    } cases[]{
        // A copy under the next free number, counting round past 99.
        {4, [](ChannelTable& t) { return t.insertRowAfter(2); }, u"1 2* 5* 3 4"_qs, {0, 1, 2, 4, 5}},
        {2,
         [](ChannelTable& t) {
             t.setCell(Column::ChannelNumber, 2, u"99"_qs);
             return t.insertRowAfter(2);
         },
         u"1 99* 2*"_qs,
         {0, 1, 2}},
        {4, [](ChannelTable& t) { return t.removeRows(2, 3); }, u"1 4"_qs, {0, 1, 0, 0, 2}},
        {4, [](ChannelTable& t) { return t.moveRows(2, 3, -1); }, u"2* 3 1 4"_qs, {0, 3, 1, 2, 4}},
        {4, [](ChannelTable& t) { return t.moveRows(1, 2, 1); }, u"3 1 2* 4"_qs, {0, 2, 3, 1, 4}},
        {99, [](ChannelTable& t) { return t.insertRowAfter(1); }, {}, {}},
        {3, [](ChannelTable& t) { return t.moveRows(1, 2, -1); }, {}, {}},
        {3, [](ChannelTable& t) { return t.moveRows(3, 3, 1); }, {}, {}},
        {3, [](ChannelTable& t) { return t.removeRows(0, 1); }, {}, {}}, // the caption row stays
    };
    for (const auto& c : cases) {
        ChannelTable t = numberedRows(c.count);
        const ChannelTable before = t;
        const std::optional<RowMap> map = c.operation(t);
        if (c.rows.isEmpty()) {
            EXPECT_FALSE(map.has_value()) << rowsOf(before).toStdString();
            EXPECT_EQ(t, before);
            continue;
        }
        EXPECT_EQ(rowsOf(t), c.rows);
        EXPECT_EQ(map, std::optional<RowMap>(c.map)) << c.rows.toStdString();
    }
}
