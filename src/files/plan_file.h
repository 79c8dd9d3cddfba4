#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/plan_file_contents.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace yalmera::files {

// The bytes of a channel-plan file: Windows-1251, CR LF; the settings lines as they stand, then
// "Тип" and "ТипВУ" set in section "Общие установки", then one section of 18 keys per row.
QByteArray encodePlan(const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                      quint8 moduleType);

// Either the plan a file holds or the reason it is refused. Nothing of the caller's changes.
struct PlanDecodeResult
{
    std::optional<PlanFileContents> contents;
    UserMessage error;
};
PlanDecodeResult decodePlan(const QByteArray& fileBytes);

// Saves through a temporary file renamed into place, so a failed save leaves the old file.
// Returns an empty message on success, otherwise the platform's error text.
UserMessage writePlanFile(const QString& path, const GeneralSettings& settings, const ChannelTable& table,
                          quint8 typeCode, quint8 moduleType);
PlanDecodeResult readPlanFile(const QString& path);

} // namespace yalmera::files
