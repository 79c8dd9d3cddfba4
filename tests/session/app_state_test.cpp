#include "image/plan_fixture.h"

#include "session/app_state.h"

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

const QString OpenRefused =
    s(u"Прежде чем производить настройку рентраслятора проверьте введеные данные !!!");

} // namespace

TEST(RepeaterPanel, OpensOnlyAfterASuccessfulCheck)
{
    AppState state = templateState(3);
    EXPECT_EQ(state.openRepeaterPanel(), UserMessage::notice(OpenRefused));
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_TRUE(state.openRepeaterPanel().isEmpty());

    // A write clears the gate, so the panel cannot be opened again before the next check.
    ASSERT_TRUE(state.writeRepeaterMark(QStringLiteral("2"), RepeaterMode::Receive).ok());
    EXPECT_FALSE(state.dataChecked());
    EXPECT_EQ(state.openRepeaterPanel(), UserMessage::notice(OpenRefused));
}

TEST(RepeaterPanel, WritesClearTheGateEvenWhenRefusedAndKeepWorkingOnTheCheckedImage)
{
    AppState state = templateState(4);
    state.editTable().setCell(Column::ChannelNumber, 4, QStringLiteral("9"));
    ASSERT_TRUE(runDataCheck(state).passed);

    const RepeaterWriteResult empty = state.writeRepeaterMark(QString(), RepeaterMode::Receive);
    EXPECT_EQ(empty.message.text, s(u"Вы не указали номер канала !!!"));
    EXPECT_FALSE(state.dataChecked());

    // Further writes in the open panel use the channel numbers of the last check.
    state.editTable().setCell(Column::ChannelNumber, 4, QStringLiteral("4"));
    EXPECT_EQ(state.writeRepeaterMark(QStringLiteral("4"), RepeaterMode::Transmit).message.text,
              s(u"Такого номера канала нет в таблице !!!"));
    const RepeaterWriteResult marked = state.writeRepeaterMark(QStringLiteral("9"), RepeaterMode::Transmit);
    ASSERT_TRUE(marked.ok());
    EXPECT_EQ(marked.row, 4);
    EXPECT_EQ(state.table().cell(Column::RxFrequency, 4), s(u"РЕТР_ПП"));
    EXPECT_EQ(state.table().flag(Column::Scan, 4), false);

    // The marked plan passes the next check with a zero receive word.
    state.editTable().setCell(Column::ChannelNumber, 4, QStringLiteral("9"));
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(state.image().records[3].rxFrequencyWord(), (FrequencyWord{0, 0, 0}));
    EXPECT_EQ(state.image().records[3].extraFlags(), 0xDF);
}

TEST(RepeaterPanel, AFailedCheckKeepsTheLookupOfTheLastGoodOne)
{
    AppState state = templateState(3);
    state.editTable().setCell(Column::ChannelNumber, 1, QStringLiteral("7"));
    setSetting(state, s(u"СК"), s(u"7"));
    ASSERT_TRUE(runDataCheck(state).passed);
    setSetting(state, s(u"Яркость диодов"), s(u"9"));
    ASSERT_FALSE(runDataCheck(state).passed);
    // Channel 7 is still row 1; "0" names no channel, although the stopped check got nowhere.
    EXPECT_EQ(state.writeRepeaterMark(QStringLiteral("0"), RepeaterMode::Receive).message.text,
              s(u"Такого номера канала нет в таблице !!!"));
    EXPECT_EQ(state.writeRepeaterMark(QStringLiteral("7"), RepeaterMode::Receive).row, 1);
}

TEST(RepeaterPanel, ANewPlanMakesTheCheckedNumbersUnusable)
{
    AppState state = templateState(3);
    ASSERT_TRUE(runDataCheck(state).passed);
    const AppState other = templateState(5, 150000);
    state.adoptPlan(other.settings(), other.table()); // a file read while the panel is open
    const ChannelTable before = state.table();
    EXPECT_EQ(state.writeRepeaterMark(QStringLiteral("2"), RepeaterMode::Receive).message,
              UserMessage::notice(OpenRefused));
    EXPECT_EQ(state.table(), before);

    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_TRUE(state.writeRepeaterMark(QStringLiteral("5"), RepeaterMode::Receive).ok());
}

