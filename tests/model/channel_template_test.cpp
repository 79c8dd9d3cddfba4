#include "model/channel_template.h"

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

const StationType Band144 = StationType::forBand(Band::Mhz144to174);
const StationType Band30 = StationType::forBand(Band::Mhz30to60);

const QString CountMessage = QStringLiteral("Вы не ввели количество каналов или ввели слишком много");
const QString StartGridMessage = QStringLiteral("Частота должна быть кратна 6,25кГц");
const QString OffsetGridMessage = QStringLiteral("Шаг смещения должен быть кратен 6,25кГц");

QString rangeMessage(const char16_t* limits)
{
    return QStringLiteral("Введенная частота не соответствует частотному диапазону, частотный диапазон ") +
           QString::fromUtf16(limits) + QStringLiteral(" МГц");
}

TemplateResult make(const char16_t* count, const char16_t* start, const char16_t* offset,
                    const StationType& band = Band144)
{
    return makeChannelTemplate(
        TemplateFields{QString::fromUtf16(count), QString::fromUtf16(start), QString::fromUtf16(offset)},
        band);
}

QStringList frequencies(const ChannelTable& table)
{
    QStringList result;
    for (int row = 1; row < table.rowCount(); ++row) {
        EXPECT_EQ(table.cell(Column::RxFrequency, row), table.cell(Column::TxFrequency, row)) << row;
        result << table.cell(Column::RxFrequency, row);
    }
    return result;
}

} // namespace

TEST(TemplateRows, TenChannelsOfTheDefaultBand)
{
    const TemplateResult plan = make(u"10", u"140000", u"1000");
    ASSERT_TRUE(plan.ok()) << plan.message.text.toStdString();
    EXPECT_EQ(plan.table.rowCount(), 11);
    EXPECT_EQ(frequencies(plan.table),
              QStringList({QStringLiteral("140000"), QStringLiteral("141000"), QStringLiteral("142000"),
                           QStringLiteral("143000"), QStringLiteral("144000"), QStringLiteral("145000"),
                           QStringLiteral("146000"), QStringLiteral("147000"), QStringLiteral("148000"),
                           QStringLiteral("149000")}));
    for (int column = 0; column < ColumnCount; ++column)
        EXPECT_EQ(plan.table.cell(columnAt(column), 0),
                  columnCaption(columnAt(column), CaptionStyle::Standard))
            << column;
}

TEST(TemplateRows, EveryRowGetsTheDefaultCellsAndCreationFlags)
{
    const TemplateResult plan = make(u"3", u"150000", u"12,5");
    ASSERT_TRUE(plan.ok());
    const std::pair<Column, const char16_t*> defaults[] = {
        {Column::CtcssRx, u"Нет"}, {Column::CtcssTx, u"Нет"}, {Column::DcsRx, u"Нет"},
        {Column::DcsTx, u"Нет"},   {Column::ToneRx, u"Нет"},  {Column::ToneTx, u"Нет"},
        {Column::Squelch, u"1"},   {Column::PowerMax, u"4"},  {Column::PowerMin, u"1"},
        {Column::Width, u"25"},    {Column::TxOff, u"Норм"},  {Column::Time, u"Нет"},
        {Column::Scan, u""},       {Column::IdTone, u""},     {Column::Active, u""},
    };
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(plan.table.cell(Column::ChannelNumber, row), QString::number(row));
        for (const auto& [column, text] : defaults)
            EXPECT_EQ(plan.table.cell(column, row), QString::fromUtf16(text))
                << row << ' ' << columnIndex(column);
        EXPECT_EQ(plan.table.rowFlags(row), (RowFlags{true, false, true}));
    }
    EXPECT_EQ(plan.settings.lines(), GeneralSettings::templateLines());
    EXPECT_EQ(plan.settings.lines().size(), 26);
}

TEST(TemplateRows, FrequencyEdgeCases)
{
    struct Case
    {
        const char* name;
        const char16_t* count;
        const char16_t* start;
        const char16_t* offset;
        StationType band;
        QStringList expected;
    };
    const auto list = [](std::initializer_list<const char16_t*> texts) {
        QStringList result;
        for (const char16_t* t : texts)
            result << QString::fromUtf16(t);
        return result;
    };
    const Case cases[] = {
        {"offset 0 keeps every channel on the start", u"3", u"145000", u"0", Band144,
         list({u"145000", u"145000", u"145000"})},
        {"start off the round kHz", u"2", u"144006,25", u"1000", Band144, list({u"144006,25", u"145006,25"})},
        {"offset 6,25 gives the quarter fractions", u"5", u"140000", u"6,25", Band144,
         list({u"140000", u"140006,25", u"140012,5", u"140018,75", u"140025"})},
        {"start at the upper limit", u"3", u"174000", u"1000", Band144,
         list({u"174000", u"174000", u"174000"})},
        {"rows past the band are held at its limit", u"10", u"170000", u"1000", Band144,
         list({u"170000", u"171000", u"172000", u"173000", u"174000", u"174000", u"174000", u"174000",
               u"174000", u"174000"})},
        {"a step that jumps past the limit", u"2", u"173993,75", u"12,5", Band144,
         list({u"173993,75", u"174000"})},
        {"30-60 band", u"3", u"59000", u"500", Band30, list({u"59000", u"59500", u"60000"})},
        {"blanks around numbers and a leading zero", u"02", u" 140000 ", u"1000,", Band144,
         list({u"140000", u"141000"})},
        {"fraction written with more digits", u"1", u"140006,2500", u"0", Band144, list({u"140006,25"})},
    };
    for (const Case& c : cases) {
        const TemplateResult plan = make(c.count, c.start, c.offset, c.band);
        ASSERT_TRUE(plan.ok()) << c.name << ": " << plan.message.text.toStdString();
        EXPECT_EQ(frequencies(plan.table), c.expected) << c.name;
    }
}

