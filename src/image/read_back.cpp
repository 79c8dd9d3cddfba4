#include "read_back.h"

#include "image/field_codec.h"
#include "image/image_texts.h"
#include "image/station_model.h"
#include "model/settings_keys.h"

#include <QStringList>

#include <algorithm>

namespace yalmera {

namespace {

UserMessage codeRefusal(const UnlistedCode& unlisted, const ChannelRecord& record, int index)
{
    const QStringView text = unlisted.ctcss ? texts::readback::BadCtcssCode : texts::readback::BadDcsCode;
    return UserMessage::notice(text.toString().arg(unlisted.code).arg(record.channelNumber()).arg(index + 1));
}

// The settings text of a read-back: the template's lines in their order with the values the
// header holds, the serial number second; keys the station does not keep (the power values) keep
// the template's values.
GeneralSettings settingsOfImage(const StreamContents& contents)
{
    const auto line = [&contents](QStringView key, QStringView fallback) {
        for (const HeaderFieldLayout& row : HeaderFields) {
            if (row.key == key)
                return key.toString() + u'=' + settingText(row, contents);
        }
        return key.toString() + u'=' + fallback.toString();
    };
    QStringList lines{GeneralSettings::sectionLine(), line(keys::SerialNumber, {})};
    for (const SettingEntry& entry : TemplateSettings)
        lines << line(entry.key, entry.value);
    return GeneralSettings(lines);
}

// The table of an image: the caption row, then one row per record with the flags it carries.
std::optional<UserMessage> fillTable(const DeviceImage& image, const StationType& band, ChannelTable& table)
{
    const int count = std::min<int>(image.channelCount, MaxRecords);
    table.setRowCount(count + 1);
    table.writeCaptions(CaptionStyle::Standard);
    table.createFlags();
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& record = image.records[static_cast<std::size_t>(i)];
        if (const auto unlisted = decodeRecord(record, band, image.dcsPolarity, table, i + 1))
            return codeRefusal(*unlisted, record, i);
    }
    return std::nullopt;
}

} // namespace

UserMessage checkReadStreamHeader(QByteArrayView headerBytes)
{
    const int countOffset = headerField(HeaderField::ChannelCount).offset(Stream::Read);
    if (headerBytes.size() <= countOffset)
        return UserMessage::notice(texts::readback::StreamIncomplete.toString()
                                       .arg(headerBytes.size())
                                       .arg(headerSize(Stream::Read)));
    const int count = static_cast<quint8>(headerBytes[countOffset]);
    if (count == 0)
        return UserMessage::notice(texts::readback::NoChannels.toString());
    if (count > MaxRecords)
        return UserMessage::notice(texts::readback::TooManyChannels.toString().arg(count));
    return {};
}

PlanFromImage planFromImage(const StreamContents& contents, const StationType& band)
{
    PlanFromImage result;
    PlanTexts plan;
    if (std::optional<UserMessage> refusal = fillTable(contents.image, band, plan.table)) {
        result.refusal = *refusal;
        return result;
    }
    plan.settings = settingsOfImage(contents);
    result.plan = std::move(plan);
    return result;
}

ReadStreamDecode decodeReadStream(QByteArrayView stream, const StationType& selectedBand)
{
    ReadStreamDecode decoded;
    if (UserMessage refusal = checkReadStreamHeader(stream); !refusal.isEmpty()) {
        decoded.refusal = refusal;
        return decoded;
    }
    const int count =
        static_cast<quint8>(stream[headerField(HeaderField::ChannelCount).offset(Stream::Read)]);
    if (stream.size() < streamSize(Stream::Read, count)) {
        decoded.refusal = UserMessage::notice(texts::readback::StreamIncomplete.toString()
                                                  .arg(stream.size())
                                                  .arg(streamSize(Stream::Read, count)));
        return decoded;
    }
    const StreamContents contents = *decodeStream(Stream::Read, stream);

    ReadBack rb;
    rb.image = contents.image;
    rb.moduleType = contents.moduleType;
    rb.typeCode = contents.typeCode;
    rb.serialNumber = settingText(headerField(HeaderField::SerialNumber), contents);
    // The station's frequency words follow its own band's synthesiser, whatever band is selected.
    const std::optional<Band> stationBand = bandOfTypeCode(rb.typeCode);
    const StationType band = stationBand ? stationModel(*stationBand).band : selectedBand;
    PlanFromImage plan = planFromImage(contents, band);
    if (!plan.plan) {
        decoded.refusal = plan.refusal;
        return decoded;
    }
    rb.settings = std::move(plan.plan->settings);
    rb.table = std::move(plan.plan->table);
    decoded.readBack = std::move(rb);
    return decoded;
}

QByteArray encodeReadStream(const DeviceImage& image, quint32 serialNumber, quint8 moduleType,
                            quint8 typeCode)
{
    return encodeStream(Stream::Read, {image, moduleType, typeCode, serialNumber});
}

QStringList writtenDifferences(QByteArrayView writeStream, const ReadBack& held)
{
    const std::optional<StreamContents> written = readWriteStream(writeStream);
    if (!written)
        return {};
    return streamDifferences(Stream::Write, *written, {held.image, held.moduleType, held.typeCode, 0});
}

} // namespace yalmera