TEST(AppStateGate, EditsLeaveTheGateTemplateAndFileClearIt)
{
    AppState state = templateState(2);
    ASSERT_TRUE(runDataCheck(state).passed);
    state.editTable().setCell(Column::TxFrequency, 1, QStringLiteral("150000"));
    state.editTable().setFlag(Column::Scan, 1, false);
    state.editSettings().appendLine(QStringLiteral("Громкость=3"));
    EXPECT_TRUE(state.dataChecked());

    PlanFileContents file;
    file.settings = state.settings();
    file.table = state.table();
    file.typeCode = 1;
    file.moduleType = 2;
    state.adoptPlanFile(file);
    EXPECT_FALSE(state.dataChecked());
    EXPECT_EQ(state.stationType().band, Band::Mhz30to60);
    EXPECT_EQ(moduleCode(state.moduleType()), 2);
}

TEST(AppStateRows, LimitsAndRepeaterFrequenciesFollowTheRows)
{
    AppState state = templateState(2);
    EXPECT_EQ(state.removeChannels(1, 2).text,
              s(u"Все каналы удалить нельзя: в таблице должен остаться хотя бы один канал."));
    ASSERT_TRUE(runDataCheck(state).passed);
    ASSERT_TRUE(state.writeRepeaterMark(QStringLiteral("2"), RepeaterMode::Receive).ok());
    const TableSnapshot unmoved = state.tableSnapshot();

    // The mark's saved frequency moves with its row, and the checked channel numbers no longer
    // name the rows until the move is taken back.
    ASSERT_TRUE(state.moveChannels(2, 2, -1));
    EXPECT_EQ(state.repeaterSavedTexts().value(1).text, QStringLiteral("141000"));
    EXPECT_EQ(state.writeRepeaterMark(QStringLiteral("1"), RepeaterMode::Transmit).message,
              UserMessage::notice(OpenRefused));
    state.restoreTable(unmoved);
    EXPECT_TRUE(state.writeRepeaterMark(QStringLiteral("1"), RepeaterMode::Transmit).ok());

    AppState full = templateState(99);
    EXPECT_EQ(full.insertChannelAfter(5).text,
              s(u"В таблице уже 99 каналов: больше радиостанция не принимает."));
    EXPECT_EQ(full.table().channelCount(), 99);
}

TEST(AppStateGate, PlanReplacementClearsTheGateBandChangeDropsFlags)
{
    AppState state = templateState(2);
    ASSERT_TRUE(runDataCheck(state).passed);
    ASSERT_TRUE(state.writeRepeaterMark(QStringLiteral("1"), RepeaterMode::Receive).ok());
    ASSERT_FALSE(state.repeaterSavedTexts().isEmpty());
    state.acceptCheck(state.image(), state.settingsDigitCount());
    ChannelTable table;
    table.setRowCount(3);
    table.createFlags();
    state.adoptPlan(GeneralSettings(GeneralSettings::templateLines()), table);
    EXPECT_FALSE(state.dataChecked());
    EXPECT_TRUE(state.tableCreated());
    EXPECT_TRUE(state.repeaterSavedTexts().isEmpty());

    // The band already selected changes nothing; another band takes the flags and the gate: the
    // image of the last check holds the other band's frequency words.
    struct Case
    {
        Band band;
        bool changed;
    };
    for (const Case c : {Case{Band::Mhz144to174, false}, Case{Band::Mhz30to60, true}}) {
        state.acceptCheck(state.image(), state.settingsDigitCount());
        EXPECT_EQ(state.selectBand(c.band), c.changed);
        EXPECT_EQ(state.stationType(), StationType::forBand(c.band));
        EXPECT_EQ(state.table().hasFlags(1), !c.changed);
        EXPECT_EQ(state.dataChecked(), !c.changed);
        EXPECT_EQ(state.table().channelCount(), 2);
    }
}
