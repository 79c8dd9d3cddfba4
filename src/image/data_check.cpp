#include "data_check.h"

#include "image/image_texts.h"
#include "model/number_text.h"
#include "model/repeater.h"
#include "model/settings_keys.h"
#include "model/value_lists.h"

#include <array>

namespace yalmera {

namespace {

constexpr QStringView Plus = u"+";
constexpr QStringView Minus = u"-";

// ---- Settings rules -------------------------------------------------------------------------

enum class ReadAs { Nothing, Integer, Text };

enum class Accepts {
    Range,          // an integer low..high
    PlusOrMinus,    // "+" or "-"
    AtMost99Rows,   // the table's channel rows fit the image's 99 record slots
    ChannelNumber,  // the low byte of the value is the channel number of some row
    FvCode,         // two characters: the first 0, 1, 2 or 4, the second 0, 1 or 2
    NotAboveVolume, // MinVolume <= Volume, both already accepted
    FourCharacters, // any four characters
};

enum class Encodes {
    Nothing,
    BrightnessCode, // 5 * level - 4
    Volume,
    ChannelCount,
    KeyBeep,             // "+" 200, "-" 100
    SpecialChannelIndex, // 0-based row of the channel
    FvCode,              // 16 * first + second
    MinVolume,
    DcsPolarity,  // "+" 200, "-" 100
    FunctionFlag, // the rule's bit of FunctionFlags when "+"
    ToneCode,     // Hz / 10, ties to even, into ToneCodes[tone - 1]
    IdCode,
};

// Digits of the accepted value that the protocol's text placement counts.
enum class Digits { None, One, Two, OneOrTwoFrom10, ThreeOrFourFrom1000 };

struct SettingsRule
{
    QStringView key{}; // empty for steps that read no key
    ReadAs readAs = ReadAs::Nothing;
    qint32 integerDefault = 0;
    QStringView textDefault{};
    Accepts accepts = Accepts::Range;
    qint32 low = 0;
    qint32 high = 0;
    QStringView message{};
    Encodes encodes = Encodes::Nothing;
    quint8 bit = 0; // FunctionFlag
    int tone = 0;   // ToneCode: 1..10, also the %1 of the message
    Digits digits = Digits::None;
};

constexpr SettingsRule toneRule(QStringView key, int tone)
{
    return {.key = key,
            .readAs = ReadAs::Integer,
            .integerDefault = 10000,
            .accepts = Accepts::Range,
            .low = 700,
            .high = 2550,
            .message = texts::check::ToneRange,
            .encodes = Encodes::ToneCode,
            .tone = tone,
            .digits = Digits::ThreeOrFourFrom1000};
}

// The settings steps in the order they run. The defaults of integer keys lie outside the accepted
// values, so a missing key (or one that is no whole number) fails its rule; "Пик_кнопок" and
// "Код_DCS" read as "+" when missing.
// The integer ranges are the station's unsigned compares over 32 bits: 0 and negative values fail
// like values above the range.
// clang-format off
constexpr std::array<SettingsRule, 23> SettingsRules{{
    {.key = keys::Brightness, .readAs = ReadAs::Integer, .integerDefault = 0,
     .accepts = Accepts::Range, .low = 1, .high = 5,
     .message = texts::check::Brightness, .encodes = Encodes::BrightnessCode},
    {.key = keys::Volume, .readAs = ReadAs::Integer, .integerDefault = 0,
     .accepts = Accepts::Range, .low = 1, .high = 16,
     .message = texts::check::Volume, .encodes = Encodes::Volume, .digits = Digits::OneOrTwoFrom10},
    {.accepts = Accepts::AtMost99Rows,
     .message = texts::check::TooManyChannels, .encodes = Encodes::ChannelCount},
    {.key = keys::KeyBeep, .readAs = ReadAs::Text, .textDefault = u"+",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::KeyBeep, .encodes = Encodes::KeyBeep},
    {.key = keys::SpecialChannel, .readAs = ReadAs::Integer, .integerDefault = 200,
     .accepts = Accepts::ChannelNumber,
     .message = texts::check::SpecialChannel, .encodes = Encodes::SpecialChannelIndex,
     .digits = Digits::OneOrTwoFrom10},
    {.key = keys::Fv, .readAs = ReadAs::Text, .textDefault = u"100",
     .accepts = Accepts::FvCode,
     .message = texts::check::FvLength, .encodes = Encodes::FvCode, .digits = Digits::Two},
    {.key = keys::MinVolume, .readAs = ReadAs::Integer, .integerDefault = 10,
     .accepts = Accepts::Range, .low = 0, .high = 8,
     .message = texts::check::MinVolume, .encodes = Encodes::MinVolume, .digits = Digits::One},
    {.accepts = Accepts::NotAboveVolume,
     .message = texts::check::MinAboveVolume},
    {.key = keys::DcsPolarity, .readAs = ReadAs::Text, .textDefault = u"+",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::DcsPolarity, .encodes = Encodes::DcsPolarity},
    {.key = keys::ScanFunction, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::ScanFunction, .encodes = Encodes::FunctionFlag, .bit = FunctionFlagBits::Scan},
    {.key = keys::VFunction, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::VFunction, .encodes = Encodes::FunctionFlag, .bit = FunctionFlagBits::V},
    {.key = keys::Module, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::ModuleFunction, .encodes = Encodes::FunctionFlag, .bit = FunctionFlagBits::Module},
    toneRule(keys::Tones[0], 1),
    toneRule(keys::Tones[1], 2),
    toneRule(keys::Tones[2], 3),
    toneRule(keys::Tones[3], 4),
    toneRule(keys::Tones[4], 5),
    toneRule(keys::Tones[5], 6),
    toneRule(keys::Tones[6], 7),
    toneRule(keys::Tones[7], 8),
    toneRule(keys::Tones[8], 9),
    toneRule(keys::Tones[9], 10),
    {.key = keys::IdNumber, .readAs = ReadAs::Text, .textDefault = u"0",
     .accepts = Accepts::FourCharacters,
     .message = texts::check::IdLength, .encodes = Encodes::IdCode},
}};
// clang-format on

int digitsOf(Digits digits, qint32 value)
{
    switch (digits) {
    case Digits::None:
        return 0;
    case Digits::One:
        return 1;
    case Digits::Two:
        return 2;
    case Digits::OneOrTwoFrom10:
        return value >= 10 ? 2 : 1;
    case Digits::ThreeOrFourFrom1000:
        return value >= 1000 ? 4 : 3;
    }
    return 0;
}

// A value the station keeps in one byte: its low eight bits, as the station's own program stored
// whatever integer the cell held.
quint8 lowByte(qint32 value)
{
    return static_cast<quint8>(static_cast<quint32>(value) & 0xFFu);
}

quint8 switchByte(QStringView text)
{
    return text == Plus ? SwitchOn : SwitchOff;
}

QString arg(QStringView pattern, const QString& a)
{
    return pattern.toString().arg(a);
}

// One run over the plan. The image is built aside and replaces the state's image only when the
// whole plan passed, so a stopped check leaves the image of the last good check (which the
// repeater panel may still be using) as it was.
class DataCheck
{
public:
    explicit DataCheck(const AppState& state)
        : m_settings(state.settings()), m_table(state.table()), m_band(state.stationType())
    {
    }

