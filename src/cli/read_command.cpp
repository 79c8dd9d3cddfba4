#include "cli_support.h"

namespace yalmera::cli {

int runRead(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli read: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
