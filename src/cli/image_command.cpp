#include "cli_support.h"

namespace yalmera::cli {

int runImage(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli image: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