    bool run()
    {
        for (const SettingsRule& rule : SettingsRules) {
            if (!applySettingsRule(rule))
                return false;
        }
        for (int row = 1; row <= m_image.channelCount; ++row) {
            if (!encodeRow(row, m_image.records[static_cast<std::size_t>(row - 1)]))
                return false;
        }
        m_message = UserMessage::notice(texts::check::Passed.toString());
        return true;
    }

    const DeviceImage& image() const { return m_image; }
    const UserMessage& message() const { return m_message; }
    quint8 digitCount() const { return m_digitCount; }

private:
    bool stop(const QString& text, Sound sound = Sound::None)
    {
        m_message = UserMessage::notice(text, sound);
        return false;
    }
    bool conversionFailure(const QString& text)
    {
        m_message = UserMessage::failure(text);
        return false;
    }

    // A text the station takes as a whole number; no whole number ends the check with the
    // platform's conversion error.
    bool toInteger(const QString& text, qint32& value)
    {
        const auto parsed = parseInteger(text);
        if (!parsed)
            return conversionFailure(integerConversionError(text));
        value = *parsed;
        return true;
    }
    bool toByte(const QString& text, quint8& byte)
    {
        qint32 value = 0;
        if (!toInteger(text, value))
            return false;
        byte = lowByte(value);
        return true;
    }

