#include "report/protocol_document.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace yalmera;
using namespace yalmera::report;

namespace {

QList<int> headerRowNumbers(const ProtocolDocument& document)
{
    QList<int> rows; // 1-based table rows, as a word processor counts them
    for (int i = 0; i < document.tableRows.size(); ++i) {
        if (document.tableRows[i].kind == RowKind::Header)
            rows.append(i + 1);
    }
    return rows;
}

// The row count as a word processor computes it before filling the table.
int rowCountByFormula(int channels)
{
    int rows = channels + 1;
    if (rows > 31)
        ++rows;
    if (rows > 63)
        ++rows;
    if (rows > 95)
        ++rows;
    return rows;
}

} // namespace

TEST(ProtocolTable, RowCountsAndRepeatedHeaderRows)
{
    struct Case
    {
        int channels;
        int rows;
        QList<int> headers;
    };
    const Case cases[] = {
        {1, 2, {1}},           {30, 31, {1}},         {31, 33, {1, 32}},         {61, 63, {1, 32}},
        {62, 65, {1, 32, 64}}, {92, 95, {1, 32, 64}}, {93, 97, {1, 32, 64, 96}}, {99, 103, {1, 32, 64, 96}},
    };
    for (const Case& c : cases) {
        const ProtocolDocument document = buildProtocolDocument(checkedPlan(c.channels), QStringLiteral("X"));
        EXPECT_EQ(document.tableRows.size(), c.rows) << c.channels;
        EXPECT_EQ(headerRowNumbers(document), c.headers) << c.channels;
        EXPECT_EQ(document.channelRowCount(), c.channels);
    }
}

TEST(ProtocolTable, EveryChannelCountMatchesTheWordProcessorsRowArithmetic)
{
    for (int channels = 0; channels <= 99; ++channels) {
        const ProtocolDocument document = buildProtocolDocument(checkedPlan(channels), QString());
        ASSERT_EQ(document.tableRows.size(), rowCountByFormula(channels)) << channels;
        // Channels in table order, each at the row the fill loop gives it.
        int expected = 1;
        for (const TableRow& row : document.tableRows) {
            if (row.kind == RowKind::Channel) {
                EXPECT_EQ(row.channel, expected++) << channels;
            }
        }
    }
}

TEST(ProtocolTable, ChannelRowsPlaceColumnsAsPrintedWithPminBeforePmax)
{
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(31), QString());
    const TableRow& channel31 = document.tableRows[32]; // row 33
    ASSERT_EQ(channel31.kind, RowKind::Channel);
    EXPECT_EQ(channel31.channel, 31);
    const QStringList expected{
        u"c0r31"_qs, u"c1r31"_qs,  u"c2r31"_qs, u"c3r31"_qs,  u"c4r31"_qs,  u"c5r31"_qs,
        u"c6r31"_qs, u"c7r31"_qs,  u"c8r31"_qs, u"c9r31"_qs,  u"c11r31"_qs, u"c10r31"_qs, // P_min, P_max
        u"+"_qs,     u"c13r31"_qs, u"-"_qs,     u"c15r31"_qs, u"c16r31"_qs, u"+"_qs,
    };
    for (int i = 0; i < ProtocolColumnCount; ++i)
        EXPECT_EQ(channel31.cells[i], expected[i]) << i;
    EXPECT_EQ(channel31.style, (TextStyle{Alignment::Center, false, 12}));
}

TEST(ProtocolTable, HeaderRowsCarryTheHeaderTextsBoldEleven)
{
    const QStringList headers{u"№"_qs,      u"Прием"_qs,  u"Передача"_qs, u"CTCSS_Rx"_qs, u"CTCSS_Tx"_qs,
                              u"DCS_Rx"_qs, u"DCS_Tx"_qs, u"Tон_Rx"_qs,   u"Tон_Tx"_qs,   u"ШП"_qs,
                              u"Pmin"_qs,   u"Pmax"_qs,   u"Скан"_qs,     u"Sw"_qs,       u"Id"_qs,
                              u"Tx_Off"_qs, u"Time"_qs,   u"Акт"_qs};
    const int widths[] = {23, 62, 62, 69, 69, 54, 54, 51, 49, 32, 37, 38, 37, 33, 24, 46, 36, 31};
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(62), QString());
    for (int rowNumber : {1, 32, 64}) {
        const TableRow& row = document.tableRows[rowNumber - 1];
        EXPECT_EQ(row.style, (TextStyle{Alignment::Center, true, 11}));
        for (int i = 0; i < ProtocolColumnCount; ++i)
            EXPECT_EQ(row.cells[i], headers[i]) << rowNumber << ' ' << i;
    }
    for (int i = 0; i < ProtocolColumnCount; ++i)
        EXPECT_EQ(protocolColumns()[i].widthPt, widths[i]) << i;
    // The tone headers begin with a Latin "T", then Cyrillic letters.
    for (int i : {7, 8}) {
        EXPECT_EQ(protocolColumns()[i].header[0].unicode(), 0x54);
        EXPECT_EQ(protocolColumns()[i].header[1].unicode(), 0x43E);
    }
}

TEST(ProtocolTable, FittedColumnWidthsAddUpExactlyAndKeepTheProportions)
{
    // Twips between the margins of A4 landscape, pixels of a 1200 dpi page, the designed total.
    for (const int total : {15838, 13200, 807, 17}) {
        const auto widths = fittedColumnWidths(total);
        EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), total) << total;
        for (int i = 0; i < ProtocolColumnCount; ++i)
            EXPECT_NEAR(widths[i], protocolColumns()[i].widthPt * total / 807.0, 1.0) << total << ' ' << i;
    }
}

