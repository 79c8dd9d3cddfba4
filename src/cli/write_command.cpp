#include "cli_support.h"

namespace yalmera::cli {

int runWrite(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli write: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