    bool applySettingsRule(const SettingsRule& rule)
    {
        qint32 number = 0;
        QString text;
        if (rule.readAs == ReadAs::Integer)
            number = m_settings.integerValue(rule.key, rule.integerDefault);
        else if (rule.readAs == ReadAs::Text)
            text = m_settings.textValue(rule.key, rule.textDefault.toString());

        QString message = rule.message.toString();
        if (rule.tone > 0)
            message = message.arg(rule.tone);

        // The value that is encoded and whose digits are counted.
        qint32 accepted = number;
        switch (rule.accepts) {
        case Accepts::Range:
            if (number < rule.low || number > rule.high)
                return stop(message);
            break;
        case Accepts::PlusOrMinus:
            if (text != Plus && text != Minus)
                return stop(message);
            break;
        case Accepts::AtMost99Rows:
            accepted = m_table.channelCount();
            if (accepted > DeviceImage::MaxRecords)
                return stop(message);
            break;
        case Accepts::ChannelNumber: {
            // Only the low byte of the key counts ("257" is channel 1). Rows are searched in order
            // and only until the first match, each channel number cell taken as an integer.
            const quint8 wanted = lowByte(number);
            accepted = -1;
            for (int row = 1; row <= m_image.channelCount && accepted < 0; ++row) {
                qint32 channel = 0;
                if (!toInteger(m_table.cell(Column::ChannelNumber, row), channel))
                    return false;
                if (channel == wanted)
                    accepted = row - 1;
            }
            if (accepted < 0)
                return stop(message);
            break;
        }
        case Accepts::FvCode: {
            if (text.size() != 2)
                return stop(message);
            qint32 first = 0;
            if (!toInteger(text.left(1), first))
                return false;
            if (first != 0 && first != 1 && first != 2 && first != 4)
                return stop(texts::check::FvDigit.toString());
            qint32 second = 0;
            if (!toInteger(text.mid(1, 1), second))
                return false;
            if (second < 0 || second > 2)
                return stop(texts::check::FvDigit.toString());
            accepted = 16 * first + second;
            break;
        }
        case Accepts::NotAboveVolume:
            if (m_image.minVolume > m_image.volume)
                return stop(message);
            break;
        case Accepts::FourCharacters:
            if (text.size() != 4)
                return stop(message);
            break;
        }

        encode(rule, accepted, text);
        m_digitCount = static_cast<quint8>(m_digitCount + digitsOf(rule.digits, accepted));
        return true;
    }

    void encode(const SettingsRule& rule, qint32 value, const QString& text)
    {
        // Every value here has passed its rule, so it fits its byte.
        switch (rule.encodes) {
        case Encodes::Nothing:
            break;
        case Encodes::BrightnessCode:
            m_image.brightnessCode = lowByte(5 * value - 4);
            break;
        case Encodes::Volume:
            m_image.volume = lowByte(value);
            break;
        case Encodes::ChannelCount:
            m_image.channelCount = lowByte(value);
            break;
        case Encodes::KeyBeep:
            m_image.keyBeep = switchByte(text);
            break;
        case Encodes::SpecialChannelIndex:
            m_image.specialChannelIndex = lowByte(value);
            break;
        case Encodes::FvCode:
            m_image.fvCode = lowByte(value);
            break;
        case Encodes::MinVolume:
            m_image.minVolume = lowByte(value);
            break;
        case Encodes::DcsPolarity:
            m_image.dcsPolarity = switchByte(text);
            break;
        case Encodes::FunctionFlag:
            if (text == Plus)
                m_image.functionFlags |= rule.bit;
            break;
        case Encodes::ToneCode:
            m_image.toneCodes[static_cast<std::size_t>(rule.tone - 1)] = toneCode(value);
            break;
        case Encodes::IdCode:
            m_image.idCode = packIdCode(text);
            break;
        }
    }

