#include "cli_support.h"

namespace yalmera::cli {

int runCheck(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli check: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
