#include "model/repeater.h"

#include <gtest/gtest.h>

#include <vector>

using namespace yalmera;

namespace {

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Rows 1..count numbered count+1..2*count-ish (never equal to their row), receive frequency
// 140000 + row kHz, transmit 150000 + row kHz, scan set.
struct Plan
{
    ChannelTable table;
    RepeaterSavedTexts saved;
    std::vector<quint8> numbers; // channel numbers as the last check encoded them

    explicit Plan(int count)
    {
        table.setRowCount(count + 1);
        table.createFlags();
        for (int row = 1; row <= count; ++row) {
            numbers.push_back(static_cast<quint8>(row + 10));
            table.setCell(Column::ChannelNumber, row, QString::number(row + 10));
            table.setCell(Column::RxFrequency, row, QString::number(140000 + row));
            table.setCell(Column::TxFrequency, row, QString::number(150000 + row));
        }
    }

    RepeaterWriteResult write(const QString& number, RepeaterMode mode)
    {
        return writeRepeaterMark(table, saved, numbers, number, mode);
    }
    QString rx(int row) const { return table.cell(Column::RxFrequency, row); }
    QString tx(int row) const { return table.cell(Column::TxFrequency, row); }
};

const QString RxMark = s(u"РЕТР_ПП");
const QString TxMark = s(u"РЕТР_ПР");

} // namespace

TEST(RepeaterMarks, ReceiveThenTransmitOnOneChannelGivesTheFrequencyBack)
{
    Plan plan(6);
    ASSERT_TRUE(plan.write(QStringLiteral("15"), RepeaterMode::Receive).ok());
    EXPECT_EQ(plan.rx(5), QStringLiteral("140005"));
    EXPECT_EQ(plan.tx(5), TxMark);

    const RepeaterWriteResult result = plan.write(QStringLiteral("15"), RepeaterMode::Transmit);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.row, 5);
    EXPECT_EQ(plan.tx(5), QStringLiteral("150005"));
    EXPECT_EQ(plan.rx(5), RxMark);
    EXPECT_EQ(plan.saved.value(5), (RepeaterSavedText{Column::RxFrequency, QStringLiteral("140005")}));

    // And back again.
    ASSERT_TRUE(plan.write(QStringLiteral("15"), RepeaterMode::Receive).ok());
    EXPECT_EQ(plan.rx(5), QStringLiteral("140005"));
    EXPECT_EQ(plan.tx(5), TxMark);
}

TEST(RepeaterMarks, ReceiveTwiceKeepsTheRealFrequencyRestorable)
{
    Plan plan(3);
    ASSERT_TRUE(plan.write(QStringLiteral("12"), RepeaterMode::Receive).ok());
    ASSERT_TRUE(plan.write(QStringLiteral("12"), RepeaterMode::Receive).ok());
    EXPECT_EQ(plan.saved.value(2).text, QStringLiteral("150002"));
    ASSERT_TRUE(plan.write(QStringLiteral("12"), RepeaterMode::Transmit).ok());
    EXPECT_EQ(plan.tx(2), QStringLiteral("150002"));
    EXPECT_EQ(plan.rx(2), RxMark);
}

TEST(RepeaterMarks, OtherChannelsInBetweenDoNotMixFrequencies)
{
    Plan plan(4);
    ASSERT_TRUE(plan.write(QStringLiteral("11"), RepeaterMode::Receive).ok());
    ASSERT_TRUE(plan.write(QStringLiteral("13"), RepeaterMode::Transmit).ok());
    ASSERT_TRUE(plan.write(QStringLiteral("14"), RepeaterMode::Receive).ok());
    ASSERT_TRUE(plan.write(QStringLiteral("11"), RepeaterMode::Transmit).ok());
    ASSERT_TRUE(plan.write(QStringLiteral("13"), RepeaterMode::Receive).ok());

    EXPECT_EQ(plan.tx(1), QStringLiteral("150001"));
    EXPECT_EQ(plan.rx(1), RxMark);
    EXPECT_EQ(plan.rx(3), QStringLiteral("140003"));
    EXPECT_EQ(plan.tx(3), TxMark);
    EXPECT_EQ(plan.rx(4), QStringLiteral("140004"));
    EXPECT_EQ(plan.tx(4), TxMark);
    EXPECT_EQ(plan.rx(2), QStringLiteral("140002")); // untouched
    EXPECT_EQ(plan.tx(2), QStringLiteral("150002"));
}