    // ---- Row rules, in the order they run ----------------------------------------------------

    bool encodeRow(int row, ChannelRecord& record)
    {
        const auto flags = m_table.rowFlags(row);
        if (!flags)
            return stop(arg(texts::check::MissingFlags, QString::number(row)));

        quint8 channelFlags = 0;
        quint8 extraFlags = ExtraFlagBits::Initial;
        if (flags->active)
            channelFlags |= ChannelFlagBits::Active;
        if (!flags->idTone)
            channelFlags |= ChannelFlagBits::NoIdTone;
        if (cell(Column::Width, row) == u"12,5")
            channelFlags |= ChannelFlagBits::Narrow;
        if (flags->scan)
            channelFlags |= ChannelFlagBits::Scan;

        if (!encodeCodes(row, record, channelFlags))
            return false;

        if (!encodeToneNumber(row, Column::ToneRx, ChannelFlagBits::NoRxTone, RecordField::RxToneNumber,
                              record, channelFlags))
            return false;
        if (!encodeToneNumber(row, Column::ToneTx, ChannelFlagBits::NoTxTone, RecordField::TxToneNumber,
                              record, channelFlags))
            return false;

        const QString number = cell(Column::ChannelNumber, row);
        if (number.size() < 1 || number.size() > 2)
            return stop(arg(texts::check::ChannelNumber, QString::number(row)));
        quint8 channelNumber = 0;
        if (!toByte(number, channelNumber))
            return false;
        record.setChannelNumber(channelNumber);

        const Frequency rx{Column::RxFrequency,         RxRepeaterMark,          ExtraFlagBits::RxRepeater,
                           texts::check::NoRxFrequency, m_band.receiveOffsetKHz, Sound::None};
        const Frequency tx{
            Column::TxFrequency, TxRepeaterMark, ExtraFlagBits::TxRepeater, texts::check::NoTxFrequency, 0,
            Sound::ErrorBeep};
        FrequencyWord rxWord{};
        FrequencyWord txWord{};
        if (!encodeFrequency(rx, row, channelNumber, rxWord, extraFlags))
            return false;
        record.setRxFrequencyWord(rxWord);
        if (!encodeFrequency(tx, row, channelNumber, txWord, extraFlags))
            return false;
        record.setTxFrequencyWord(txWord);

        quint8 byte = 0;
        if (!toByte(cell(Column::Squelch, row), byte))
            return false;
        record.setSquelch(byte);

        const QString powerMin = cell(Column::PowerMin, row);
        if (powerMin == u"4")
            return stop(texts::check::PowerMin.toString());
        if (!toByte(powerMin, byte))
            return false;
        record.setPowerMin(byte);

        const QString powerMax = cell(Column::PowerMax, row);
        if (powerMax == u"1")
            return stop(texts::check::PowerMax.toString());
        if (!toByte(powerMax, byte))
            return false;
        record.setPowerMax(byte);

        const QString txOff = cell(Column::TxOff, row);
        if (txOff == u"RSSI")
            extraFlags &= static_cast<quint8>(~ExtraFlagBits::TxOffRssi);
        else if (txOff == u"OFF")
            extraFlags &= static_cast<quint8>(~ExtraFlagBits::TxOffOff);

        const QString time = cell(Column::Time, row);
        quint8 timer = 0;
        if (time != NoneText) {
            extraFlags &= static_cast<quint8>(~ExtraFlagBits::Timer);
            if (!toByte(time, timer))
                return false;
        }
        record.setTimer(timer);

        record.setChannelFlags(channelFlags);
        record.setExtraFlags(extraFlags);
        return true;
    }

