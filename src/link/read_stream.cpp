#include "read_stream.h"

#include "image/app_state.h"
#include "link/link_texts.h"
#include "model/number_text.h"
#include "model/repeater.h"
#include "model/value_lists.h"

#include <QStringList>

#include <algorithm>

namespace yalmera {

namespace {

namespace Off = ReadStreamOffset;

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
    const QStringView text = ctcssMode ? linktext::BadCtcssCode : linktext::BadDcsCode;
    return UserMessage::notice(text.toString().arg(code).arg(record.channelNumber()).arg(index + 1));
}

} // namespace

UserMessage checkReadStreamHeader(QByteArrayView headerBytes)
{
    if (headerBytes.size() <= Off::ChannelCount)
        return UserMessage::notice(
            linktext::StreamIncomplete.toString().arg(headerBytes.size()).arg(Off::HeaderSize));
    const int count = static_cast<quint8>(headerBytes[Off::ChannelCount]);
    if (count == 0)
        return UserMessage::notice(linktext::NoChannels.toString());
    if (count > DeviceImage::MaxRecords)
        return UserMessage::notice(linktext::TooManyChannels.toString().arg(count));
    return {};
}

ReadStreamDecode decodeReadStream(QByteArrayView stream, const StationType& selectedBand)
{
    ReadStreamDecode decoded;
    if (UserMessage refusal = checkReadStreamHeader(stream); !refusal.isEmpty()) {
        decoded.refusal = refusal;
        return decoded;
    }
    const auto at = [&stream](qsizetype i) { return static_cast<quint8>(stream[i]); };
    const int count = at(Off::ChannelCount);
    if (stream.size() < readStreamSize(count)) {
        decoded.refusal = UserMessage::notice(
            linktext::StreamIncomplete.toString().arg(stream.size()).arg(readStreamSize(count)));
        return decoded;
    }

    ReadBack rb;
    DeviceImage& image = rb.image;
    image.brightnessCode = at(Off::Brightness);
    image.volume = at(Off::Volume);
    image.channelCount = static_cast<quint8>(count);
    image.keyBeep = at(Off::KeyBeep);
    image.specialChannelIndex = at(Off::SpecialChannel);
    image.idCode = static_cast<quint16>(at(Off::IdCode) << 8 | at(Off::IdCode + 1));
    for (int k = 0; k < 10; ++k)
        image.toneCodes[static_cast<std::size_t>(k)] = at(Off::ToneCodes + k);
    image.fvCode = at(Off::FvCode);
    image.minVolume = at(Off::MinVolume);
    image.dcsPolarity = at(Off::DcsPolarity);
    image.functionFlags = at(Off::FunctionFlags);
    rb.moduleType = at(Off::ModuleType);
    rb.typeCode = at(Off::TypeCode);
    // The station's frequency words follow its own band's synthesiser, whatever band is selected.
    const std::optional<Band> stationBand = bandOfTypeCode(rb.typeCode);
    const StationType stationType = stationBand ? StationType::forBand(*stationBand) : selectedBand;
    for (int i = 0; i < count; ++i) {
        ChannelRecord& record = image.records[static_cast<std::size_t>(i)];
        for (int b = 0; b < ChannelRecord::Size; ++b)
            record.bytes[static_cast<std::size_t>(b)] = at(Off::Records + ChannelRecord::Size * i + b);
    }

    rb.serialNumber = byteToHex(at(Off::SerialNumber)) + byteToHex(at(Off::SerialNumber + 1)) +
                      byteToHex(at(Off::SerialNumber + 2));

    // The table: caption row, then one row per record with the flags the record carries.
    ChannelTable& table = rb.table;
    table.setRowCount(count + 1);
    table.writeCaptions(CaptionStyle::Standard);
    table.createFlags();
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& record = image.records[static_cast<std::size_t>(i)];
        const int row = i + 1;
        const quint8 flags = record.channelFlags();
        const bool ctcssMode = (flags & ChannelFlagBits::CtcssMode) != 0;
        const std::optional<CodeCells> rx =
            codeCells(record.at(ChannelRecord::RxCodeOffset), ctcssMode, image.dcsPolarity);
        if (!rx) {
            decoded.refusal = codeRefusal(record.at(ChannelRecord::RxCodeOffset), ctcssMode, record, i);
            return decoded;
        }
        const std::optional<CodeCells> tx =
            codeCells(record.at(ChannelRecord::TxCodeOffset), ctcssMode, image.dcsPolarity);
        if (!tx) {
            decoded.refusal = codeRefusal(record.at(ChannelRecord::TxCodeOffset), ctcssMode, record, i);
            return decoded;
        }
        const quint8 extra = record.extraFlags();
        const quint8 timer = record.at(ChannelRecord::TimerOffset);

        table.setCell(ChannelNumberColumn, row, QString::number(record.channelNumber()));
        table.setCell(
            RxFrequencyColumn, row,
            frequencyText(record.rxWord(), stationType, stationType.receiveOffsetKHz, RxRepeaterMark));
        table.setCell(TxFrequencyColumn, row, frequencyText(record.txWord(), stationType, 0, TxRepeaterMark));
        table.setCell(CtcssRxColumn, row, rx->ctcss);
        table.setCell(CtcssTxColumn, row, tx->ctcss);
        table.setCell(DcsRxColumn, row, rx->dcs);
        table.setCell(DcsTxColumn, row, tx->dcs);
        table.setCell(ToneRxColumn, row, toneNumberText(record.at(ChannelRecord::RxToneOffset)));
        table.setCell(ToneTxColumn, row, toneNumberText(record.at(ChannelRecord::TxToneOffset)));
        table.setCell(SquelchColumn, row, QString::number(record.at(ChannelRecord::SquelchOffset)));
        table.setCell(PowerMaxColumn, row, QString::number(record.at(ChannelRecord::PowerMaxOffset)));
        table.setCell(PowerMinColumn, row, QString::number(record.at(ChannelRecord::PowerMinOffset)));
        table.setCell(WidthColumn, row,
                      (flags & ChannelFlagBits::Narrow) ? QStringLiteral("12,5") : QStringLiteral("25"));
        QStringView txOff = TxOffModes[0]; // "Норм"
        if ((extra & ExtraFlagBits::TxOffRssi) == 0)
            txOff = TxOffModes[1]; // "RSSI"
        else if ((extra & ExtraFlagBits::TxOffOff) == 0)
            txOff = TxOffModes[2]; // "OFF"
        table.setCell(TxOffColumn, row, txOff.toString());
        table.setCell(TimeColumn, row, timer == 0 ? NoneText.toString() : QString::number(timer));
        table.setFlag(ScanColumn, row, (flags & ChannelFlagBits::Scan) != 0);
        table.setFlag(IdToneColumn, row, (flags & ChannelFlagBits::NoIdTone) == 0);
        table.setFlag(ActiveColumn, row, (flags & ChannelFlagBits::Active) != 0);
    }

    // The settings text: 27 lines in the key order of the template, the serial number second.
    QStringList lines;
    lines << GeneralSettings::sectionLine();
    lines << QStringLiteral("Серийный номер=") + rb.serialNumber;
    lines << QStringLiteral("Id_номер=") + idCodeText(image.idCode);
    for (int k = 0; k < 10; ++k)
        lines << QStringLiteral("Тон%1=%2").arg(k + 1).arg(image.toneCodes[static_cast<std::size_t>(k)] * 10);
    lines << QStringLiteral("P_1=5") << QStringLiteral("P_2=10") << QStringLiteral("P_3=25")
          << QStringLiteral("P_4=40");
    // The station keeps the level L as 5 L - 4; the line carries the level again.
    lines << QStringLiteral("Яркость диодов=%1").arg((image.brightnessCode + 4) / 5);
    lines << QStringLiteral("Громкость=%1").arg(image.volume);
    lines << QStringLiteral("МинГромкость=%1").arg(image.minVolume);
    lines << QStringLiteral("Пик_кнопок=") + switchText(image.keyBeep == SwitchOn);
    lines << QStringLiteral("ФВ=") + byteToHex(image.fvCode);
    lines << QStringLiteral("Код_DCS=") + switchText(image.dcsPolarity == SwitchOn);
    lines << QStringLiteral("Ф_Скан=") + switchText((image.functionFlags & FunctionFlagBits::Scan) != 0);
    lines << QStringLiteral("Ф_V=") + switchText((image.functionFlags & FunctionFlagBits::V) != 0);
    lines << QStringLiteral("ВУ=") + switchText((image.functionFlags & FunctionFlagBits::Module) != 0);
    // A special channel index beyond the records names no channel: the key stays without value.
    const int special = image.specialChannelIndex;
    lines << QStringLiteral("СК=") +
                 (special < count
                      ? QString::number(image.records[static_cast<std::size_t>(special)].channelNumber())
                      : QString());
    rb.settings.setLines(lines);

    decoded.readBack = std::move(rb);
    return decoded;
}

