#include "plan_file.h"

namespace yalmera::files {

QByteArray encodePlan(const GeneralSettings&, const ChannelTable&, quint8, quint8)
{
    return {};
}

PlanDecodeResult decodePlan(const QByteArray&)
{
    return {std::nullopt, UserMessage::failure(QStringLiteral("plan files are not built yet"))};
}

UserMessage writePlanFile(const QString&, const GeneralSettings&, const ChannelTable&, quint8, quint8)
{
    return UserMessage::failure(QStringLiteral("plan files are not built yet"));
}

PlanDecodeResult readPlanFile(const QString&)
{
    return decodePlan({});
}

} // namespace yalmera::files