    // RxCode and TxCode: DCS when either DCS cell holds a code, CTCSS otherwise. A cell whose text
    // is in no list (a hand-edited file) would be sent as a meaningless code, so it stops the check.
    bool encodeCodes(int row, ChannelRecord& record, quint8& channelFlags)
    {
        const int ctcssRx = firstPosition(CtcssTones, cell(Column::CtcssRx, row));
        const int ctcssTx = firstPosition(CtcssTones, cell(Column::CtcssTx, row));
        const int dcsRx = firstPosition(DcsCodes, cell(Column::DcsRx, row));
        const int dcsTx = firstPosition(DcsCodes, cell(Column::DcsTx, row));
        const std::array<std::pair<Column, int>, 4> positions{{{Column::CtcssRx, ctcssRx},
                                                               {Column::CtcssTx, ctcssTx},
                                                               {Column::DcsRx, dcsRx},
                                                               {Column::DcsTx, dcsTx}}};
        for (const auto& [column, position] : positions) {
            if (position < 0)
                return stop(texts::check::NotInList.toString().arg(row).arg(columnCaption(column).trimmed(),
                                                                            cell(column, row)));
        }

        quint8 rxCode = CodeNone;
        quint8 txCode = CodeNone;
        if (dcsRx > 0 || dcsTx > 0) {
            // "Код_DCS" "+" sends each code as its inverse twin.
            const bool inverse = m_image.dcsPolarity == SwitchOn;
            const auto dcsCode = [inverse](int position) {
                return static_cast<quint8>(inverse ? dcsInverse(position) : position);
            };
            if (dcsRx > 0)
                rxCode = dcsCode(dcsRx);
            if (dcsTx > 0)
                txCode = dcsCode(dcsTx);
        } else {
            channelFlags |= ChannelFlagBits::CtcssMode;
            if (ctcssRx > 0)
                rxCode = static_cast<quint8>(ctcssRx);
            if (ctcssTx > 0)
                txCode = static_cast<quint8>(ctcssTx);
        }
        record.setRxCode(rxCode);
        record.setTxCode(txCode);
        return true;
    }

    bool encodeToneNumber(int row, Column column, quint8 noneBit, RecordField field, ChannelRecord& record,
                          quint8& channelFlags)
    {
        const QString text = cell(column, row);
        if (text == NoneText) {
            channelFlags |= noneBit;
            return true;
        }
        quint8 number = 0;
        if (!toByte(text, number))
            return false;
        record.setValue(field, number);
        return true;
    }

    struct Frequency
    {
        Column column;
        QStringView mark;
        quint8 markBit; // ExtraFlags bit cleared by the mark
        QStringView emptyMessage;
        qint32 offsetKHz;
        Sound offGridSound;
    };

    bool encodeFrequency(const Frequency& f, int row, quint8 channelNumber, FrequencyWord& word,
                         quint8& extraFlags)
    {
        const QString text = cell(f.column, row);
        if (text.isEmpty())
            return stop(arg(f.emptyMessage, QString::number(channelNumber)));
        if (text == f.mark) {
            word = {0, 0, 0};
            extraFlags &= static_cast<quint8>(~f.markBit);
            return true;
        }
        const auto kHz = parseDecimal(text);
        if (!kHz)
            return conversionFailure(decimalConversionError(text));
        if (*kHz < m_band.lowerLimitKHz || *kHz > m_band.upperLimitKHz)
            return stop(texts::check::Band.toString().arg(row).arg(m_band.limitsMHzText()));
        if (!isOnGrid625(*kHz))
            return stop(texts::check::OffGrid.toString(), f.offGridSound);
        word = frequencyWordForKHz(*kHz + f.offsetKHz, m_band.dividerModulus);
        return true;
    }

    QString cell(Column column, int row) const { return m_table.cell(column, row); }

    const GeneralSettings& m_settings;
    const ChannelTable& m_table;
    const StationType& m_band;
    DeviceImage m_image; // all 99 record slots zero
    UserMessage m_message;
    quint8 m_digitCount = 0;
};

} // namespace

CheckResult runDataCheck(AppState& state)
{
    DataCheck check(state);
    const bool passed = check.run();
    // A stopped check leaves its partial count, which nobody reads without the gate.
    if (passed)
        state.acceptCheck(check.image(), check.digitCount());
    else
        state.refuseCheck(check.digitCount());
    return {passed, check.message()};
}

} // namespace yalmera
