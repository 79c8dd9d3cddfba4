#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"
#include "model/user_message.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace yalmera {

// The plan an image holds, as the table and settings the user sees: the inverse of the data check.
struct PlanTexts
{
    GeneralSettings settings; // 27 lines, "[Общие установки]" first, the serial number second
    ChannelTable table;       // caption row, one row per record, flags set from the records

    friend bool operator==(const PlanTexts&, const PlanTexts&) = default;
};
struct PlanFromImage
{
    std::optional<PlanTexts> plan;
    UserMessage refusal; // a CTCSS/DCS code outside its list; set when plan is empty
};
// The plan of a stream's contents (the serial number goes into the settings, the module type and
// band code do not); the frequency words are decoded with the given band's modulus and receive
// offset.
PlanFromImage planFromImage(const StreamContents& contents, const StationType& band);

// A station's plan as read back, built aside; nothing of the program changes until it is applied.
struct ReadBack
{
    QString serialNumber; // six hexadecimal digits, "012345"
    GeneralSettings settings;
    ChannelTable table;
    // Header fields and records 0..channelCount-1 as received (idCode included); the other
    // record slots are zero and are never applied.
    DeviceImage image;
    quint8 moduleType = 0;
    quint8 typeCode = 0;

    friend bool operator==(const ReadBack&, const ReadBack&) = default;
};

struct ReadStreamDecode
{
    std::optional<ReadBack> readBack;
    UserMessage refusal; // set when readBack is empty

    bool ok() const { return readBack.has_value(); }
};

// Decodes a complete read stream. Frequencies are decoded with the modulus and receive offset of
// the band the station's TypeCode names (as a plan file's "Тип" names it), and with the selected
// band's when the code names none. Refuses a stream that is too short, announces no channel or
// more than MaxRecords, or holds a CTCSS/DCS code outside its list. Bytes after the stream are ignored.
// Never reads outside the bytes given.
ReadStreamDecode decodeReadStream(QByteArrayView stream, const StationType& selectedBand);

// The refusal of a stream whose header announces a channel count a plan cannot hold (none, or
// more than MaxRecords), decided as soon as the header is in (empty when the header is acceptable).
UserMessage checkReadStreamHeader(QByteArrayView headerBytes);

// The stream a station holding this image sends: serial number (24 bits), header in read order,
// then image.channelCount records (at most MaxRecords).
QByteArray encodeReadStream(const DeviceImage& image, quint32 serialNumber, quint8 moduleType,
                            quint8 typeCode);

// The check of a write by the read that follows it: what the station holds that differs from
// the write stream it was sent, one line per field (streamDifferences), its module type and
// band code included; empty when it holds what was written.
QStringList writtenDifferences(QByteArrayView writeStream, const ReadBack& held);

} // namespace yalmera
