#include "cli_support.h"

namespace yalmera::cli {

int runTemplate(const QStringList& /*arguments*/)
{
    printErr(QStringLiteral("yalmera-cli template: not available yet"));
    return ExitUsage;
}

} // namespace yalmera::cli
