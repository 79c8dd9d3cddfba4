#include "image/plan_fixture.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;

TEST(StationRequests, TakeTheSelectedModelAndTheLastCheckedImage)
{
    AppState state = templateState(2, 30000, 1000, Band::Mhz30to60);
    ASSERT_TRUE(runDataCheck(state).passed);
    state.selectModule(ModuleType::Trimlink);
    const WriteRequest write = writeRequest(state, QStringLiteral("COM1"));
    EXPECT_EQ(write.model, &Yalmera4K15);
    EXPECT_TRUE(write.dataChecked);
    EXPECT_EQ(write.stream, state.image().writeStream(moduleCode(ModuleType::Trimlink), 1));
    EXPECT_EQ(readRequest(state, QStringLiteral("COM1")).model, &Yalmera4K15);
}

TEST(ExchangeRecords, APlanReadIsKeptBeforeItsLineAndWhatFailsIsSaidInThatOrder)
{
    QTemporaryDir folder;
    AppState state = templateState(1);
    ASSERT_TRUE(runDataCheck(state).passed);
    ReadResult read;
    read.outcome = ExchangeOutcome::Completed;
    read.received = encodeReadStream(state.image(), 0x012345, 0, 0);
    read.readBack = decodeReadStream(read.received, state.stationType()).readBack;
    const ReadRequest request = readRequest(state, QStringLiteral("COM2"));

    // The window's read: the line names the backup; the command line's names its output file.
    const QString journal = folder.filePath(QStringLiteral("journal.csv"));
    const ExchangeRecord kept = recordRead(journal, request, read, QString());
    EXPECT_TRUE(kept.failures.isEmpty());
    EXPECT_TRUE(QFile::exists(kept.backup));
    EXPECT_EQ(kept.entry.planFile, kept.backup);
    const QString output = folder.filePath(QStringLiteral("plan.ini"));
    EXPECT_EQ(recordRead(journal, request, read, output).entry.planFile, output);

    // Neither the backup nor the line can be written: both are said, the backup first.
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("blocked/journal.csv")));
    QFile blocker(folder.filePath(QStringLiteral("blocked/backups")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const ExchangeRecord failed =
        recordRead(folder.filePath(QStringLiteral("blocked/journal.csv")), request, read, QString());
    ASSERT_EQ(failed.failures.size(), 2);
    EXPECT_TRUE(failed.failures[0].text.contains(QStringLiteral("backups")));
    EXPECT_TRUE(failed.backup.isEmpty());
    EXPECT_TRUE(failed.entry.planFile.isEmpty());
}
