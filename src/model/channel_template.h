#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"
#include "model/user_message.h"

namespace yalmera {

// The three fields of the template panel, as typed.
struct TemplateFields
{
    QString count = QStringLiteral("10");
    QString startKHz; // the band's lower limit when the panel opens
    QString offsetKHz = QStringLiteral("1000");
};

// Either the new plan or the refusal that ended the generation.
struct TemplateResult
{
    UserMessage message; // empty when the plan was made
    GeneralSettings settings;
    ChannelTable table;

    bool ok() const { return message.isEmpty(); }
};

// Makes a plan of evenly spaced channels with the default values and settings text, or returns
// the first refusal in the order the fields are tested: count, start (number, 6,25 kHz grid),
// offset (number, grid), start inside the band. Rows past the band's upper limit are held there.
// The caller clears the data-check gate first, whatever the outcome.
TemplateResult makeChannelTemplate(const TemplateFields& fields, const StationType& stationType);

} // namespace yalmera