TEST(TemplateRows, NinetyNineChannelsGiveAHundredRows)
{
    const TemplateResult plan = make(u"99", u"140000", u"6,25");
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan.table.rowCount(), 100);
    EXPECT_EQ(plan.table.cell(Column::ChannelNumber, 99), QStringLiteral("99"));
    EXPECT_EQ(plan.table.cell(Column::RxFrequency, 99), QStringLiteral("140612,5"));
}

TEST(TemplateRefusals, MessagesSoundsAndTheirOrder)
{
    struct Case
    {
        const char* name;
        const char16_t* count;
        const char16_t* start;
        const char16_t* offset;
        StationType band;
        UserMessage expected;
    };
    const UserMessage count = UserMessage::notice(CountMessage, Sound::CriticalStop);
    const UserMessage startGrid = UserMessage::notice(StartGridMessage, Sound::CriticalStop);
    const UserMessage offsetGrid = UserMessage::notice(OffsetGridMessage, Sound::CriticalStop);
    const Case cases[] = {
        {"empty count", u"", u"140000", u"1000", Band144, count},
        {"three digits", u"100", u"140000", u"1000", Band144, count},
        {"count zero", u"0", u"140000", u"1000", Band144, count},
        {"count double zero", u"00", u"140000", u"1000", Band144, count},
        {"negative count", u"-1", u"140000", u"1000", Band144, count},
        {"count before everything else", u"123", u"x", u"y", Band144, count},
        {"pasted letters", u"ab", u"140000", u"1000", Band144,
         UserMessage::failure(QStringLiteral("'ab' is not a valid integer value"))},
        {"count blank after digit", u"5 ", u"140000", u"1000", Band144,
         UserMessage::failure(QStringLiteral("'5 ' is not a valid integer value"))},
        {"letters in the count only count once the frequencies pass", u"ab", u"140001", u"1000", Band144,
         startGrid},
        {"letters in the count after the range test", u"1a", u"139000", u"1000", Band144,
         UserMessage::notice(rangeMessage(u"140-174"))},
        {"start off grid", u"10", u"140001", u"1000", Band144, startGrid},
        {"start off grid beats a bad offset", u"10", u"140001", u"1,1,", Band144, startGrid},
        {"start off grid by less than a hundredth passes", u"1", u"140000,004", u"1000", Band144, {}},
        {"offset off grid", u"10", u"140000", u"1000,5", Band144, offsetGrid},
        {"off-grid offset beats the range", u"10", u"100000", u"3", Band144, offsetGrid},
        {"empty start", u"10", u"", u"1000", Band144,
         UserMessage::failure(QStringLiteral("'' is not a valid floating point value"))},
        {"two commas", u"10", u"140000,0,0", u"1000", Band144,
         UserMessage::failure(QStringLiteral("'140000,0,0' is not a valid floating point value"))},
        {"point is no separator", u"10", u"140000", u"6.25", Band144,
         UserMessage::failure(QStringLiteral("'6.25' is not a valid floating point value"))},
        {"empty offset", u"10", u"140000", u"", Band144,
         UserMessage::failure(QStringLiteral("'' is not a valid floating point value"))},
        {"below the band, on the grid", u"10", u"139993,75", u"1000", Band144,
         UserMessage::notice(rangeMessage(u"140-174"))},
        {"above the band", u"10", u"174006,25", u"1000", Band144,
         UserMessage::notice(rangeMessage(u"140-174"))},
        {"the menu's 144 is not the limit", u"10", u"139000", u"1000", Band144,
         UserMessage::notice(rangeMessage(u"140-174"))},
        {"30-60 band below", u"10", u"29993,75", u"1000", Band30,
         UserMessage::notice(rangeMessage(u"30-60"))},
        {"30-60 band above", u"1", u"140000", u"1000", Band30, UserMessage::notice(rangeMessage(u"30-60"))},
    };
    for (const Case& c : cases) {
        const TemplateResult result = make(c.count, c.start, c.offset, c.band);
        EXPECT_EQ(result.message, c.expected) << c.name << ": " << result.message.text.toStdString();
        if (!result.ok()) {
            EXPECT_EQ(result.table.rowCount(), 1) << c.name;
            EXPECT_TRUE(result.settings.isEmpty()) << c.name;
        }
    }
}

TEST(TemplateRefusals, HugeAndOddNumbersAreHandled)
{
    // Far outside the band, or so large that x 100 overflows: refused, never undefined.
    EXPECT_FALSE(make(u"1", u"1E300", u"1000").ok());
    EXPECT_FALSE(make(u"1", u"140000", u"1E307").ok());
    EXPECT_FALSE(make(u"1", u"-140000", u"1000").ok());
    // A huge on-grid offset only pushes later rows to the limit.
    const TemplateResult plan = make(u"2", u"140000", u"1E20");
    ASSERT_TRUE(plan.ok()) << plan.message.text.toStdString();
    EXPECT_EQ(frequencies(plan.table), QStringList({QStringLiteral("140000"), QStringLiteral("174000")}));
}
