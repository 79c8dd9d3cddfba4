#include "data_check.h"

#include "image/field_codec.h"
#include "image/image_texts.h"
#include "model/number_text.h"
#include "model/repeater.h"
#include "model/settings_keys.h"
#include "model/value_lists.h"

#include <array>
#include <optional>

namespace yalmera {

namespace {

constexpr QStringView Plus = u"+";
constexpr QStringView Minus = u"-";

// ---- Settings rules -------------------------------------------------------------------------

enum class ReadAs { Nothing, Integer, Text };

enum class Accepts {
    Range,          // an integer low..high
    PlusOrMinus,    // "+" or "-"
    FitsTheRecords, // the table's channel rows fit the image's record slots
    ChannelNumber,  // the low byte of the value is the channel number of some row
    FvCode,         // two characters: the first 0, 1, 2 or 4, the second 0, 1 or 2
    NotAboveVolume, // MinVolume <= Volume, both already accepted
    FourCharacters, // any four characters
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
    std::optional<HeaderField> field{}; // the header field that takes the accepted value
    int tone = 0;                       // the %1 of the message: tone 1..10
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
            .field = HeaderField::ToneCode,
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
     .message = texts::check::Brightness, .field = HeaderField::BrightnessCode},
    {.key = keys::Volume, .readAs = ReadAs::Integer, .integerDefault = 0,
     .accepts = Accepts::Range, .low = 1, .high = 16,
     .message = texts::check::Volume, .field = HeaderField::Volume, .digits = Digits::OneOrTwoFrom10},
    {.accepts = Accepts::FitsTheRecords,
     .message = texts::check::TooManyChannels, .field = HeaderField::ChannelCount},
    {.key = keys::KeyBeep, .readAs = ReadAs::Text, .textDefault = u"+",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::KeyBeep, .field = HeaderField::KeyBeep},
    {.key = keys::SpecialChannel, .readAs = ReadAs::Integer, .integerDefault = 200,
     .accepts = Accepts::ChannelNumber,
     .message = texts::check::SpecialChannel, .field = HeaderField::SpecialChannelIndex,
     .digits = Digits::OneOrTwoFrom10},
    {.key = keys::Fv, .readAs = ReadAs::Text, .textDefault = u"100",
     .accepts = Accepts::FvCode,
     .message = texts::check::FvLength, .field = HeaderField::FvCode, .digits = Digits::Two},
    {.key = keys::MinVolume, .readAs = ReadAs::Integer, .integerDefault = 10,
     .accepts = Accepts::Range, .low = 0, .high = 8,
     .message = texts::check::MinVolume, .field = HeaderField::MinVolume, .digits = Digits::One},
    {.accepts = Accepts::NotAboveVolume,
     .message = texts::check::MinAboveVolume},
    {.key = keys::DcsPolarity, .readAs = ReadAs::Text, .textDefault = u"+",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::DcsPolarity, .field = HeaderField::DcsPolarity},
    {.key = keys::ScanFunction, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::ScanFunction, .field = HeaderField::FunctionFlags},
    {.key = keys::VFunction, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::VFunction, .field = HeaderField::FunctionFlags},
    {.key = keys::Module, .readAs = ReadAs::Text, .textDefault = u"i",
     .accepts = Accepts::PlusOrMinus,
     .message = texts::check::ModuleFunction, .field = HeaderField::FunctionFlags},
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
     .message = texts::check::IdLength, .field = HeaderField::IdCode},
}};
// clang-format on

// The header row each rule's accepted value goes into (-1: the rule encodes nothing).
constexpr std::array<int, SettingsRules.size()> RuleRows = [] {
    std::array<int, SettingsRules.size()> rows{};
    for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
        const SettingsRule& rule = SettingsRules[i];
        rows[i] = rule.field ? headerRowOf(*rule.field, rule.key) : -1;
    }
    return rows;
}();

constexpr bool everyEncodingRuleHasItsRow()
{
    for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
        if (SettingsRules[i].field.has_value() != (RuleRows[i] >= 0))
            return false;
    }
    return true;
}
static_assert(everyEncodingRuleHasItsRow());

int digitsOf(Digits digits, qint64 value)
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

QString arg(QStringView pattern, const QString& a)
{
    return pattern.toString().arg(a);
}

// One run over the plan, its image built aside. The check only validates: what it accepts goes
// to the plan codec (field_codec.h), which encodes it.
class DataCheck
{
public:
    DataCheck(const GeneralSettings& settings, const ChannelTable& table, const StationType& band)
        : m_settings(settings), m_table(table), m_band(band)
    {
    }

