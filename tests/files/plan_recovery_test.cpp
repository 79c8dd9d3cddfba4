#include "common/qt_printers.h"
#include "files/plan_recovery.h"
#include "model/channel_template.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::files;

namespace {

// What a plan file would not keep: settings as typed, a row that lost its flags, a code that
// names no band, a module beyond the menu, a file name outside ASCII.
RecoveryPlan unusualPlan()
{
    TemplateResult made =
        makeChannelTemplate({u"3"_qs, u"30000"_qs, u"25"_qs}, StationType::forBand(Band::Mhz30to60));
    RecoveryPlan plan;
    plan.settings = made.settings;
    plan.settings.appendLine(u"  Громкость = 3 ; от руки"_qs);
    plan.table = made.table;
    plan.table.createFlags();
    plan.table.setFlag(Column::IdTone, 1, true);
    plan.table.setRowFlags(3, std::nullopt);
    plan.table.setCell(Column::CtcssRx, 2, u"67,5"_qs);
    plan.tableCreated = true;
    plan.band = Band::Mhz30to60;
    plan.typeCode = 7;
    plan.moduleType = 9;
    plan.planFile = u"/home/техник/планы/p99.ini"_qs;
    plan.kept = QDateTime::currentDateTime();
    plan.kept.setTime(QTime(plan.kept.time().hour(), plan.kept.time().minute(), plan.kept.time().second()));
    return plan;
}

// As many channels as a station holds.
RecoveryPlan fullPlan()
{
    RecoveryPlan plan = unusualPlan();
    plan.table = makeChannelTemplate({QString::number(MaxChannels), u"30000"_qs, u"25"_qs},
                                     StationType::forBand(Band::Mhz30to60))
                     .table;
    plan.table.createFlags();
    return plan;
}

} // namespace

TEST(PlanRecovery, CopyBringsTheWholePlanBack)
{
    for (const RecoveryPlan& plan : {unusualPlan(), fullPlan()})
        EXPECT_EQ(decodeRecoveryPlan(encodeRecoveryPlan(plan)), plan) << plan.table.channelCount();
}

TEST(PlanRecovery, BytesThatMakeNoPlanAreNoCopy)
{
    const QByteArray good = encodeRecoveryPlan(unusualPlan());
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", {}},
        {"a plan file", "[Общие установки]\r\nТип=0\r\n"},
        {"cut short", good.left(good.size() / 2)},
        {"another kind", QByteArray(good).replace("yalmera unsaved plan", "yalmera plan")},
        {"a row of 17 cells", QByteArray(good).replace("\"Нет\",", "")},
        {"a code beyond a byte", QByteArray(good).replace("\"typeCode\": 7", "\"typeCode\": 300")},
        {"flags that are no flags", QByteArray(good).replace("true,", "1,")},
        {"a channel more than a station holds",
         [] {
             RecoveryPlan plan = fullPlan();
             plan.table.setRowCount(MaxChannels + 2);
             return encodeRecoveryPlan(plan);
         }()},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(decodeRecoveryPlan(bytes)) << name;
}

TEST(PlanRecovery, EachProgramKeepsItsOwnCopyAndOnlyAGoneProgramsCopyIsOffered)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"recovery"_qs); // made with the first copy
    RecoveryPlan first = unusualPlan();
    RecoveryPlan second = unusualPlan();
    second.moduleType = 2;
    auto running = std::make_unique<RecoveryFolder>(folder);
    RecoveryFolder other(folder);
    ASSERT_EQ(running->keep(first), QString());
    ASSERT_EQ(other.keep(second), QString());
    EXPECT_EQ(QDir(folder).entryList({u"*.json"_qs}).size(), 2);
    // Both run: neither is offered the other's copy.
    EXPECT_FALSE(other.takeNewestLeftCopy());

    running.reset(); // gone without discarding its copy
    const std::optional<RecoveryFolder::LeftCopy> left = other.takeNewestLeftCopy();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->plan, first);
    other.remove(*left);
    other.discard();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}