QByteArray encodeReadStream(const DeviceImage& image, quint32 serialNumber, quint8 moduleType,
                            quint8 typeCode)
{
    const int count = std::min<int>(image.channelCount, DeviceImage::MaxRecords);
    QByteArray stream;
    stream.reserve(readStreamSize(count));
    const auto put = [&stream](quint8 byte) { stream.append(static_cast<char>(byte)); };
    put(static_cast<quint8>(serialNumber >> 16));
    put(static_cast<quint8>(serialNumber >> 8));
    put(static_cast<quint8>(serialNumber));
    put(image.brightnessCode);
    put(image.volume);
    put(static_cast<quint8>(count)); // the count of the records that follow
    put(image.keyBeep);
    put(image.specialChannelIndex);
    put(static_cast<quint8>(image.idCode >> 8));
    put(static_cast<quint8>(image.idCode & 0xFF));
    for (quint8 code : image.toneCodes)
        put(code);
    put(image.fvCode);
    put(image.minVolume);
    put(image.dcsPolarity);
    put(image.functionFlags);
    put(moduleType);
    put(typeCode);
    put(0);
    put(0);
    for (int i = 0; i < count; ++i) {
        for (quint8 byte : image.records[static_cast<std::size_t>(i)].bytes)
            put(byte);
    }
    return stream;
}

bool applyReadBack(AppState& state, const ReadBack& readBack)
{
    state.adoptPlan(readBack.settings, readBack.table);
    DeviceImage& image = state.image;
    const DeviceImage& received = readBack.image;
    image.brightnessCode = received.brightnessCode;
    image.volume = received.volume;
    image.channelCount = received.channelCount;
    image.keyBeep = received.keyBeep;
    image.specialChannelIndex = received.specialChannelIndex;
    image.toneCodes = received.toneCodes;
    image.fvCode = received.fvCode;
    image.minVolume = received.minVolume;
    image.dcsPolarity = received.dcsPolarity;
    image.functionFlags = received.functionFlags;
    const int count = std::min<int>(received.channelCount, DeviceImage::MaxRecords);
    for (int i = 0; i < count; ++i)
        image.records[static_cast<std::size_t>(i)] = received.records[static_cast<std::size_t>(i)];
    state.moduleType = readBack.moduleType;
    return state.adoptTypeCode(readBack.typeCode);
}

} // namespace yalmera