    bool run()
    {
        for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
            if (!applySettingsRule(i))
                return false;
        }
        encodeSettings(m_settingValues, m_stream);
        DeviceImage& image = m_stream.image;
        for (int row = 1; row <= image.channelCount; ++row) {
            if (!acceptRow(row))
                return false;
            image.records[static_cast<std::size_t>(row - 1)] = encodeRecord(m_row, m_band, image.dcsPolarity);
        }
        m_message = UserMessage::notice(texts::check::Passed.toString());
        return true;
    }

    const DeviceImage& image() const { return m_stream.image; }
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
    bool toInteger(const QString& text, qint64& value)
    {
        const auto parsed = parseInteger(text);
        if (!parsed)
            return conversionFailure(integerConversionError(text));
        value = *parsed;
        return true;
    }

    // ---- Settings rules, in the order they run -----------------------------------------------

    bool applySettingsRule(std::size_t i)
    {
        const SettingsRule& rule = SettingsRules[i];
        PlanValue value = readSetting(rule);
        if (!accept(rule, value))
            return false;
        if (RuleRows[i] >= 0)
            m_settingValues[static_cast<std::size_t>(RuleRows[i])] = value;
        m_digitCount = static_cast<quint8>(m_digitCount + digitsOf(rule.digits, value.number));
        return true;
    }

    PlanValue readSetting(const SettingsRule& rule) const
    {
        PlanValue value;
        if (rule.readAs == ReadAs::Integer)
            value.number = m_settings.integerValue(rule.key, rule.integerDefault);
        else if (rule.readAs == ReadAs::Text)
            value.text = m_settings.textValue(rule.key, rule.textDefault.toString());
        return value;
    }

    static QString messageOf(const SettingsRule& rule)
    {
        QString message = rule.message.toString();
        return rule.tone > 0 ? message.arg(rule.tone) : message;
    }

    // Whether the rule accepts the value; rules that derive what is encoded (the record count,
    // the special channel's record) put it into the value.
    bool accept(const SettingsRule& rule, PlanValue& value)
    {
        switch (rule.accepts) {
        case Accepts::Range:
            return (value.number >= rule.low && value.number <= rule.high) || stop(messageOf(rule));
        case Accepts::PlusOrMinus:
            return value.text == Plus || value.text == Minus || stop(messageOf(rule));
        case Accepts::FitsTheRecords:
            value.number = m_table.channelCount();
            return value.number <= MaxRecords || stop(messageOf(rule));
        case Accepts::ChannelNumber:
            return findSpecialChannel(rule, value);
        case Accepts::FvCode:
            return acceptFvCode(rule, value.text);
        case Accepts::NotAboveVolume:
            return accepted(HeaderField::MinVolume) <= accepted(HeaderField::Volume) || stop(messageOf(rule));
        case Accepts::FourCharacters:
            return value.text.size() == 4 || stop(messageOf(rule));
        }
        return false;
    }

    // The value an earlier rule accepted for a field that carries no key of its own or one key.
    qint64 accepted(HeaderField field) const
    {
        for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
            if (SettingsRules[i].field == field)
                return m_settingValues[static_cast<std::size_t>(RuleRows[i])].number;
        }
        return 0;
    }

    // Only the low byte of the key counts ("257" is channel 1). Rows are searched in order and
    // only until the first match, each channel number cell taken as an integer; the value becomes
    // the 0-based row of the match.
    bool findSpecialChannel(const SettingsRule& rule, PlanValue& value)
    {
        const auto wanted = static_cast<quint8>(value.number);
        const qint64 rows = accepted(HeaderField::ChannelCount);
        for (int row = 1; row <= rows; ++row) {
            qint64 channel = 0;
            if (!toInteger(m_table.cell(Column::ChannelNumber, row), channel))
                return false;
            if (channel == wanted) {
                value.number = row - 1;
                return true;
            }
        }
        return stop(messageOf(rule));
    }

    // Each character is taken as an integer on its own.
    bool acceptFvCode(const SettingsRule& rule, const QString& text)
    {
        if (text.size() != 2)
            return stop(messageOf(rule));
        qint64 first = 0;
        if (!toInteger(text.left(1), first))
            return false;
        if (first != 0 && first != 1 && first != 2 && first != 4)
            return stop(texts::check::FvDigit.toString());
        qint64 second = 0;
        if (!toInteger(text.mid(1, 1), second))
            return false;
        return (second >= 0 && second <= 2) || stop(texts::check::FvDigit.toString());
    }

    // ---- Row rules, in the order they run ----------------------------------------------------

    bool acceptRow(int row)
    {
        for (int column = 0; column < ColumnCount; ++column) {
            if (!isFlagColumn(columnAt(column)))
                m_row[static_cast<std::size_t>(column)].text = m_table.cell(columnAt(column), row);
        }
        return takeFlags(row) && takeCodes(row) && takeNumberOrNone(Column::ToneRx) &&
               takeNumberOrNone(Column::ToneTx) && takeChannelNumber(row) &&
               takeFrequency(RxFrequency, row) && takeFrequency(TxFrequency, row) &&
               takeInteger(Column::Squelch) && takePower(Column::PowerMin, u"4", texts::check::PowerMin) &&
               takePower(Column::PowerMax, u"1", texts::check::PowerMax) && takeNumberOrNone(Column::Time);
    }

    PlanValue& at(Column column) { return m_row[static_cast<std::size_t>(columnIndex(column))]; }

    bool takeFlags(int row)
    {
        const auto flags = m_table.rowFlags(row);
        if (!flags)
            return stop(arg(texts::check::MissingFlags, QString::number(row)));
        at(Column::Scan).number = flags->scan;
        at(Column::IdTone).number = flags->idTone;
        at(Column::Active).number = flags->active;
        return true;
    }

    // A code cell whose text is in no list (a hand-edited file) would be sent as a meaningless
    // code, so it stops the check. The value is the text's first position in its list.
    bool takeCodes(int row)
    {
        for (const Column column : {Column::CtcssRx, Column::CtcssTx, Column::DcsRx, Column::DcsTx}) {
            PlanValue& value = at(column);
            value.number = column == Column::CtcssRx || column == Column::CtcssTx
                               ? firstPosition(CtcssTones, value.text)
                               : firstPosition(DcsCodes, value.text);
            if (value.number < 0)
                return stop(texts::check::NotInList.toString().arg(row).arg(columnCaption(column).trimmed(),
                                                                            value.text));
        }
        return true;
    }

    bool takeInteger(Column column)
    {
        PlanValue& value = at(column);
        return toInteger(value.text, value.number);
    }

    // "Нет" or a whole number.
    bool takeNumberOrNone(Column column)
    {
        PlanValue& value = at(column);
        value.none = value.text == NoneText;
        return value.none || takeInteger(column);
    }

    bool takeChannelNumber(int row)
    {
        const qsizetype size = at(Column::ChannelNumber).text.size();
        if (size < 1 || size > 2)
            return stop(arg(texts::check::ChannelNumber, QString::number(row)));
        return takeInteger(Column::ChannelNumber);
    }

    struct Frequency
    {
        Column column;
        QStringView mark;
        QStringView emptyMessage;
        Sound offGridSound;
    };
    static constexpr Frequency RxFrequency{Column::RxFrequency, RxRepeaterMark, texts::check::NoRxFrequency,
                                           Sound::None};
    static constexpr Frequency TxFrequency{Column::TxFrequency, TxRepeaterMark, texts::check::NoTxFrequency,
                                           Sound::ErrorBeep};

    bool takeFrequency(const Frequency& f, int row)
    {
        PlanValue& value = at(f.column);
        if (value.text.isEmpty()) {
            // The message names the channel number as the station takes it, one byte.
            const auto channel = static_cast<quint8>(at(Column::ChannelNumber).number);
            return stop(arg(f.emptyMessage, QString::number(channel)));
        }
        value.none = value.text == f.mark;
        if (value.none)
            return true;
        const auto kHz = parseDecimal(value.text);
        if (!kHz)
            return conversionFailure(decimalConversionError(value.text));
        if (*kHz < m_band.lowerLimitKHz || *kHz > m_band.upperLimitKHz)
            return stop(texts::check::Band.toString().arg(row).arg(m_band.limitsMHzText()));
        if (!isOnGrid625(*kHz))
            return stop(texts::check::OffGrid.toString(), f.offGridSound);
        value.kHz = *kHz;
        return true;
    }

    // A power step the station should not use stops the check, worded as advice.
    bool takePower(Column column, QStringView refused, QStringView message)
    {
        return (at(column).text != refused || stop(message.toString())) && takeInteger(column);
    }

    const GeneralSettings& m_settings;
    const ChannelTable& m_table;
    const StationType& m_band;
    SettingValues m_settingValues;
    ChannelValues m_row;     // the row being checked
    StreamContents m_stream; // its image: all record slots zero
    UserMessage m_message;
    quint8 m_digitCount = 0;
};

} // namespace

PlanCheck checkPlan(const GeneralSettings& settings, const ChannelTable& table, const StationType& band)
{
    DataCheck check(settings, table, band);
    const bool passed = check.run();
    return {{passed, check.message()}, check.image(), check.digitCount()};
}

} // namespace yalmera