TEST(ProtocolTable, FlagsPrintPlusOrMinusAndARowWithoutFlagsPrintsMinus)
{
    AppState state = checkedPlan(3);
    state.editTable().setFlag(Column::Scan, 1, false);
    state.editTable().setFlag(Column::IdTone, 2, true);
    state.editTable().setFlag(Column::Active, 2, false);
    ProtocolDocument document = buildProtocolDocument(state, QString());
    auto flags = [&](int channel) {
        const TableRow& row = document.tableRows[channel];
        return row.cells[12] + row.cells[14] + row.cells[17];
    };
    EXPECT_EQ(flags(1), u"--+"_qs);
    EXPECT_EQ(flags(2), u"++-"_qs); // scan kept, "Id_Тон" set, not active
    EXPECT_EQ(flags(3), u"+-+"_qs);

    state.editTable().removeFlags(); // a band change after the check
    document = buildProtocolDocument(state, QString());
    for (int channel = 1; channel <= 3; ++channel)
        EXPECT_EQ(flags(channel), u"---"_qs);
}

TEST(ProtocolTable, ShowsTableAsEditedAfterTheCheckWithTheImagesChannelCount)
{
    AppState state = checkedPlan(10);
    acceptImageOf(state, 8); // the check saw 8 rows; two were added since
    state.editTable().setCell(Column::RxFrequency, 2, u"145006,25"_qs);
    const ProtocolDocument document = buildProtocolDocument(state, QString());
    EXPECT_EQ(document.channelRowCount(), 8);
    EXPECT_EQ(document.tableRows[2].cells[1], u"145006,25"_qs);
}

TEST(ProtocolTable, ChannelCountAboveTheTablesRowsIsBoundedByTheTable)
{
    AppState state = checkedPlan(5);
    acceptImageOf(state, 40); // a station read that broke off
    const ProtocolDocument document = buildProtocolDocument(state, QString());
    EXPECT_EQ(document.channelRowCount(), 5);
    EXPECT_EQ(document.tableRows.size(), 6);

    state.editTable().setRowCount(1); // captions only
    EXPECT_EQ(buildProtocolDocument(state, QString()).tableRows.size(), 1);
}

TEST(ProtocolParagraphs, TitleSerialEmptyLineSettingsLinesEmptyLine)
{
    AppState state = checkedPlan(2);
    state.editSettings().setLines(
        {u"[Общие установки]"_qs, u"Серийный номер=77"_qs, QString(), u"Id_номер=0001"_qs});
    const ProtocolDocument document = buildProtocolDocument(state, u"К17М-12345"_qs);

    const TextStyle title{Alignment::Center, true, 20};
    const TextStyle body{Alignment::Left, false, 12};
    const QList<Paragraph> expected{
        {u"Ялмера - 407"_qs, title},
        {u"К17М-12345"_qs, title},
        {QString(), body},
        {u"[Общие установки]"_qs, body},
        {u"Серийный номер=77"_qs, body},
        {QString(), body},
        {u"Id_номер=0001"_qs, body},
        {QString(), body},
    };
    EXPECT_EQ(document.paragraphs, expected);
    EXPECT_EQ(document.serialNumber, u"К17М-12345"_qs);
    EXPECT_EQ(document.page, (PageSetup{true, 25, 25, 75, 63}));
}

TEST(ProtocolParagraphs, EmptySerialNumberStillGivesACentredBoldTwentyPointParagraph)
{
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(1), QString());
    ASSERT_GE(document.paragraphs.size(), 2);
    EXPECT_EQ(document.paragraphs[1], (Paragraph{QString(), {Alignment::Center, true, 20}}));
}

TEST(ProtocolBuild, LeavesTheStateAsItWas)
{
    AppState state = checkedPlan(40);
    DeviceImage image = state.image();
    image.channelCount = 60;
    state.acceptCheck(image, 43);
    const AppState before = state;
    buildProtocolDocument(state, u"1"_qs);
    EXPECT_EQ(state.table(), before.table());
    EXPECT_EQ(state.settings(), before.settings());
    EXPECT_EQ(state.image(), before.image());
    EXPECT_TRUE(state.dataChecked());
    EXPECT_EQ(state.settingsDigitCount(), 43);
}

TEST(ProtocolGate, RefusesWithoutAPassedCheckWithTheWordingOfWhereItWasAsked)
{
    AppState state = checkedPlan(1);
    EXPECT_TRUE(protocolRefusal(state, ProtocolRequest::Menu).isEmpty());
    EXPECT_TRUE(protocolRefusal(state, ProtocolRequest::Create).isEmpty());
    state.refuseCheck(state.settingsDigitCount());
    EXPECT_EQ(protocolRefusal(state, ProtocolRequest::Create).text,
              u"Пока не будет произведена проверка данных, протокол создаваться не будет"_qs);
    EXPECT_EQ(protocolRefusal(state, ProtocolRequest::Menu).text,
              u"Пока не будет произведена проверка данных, протокол создаваться не будет!!!"_qs);
    EXPECT_EQ(protocolRefusal(state, ProtocolRequest::Menu).kind, MessageKind::Notice);

    // Rows that lost their flags through a band change would all print "-": told first.
    state.editTable().setRowCount(1);
    state.editTable().setRowCount(2);
    EXPECT_EQ(protocolRefusal(state, ProtocolRequest::Menu).text,
              u"В строчке №1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": протокол создаваться не будет. "
              u"Создайте шаблон или прочитайте файл заново"_qs);
}
