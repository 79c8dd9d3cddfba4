#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"

namespace yalmera {

// What a channel-plan file holds once read: the rebuilt settings text, the table with its
// captions and flags, and the low eight bits of "Тип" and "ТипВУ".
struct PlanFileContents
{
    GeneralSettings settings;
    ChannelTable table;
    quint8 typeCode = 0;
    quint8 moduleType = 0;
    // "Серийный номер" as the file holds it; empty when it holds none (the settings then show the
    // reader's default, which names no station).
    QString serialNumber;
};

} // namespace yalmera