TEST(RepeaterMarks, AMarkWithNothingSavedIsReplacedByTheEmptyText)
{
    Plan plan(2);
    plan.table.setCell(Column::TxFrequency, 1, TxMark); // from a file, say
    ASSERT_TRUE(plan.write(QStringLiteral("11"), RepeaterMode::Transmit).ok());
    EXPECT_EQ(plan.tx(1), QString());
    EXPECT_EQ(plan.rx(1), RxMark);

    // Both columns marked: each restores only what was saved from that column.
    Plan both(1);
    ASSERT_TRUE(both.write(QStringLiteral("11"), RepeaterMode::Transmit).ok()); // saves the receive frequency
    both.table.setCell(Column::TxFrequency, 1, TxMark);
    ASSERT_TRUE(both.write(QStringLiteral("11"), RepeaterMode::Receive).ok());
    EXPECT_EQ(both.rx(1), QStringLiteral("140001"));
    EXPECT_EQ(both.tx(1), TxMark);
    ASSERT_TRUE(both.write(QStringLiteral("11"), RepeaterMode::Transmit).ok());
    EXPECT_EQ(both.tx(1), QString()); // never the receive frequency
    EXPECT_EQ(both.rx(1), RxMark);

    // The other way round: the receive column never gets the transmit frequency saved.
    Plan other(1);
    ASSERT_TRUE(other.write(QStringLiteral("11"), RepeaterMode::Receive).ok());
    other.table.setCell(Column::RxFrequency, 1, RxMark);
    ASSERT_TRUE(other.write(QStringLiteral("11"), RepeaterMode::Receive).ok());
    EXPECT_EQ(other.rx(1), QString());
    ASSERT_TRUE(other.write(QStringLiteral("11"), RepeaterMode::Transmit).ok());
    EXPECT_EQ(other.tx(1), QStringLiteral("150001"));
}

TEST(RepeaterMarks, LookupUsesTheCheckedChannelNumbersNotRowsNorCurrentCells)
{
    Plan plan(5);
    // Row 3 carried 13 at the check; its cell says 2 now. Number 3 names no channel.
    plan.table.setCell(Column::ChannelNumber, 3, QStringLiteral("2"));
    EXPECT_EQ(plan.write(QStringLiteral("3"), RepeaterMode::Receive).message.text,
              s(u"Такого номера канала нет в таблице !!!"));
    EXPECT_EQ(plan.write(QStringLiteral("2"), RepeaterMode::Receive).message.text,
              s(u"Такого номера канала нет в таблице !!!"));
    const RepeaterWriteResult result = plan.write(QStringLiteral("13"), RepeaterMode::Receive);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.row, 3);
    EXPECT_EQ(plan.tx(3), TxMark);

    // The first of two equal numbers wins.
    plan.numbers[4] = 12;
    EXPECT_EQ(plan.write(QStringLiteral("12"), RepeaterMode::Transmit).row, 2);
}

TEST(RepeaterMarks, RefusalsChangeNothing)
{
    struct Case
    {
        QString number;
        UserMessage message;
    };
    const Case cases[] = {
        {QString(), UserMessage::notice(s(u"Вы не указали номер канала !!!"))},
        {QStringLiteral("99"), UserMessage::notice(s(u"Такого номера канала нет в таблице !!!"))},
        // 267 is 11 in its low byte, but the channel numbers are compared whole.
        {QStringLiteral("267"), UserMessage::notice(s(u"Такого номера канала нет в таблице !!!"))},
        {QStringLiteral("99999999999"),
         UserMessage::failure(QStringLiteral("'99999999999' is not a valid integer value"))},
        {QStringLiteral("1a"), UserMessage::failure(QStringLiteral("'1a' is not a valid integer value"))},
    };
    for (const Case& c : cases) {
        Plan plan(3);
        const ChannelTable before = plan.table;
        const RepeaterWriteResult result = plan.write(c.number, RepeaterMode::Receive);
        EXPECT_EQ(result.message, c.message) << c.number.toStdString();
        EXPECT_EQ(plan.table, before);
        EXPECT_TRUE(plan.saved.isEmpty());
    }

    // An image with more channels than the table (a newer, shorter table) never writes past it.
    Plan shorter(2);
    shorter.numbers.push_back(50);
    EXPECT_FALSE(shorter.write(QStringLiteral("50"), RepeaterMode::Receive).ok());
    EXPECT_EQ(shorter.table.rowCount(), 3);
}

TEST(RepeaterMarks, ScanFlagClearedOthersKept)
{
    Plan plan(2);
    plan.table.setFlag(Column::IdTone, 2, true);
    ASSERT_TRUE(plan.write(QStringLiteral("12"), RepeaterMode::Transmit).ok());
    EXPECT_EQ(plan.table.rowFlags(2), (RowFlags{false, true, true}));
    EXPECT_EQ(plan.table.rowFlags(1), RowFlags{});
}
