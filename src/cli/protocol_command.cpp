#include "cli_support.h"

namespace yalmera::cli {

int runProtocol(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli protocol: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
