#include "cli_runner.h"

#include <gtest/gtest.h>

TEST(CliUsage, HelpListsEveryCommandAndUnknownCommandsAreUsageErrors)
{
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command :
         {"template", "check", "image", "write", "read", "verify", "diff", "protocol", "export", "import"})
        EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;

    EXPECT_EQ(runCli({}).exitCode, 2);
    const CliRun unknown = runCli({QStringLiteral("frobnicate")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("frobnicate")));
}
