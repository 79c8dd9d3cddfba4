#include "image/plan_comparison.h"
#include "plan_fixture.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

using namespace yalmera;

namespace {

struct StationCase
{
    const char* name;
    std::function<void(AppState&)> editPlan;    // the plan file's texts
    std::function<void(AppState&)> editStation; // the plan the station was written with
    QStringList differences;                    // in the journal's words, plan first
};

void PrintTo(const StationCase& c, std::ostream* os)
{
    *os << c.name;
}

const auto noEdit = [](AppState&) {};

const StationCase StationCases[] = {
    {"station holding the plan", noEdit, noEdit, {}},
    // The station says 141000; the plan's other spelling is no difference.
    {"frequency written another way",
     [](AppState& s) { s.editTable().setCell(Column::RxFrequency, 2, u"141000,000"_qs); },
     noEdit,
     {}},
    {"one cell",
     noEdit,
     [](AppState& s) { s.editTable().setCell(Column::Squelch, 2, u"3"_qs); },
     {u"канал 2, \"ШП\": план \"1\", станция \"3\""_qs}},
    {"one flag",
     noEdit,
     [](AppState& s) { s.editTable().setFlag(Column::Scan, 1, false); },
     {u"канал 1, \"Скан.\": план \"да\", станция \"нет\""_qs}},
    {"one setting",
     noEdit,
     [](AppState& s) { setSetting(s, u"Громкость"_qs, u"5"_qs); },
     {u"установки \"Громкость\": план \"8\", станция \"5\""_qs}},
    // Paired by number: the channels after a missing one are no differences.
    {"a channel missing in the middle",
     noEdit,
     [](AppState& s) { s.removeChannels(2, 2); },
     {u"канал 2 есть только: план"_qs}},
    {"a channel more",
     [](AppState& s) { s.removeChannels(4, 4); },
     noEdit,
     {u"канал 4 есть только: станция"_qs}},
    // 1989 Hz and 1990 Hz are one byte; so are the two spellings of a frequency.
    {"a tone written another way", noEdit, [](AppState& s) { setSetting(s, u"Тон8"_qs, u"1990"_qs); }, {}},
    {"frequency with two decimals",
     noEdit,
     [](AppState& s) { s.editTable().setCell(Column::RxFrequency, 1, u"140000,00"_qs); },
     {}},
    {"a tone of another byte",
     noEdit,
     [](AppState& s) { setSetting(s, u"Тон8"_qs, u"2000"_qs); },
     {u"установки \"Тон8\": план \"1989\", станция \"2000\""_qs}},
};

class ComparisonWithStation : public testing::TestWithParam<StationCase>
{
};

} // namespace

TEST_P(ComparisonWithStation, NamesEachDifferenceOnceWithBothValues)
{
    const StationCase& c = GetParam();
    AppState plan = templateState(4);
    c.editPlan(plan);
    ASSERT_TRUE(runDataCheck(plan).passed);
    AppState station = templateState(4);
    c.editStation(station);
    ASSERT_TRUE(runDataCheck(station).passed);
    const ReadStreamDecode held =
        decodeReadStream(encodeReadStream(station.image(), 0x012345, 0, 0), station.stationType());
    ASSERT_TRUE(held.ok());

    const PlanComparison comparison = compareWithStation({plan.settings(), plan.table(), 0, 0}, plan.image(),
                                                         plan.stationType(), *held.readBack);
    // In the journal's words.
    EXPECT_EQ(journalDifferenceTexts(comparison), c.differences);
    // The power values are the template's lines the station keeps no byte for.
    EXPECT_EQ(comparison.notCompared, QStringList({u"P_1=5"_qs, u"P_2=10"_qs, u"P_3=25"_qs, u"P_4=40"_qs}));

    // The plan the station was written with, as a second plan file: the same differences.
    const PlanComparison plans = compareCheckedPlans(
        {{plan.settings(), plan.table(), 0, 0}, plan.image(), plan.stationType()},
        {{station.settings(), station.table(), 0, 0}, station.image(), station.stationType()});
    EXPECT_EQ(journalDifferenceTexts(plans), c.differences);
    EXPECT_EQ(plans.notCompared, QStringList({u"P_1"_qs, u"P_2"_qs, u"P_3"_qs, u"P_4"_qs}));
}

INSTANTIATE_TEST_SUITE_P(Cases, ComparisonWithStation, testing::ValuesIn(StationCases));
