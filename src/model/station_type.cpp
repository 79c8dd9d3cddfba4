#include "station_type.h"

#include "model_texts.h"
#include "number_text.h"

namespace yalmera {

QString StationType::modelCaption() const
{
    return (band == Band::Mhz30to60 ? texts::model::Model30to60 : texts::model::Model144to174).toString();
}

QString StationType::limitsMHzText() const
{
    return shortestDecimalText(lowerLimitKHz / 1000.0) + u'-' + shortestDecimalText(upperLimitKHz / 1000.0);
}

std::optional<Band> bandOfTypeCode(quint8 typeCode)
{
    if (typeCode == 0)
        return Band::Mhz144to174;
    if (typeCode == 1 || typeCode == 2)
        return Band::Mhz30to60;
    return std::nullopt;
}

} // namespace yalmera
