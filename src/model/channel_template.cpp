#include "channel_template.h"

namespace yalmera {

TemplateResult makeChannelTemplate(const TemplateFields&, const StationType&)
{
    TemplateResult result;
    result.message = UserMessage::failure(QStringLiteral("template generation is not built yet"));
    return result;
}

} // namespace yalmera
