#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/plan_file_contents.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace yalmera::files {

// A plan file larger than this is no plan file (99 channels take about 40 KB). Reading stops
// there instead of filling memory with whatever the path names (every line is held apart, so a
// file of line breaks costs far more memory than its size).
inline constexpr qint64 MaxPlanFileBytes = 1024 * 1024;

// Either the bytes of a plan file or why the plan cannot be written (a character that
// Windows-1251 cannot hold, a line break inside a value).
struct PlanEncodeResult
{
    QByteArray bytes;
    UserMessage error; // empty when the bytes are the file

    bool ok() const { return error.isEmpty(); }
};

// Saves encoded bytes through a temporary file, or gives the encoding's refusal and writes
// nothing. Empty on success.
UserMessage saveEncoded(const QString& path, const PlanEncodeResult& encoded);

// The bytes of a channel-plan file: Windows-1251, CR LF; the settings lines as they stand, then
// "Тип" and "ТипВУ" set in section "Общие установки", then one section of 18 keys per row.
// Refuses a table whose rows have lost their flags (a band change): the file would say "нет".
PlanEncodeResult tryEncodePlan(const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                               quint8 moduleType);
// The same bytes; empty when tryEncodePlan refuses the plan.
QByteArray encodePlan(const GeneralSettings& settings, const ChannelTable& table, quint8 typeCode,
                      quint8 moduleType);

// Either the plan a file holds or the reason it is refused. Nothing of the caller's changes.
struct PlanDecodeResult
{
    std::optional<PlanFileContents> contents;
    UserMessage error;
};
// Accepts Windows-1251 and UTF-8 text with any line ends. Refuses a file without channel
// section "1" and one with more than 99 consecutive channel sections.
PlanDecodeResult decodePlan(const QByteArray& fileBytes);

// Why "Запись в файл" cannot run: no table has been made yet (template, file or station), or
// rows have lost their flags through a band change. Asked before the save dialog opens.
std::optional<UserMessage> planWriteRefusal(bool tableCreated, const ChannelTable& table);

// Saves through a temporary file renamed into place, so a failed save leaves the old file.
// Returns an empty message on success, the refusal of tryEncodePlan, the refusal of a target
// that is no regular file, or the platform's error text.
UserMessage writePlanFile(const QString& path, const GeneralSettings& settings, const ChannelTable& table,
                          quint8 typeCode, quint8 moduleType);
// The platform's error text when the file cannot be read; a path that is no regular file (a
// FIFO, a device) is refused without being opened.
PlanDecodeResult readPlanFile(const QString& path);

} // namespace yalmera::files
