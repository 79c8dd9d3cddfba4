#include "read_back.h"

#include "image/app_state.h"
#include "image/image_texts.h"
#include "model/number_text.h"
#include "model/repeater.h"
#include "model/settings_keys.h"
#include "model/value_lists.h"

#include <QStringList>

#include <algorithm>

namespace yalmera {

namespace {

QString byteToHex(quint8 byte)
{
    static constexpr char16_t Digits[] = u"0123456789ABCDEF";
    const QChar pair[2] = {QChar(Digits[byte >> 4]), QChar(Digits[byte & 0x0F])};
    return QString(pair, 2);
}

QString switchText(bool on)
{
    return on ? QStringLiteral("+") : QStringLiteral("-");
}

// The text of a frequency word: the station's mark when its first byte is 0, otherwise the
// frequency in kHz with two decimals.
QString frequencyText(const FrequencyWord& word, const StationType& band, qint32 offsetKHz, QStringView mark)
{
    if (word[0] == 0)
        return mark.toString();
    return twoDecimalsText(stepsToKHz(decodeFrequencyWordSteps(word, band.dividerModulus)) - offsetKHz);
}

// A record's CTCSS or DCS code as the text of its list; nothing when the code is in no list.
struct CodeCells
{
    QString ctcss;
    QString dcs;
};
std::optional<CodeCells> codeCells(quint8 code, bool ctcssMode, quint8 dcsPolarity)
{
    const QString none = NoneText.toString();
    if (code == CodeNone)
        return CodeCells{none, none};
    if (ctcssMode) {
        if (code >= CtcssTones.size())
            return std::nullopt;
        return CodeCells{CtcssTones[code].toString(), none};
    }
    if (dcsPolarity == SwitchOff) {
        if (code >= DcsCodes.size())
            return std::nullopt;
        return CodeCells{none, DcsCodes[code].toString()};
    }
    // "+" polarity: the station holds the inverse twin's position.
    if (code < 1 || code >= DcsCodes.size())
        return std::nullopt;
    return CodeCells{none, DcsCodes[dcsInverse(code)].toString()};
}

QString toneNumberText(quint8 number)
{
    return number >= 1 && number <= 10 ? QString::number(number) : NoneText.toString();
}

UserMessage codeRefusal(quint8 code, bool ctcssMode, const ChannelRecord& record, int index)
{
    const QStringView text = ctcssMode ? texts::readback::BadCtcssCode : texts::readback::BadDcsCode;
    return UserMessage::notice(text.toString().arg(code).arg(record.channelNumber()).arg(index + 1));
}

QString settingLine(QStringView key, const QString& value)
{
    return key.toString() + u'=' + value;
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

PlanFromImage planFromImage(const DeviceImage& image, const QString& serialNumber, const StationType& band)
{
    PlanFromImage result;
    PlanTexts plan;
    const int count = std::min<int>(image.channelCount, MaxRecords);

    // The table: caption row, then one row per record with the flags the record carries.
    ChannelTable& table = plan.table;
    table.setRowCount(count + 1);
    table.writeCaptions(CaptionStyle::Standard);
    table.createFlags();
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& record = image.records[static_cast<std::size_t>(i)];
        const int row = i + 1;
        const quint8 flags = record.channelFlags();
        const bool ctcssMode = (flags & ChannelFlagBits::CtcssMode) != 0;
        const std::optional<CodeCells> rx = codeCells(record.rxCode(), ctcssMode, image.dcsPolarity);
        if (!rx) {
            result.refusal = codeRefusal(record.rxCode(), ctcssMode, record, i);
            return result;
        }
        const std::optional<CodeCells> tx = codeCells(record.txCode(), ctcssMode, image.dcsPolarity);
        if (!tx) {
            result.refusal = codeRefusal(record.txCode(), ctcssMode, record, i);
            return result;
        }
        const quint8 extra = record.extraFlags();

        table.setCell(Column::ChannelNumber, row, QString::number(record.channelNumber()));
        table.setCell(Column::RxFrequency, row,
                      frequencyText(record.rxFrequencyWord(), band, band.receiveOffsetKHz, RxRepeaterMark));
        table.setCell(Column::TxFrequency, row,
                      frequencyText(record.txFrequencyWord(), band, 0, TxRepeaterMark));
        table.setCell(Column::CtcssRx, row, rx->ctcss);
        table.setCell(Column::CtcssTx, row, tx->ctcss);
        table.setCell(Column::DcsRx, row, rx->dcs);
        table.setCell(Column::DcsTx, row, tx->dcs);
        table.setCell(Column::ToneRx, row, toneNumberText(record.rxToneNumber()));
        table.setCell(Column::ToneTx, row, toneNumberText(record.txToneNumber()));
        table.setCell(Column::Squelch, row, QString::number(record.squelch()));
        table.setCell(Column::PowerMax, row, QString::number(record.powerMax()));
        table.setCell(Column::PowerMin, row, QString::number(record.powerMin()));
        table.setCell(Column::Width, row,
                      (flags & ChannelFlagBits::Narrow) ? ChannelWidths[0].toString()
                                                        : ChannelWidths[1].toString());
        QStringView txOff = TxOffModes[0]; // "Норм"
        if ((extra & ExtraFlagBits::TxOffRssi) == 0)
            txOff = TxOffModes[1]; // "RSSI"
        else if ((extra & ExtraFlagBits::TxOffOff) == 0)
            txOff = TxOffModes[2]; // "OFF"
        table.setCell(Column::TxOff, row, txOff.toString());
        table.setCell(Column::Time, row,
                      record.timer() == 0 ? NoneText.toString() : QString::number(record.timer()));
        table.setFlag(Column::Scan, row, (flags & ChannelFlagBits::Scan) != 0);
        table.setFlag(Column::IdTone, row, (flags & ChannelFlagBits::NoIdTone) == 0);
        table.setFlag(Column::Active, row, (flags & ChannelFlagBits::Active) != 0);
    }

    // The settings text: 27 lines in the key order of the template, the serial number second.
    QStringList lines;
    lines << GeneralSettings::sectionLine();
    lines << settingLine(keys::SerialNumber, serialNumber);
    lines << settingLine(keys::IdNumber, idCodeText(image.idCode));
    for (std::size_t k = 0; k < keys::Tones.size(); ++k)
        lines << settingLine(keys::Tones[k], QString::number(image.toneCodes[k] * 10));
    // The station does not keep the power values: the template's stand in for them.
    const std::array<int, 4> powers{5, 10, 25, 40};
    for (std::size_t p = 0; p < keys::Powers.size(); ++p)
        lines << settingLine(keys::Powers[p], QString::number(powers[p]));
    // The station keeps the level L as 5 L - 4; the line carries the level again.
    lines << settingLine(keys::Brightness, QString::number((image.brightnessCode + 4) / 5));
    lines << settingLine(keys::Volume, QString::number(image.volume));
    lines << settingLine(keys::MinVolume, QString::number(image.minVolume));
    lines << settingLine(keys::KeyBeep, switchText(image.keyBeep == SwitchOn));
    lines << settingLine(keys::Fv, byteToHex(image.fvCode));
    lines << settingLine(keys::DcsPolarity, switchText(image.dcsPolarity == SwitchOn));
    lines << settingLine(keys::ScanFunction, switchText((image.functionFlags & FunctionFlagBits::Scan) != 0));
    lines << settingLine(keys::VFunction, switchText((image.functionFlags & FunctionFlagBits::V) != 0));
    lines << settingLine(keys::Module, switchText((image.functionFlags & FunctionFlagBits::Module) != 0));
    // A special channel index beyond the records names no channel: the key stays without value.
    const int special = image.specialChannelIndex;
    lines << settingLine(
        keys::SpecialChannel,
        special < count ? QString::number(image.records[static_cast<std::size_t>(special)].channelNumber())
                        : QString());
    plan.settings.setLines(lines);

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
    rb.serialNumber = byteToHex(static_cast<quint8>(contents.serialNumber >> 16)) +
                      byteToHex(static_cast<quint8>(contents.serialNumber >> 8)) +
                      byteToHex(static_cast<quint8>(contents.serialNumber));
    // The station's frequency words follow its own band's synthesiser, whatever band is selected.
    const std::optional<Band> stationBand = bandOfTypeCode(rb.typeCode);
    const StationType band = stationBand ? StationType::forBand(*stationBand) : selectedBand;
    PlanFromImage plan = planFromImage(rb.image, rb.serialNumber, band);
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

bool applyReadBack(AppState& state, const ReadBack& readBack)
{
    return state.adoptStationPlan(readBack.settings, readBack.table, readBack.image,
                                  moduleTypeOfCode(readBack.moduleType), readBack.typeCode);
}

} // namespace yalmera
