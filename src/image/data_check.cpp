#include "data_check.h"

#include "image/field_codec.h"
#include "image/image_texts.h"
#include "model/number_text.h"
#include "model/repeater.h"
#include "model/settings_keys.h"
#include "model/value_lists.h"

#include <algorithm>
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
    QStringView key{};     // empty for steps that read no key
    QStringView shownAt{}; // a step without a key: the key whose line shows its refusal
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
    {.shownAt = keys::MinVolume, .accepts = Accepts::NotAboveVolume,
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

// What a run does at a refusal: ends there, as "Контроль" does, or notes it and goes on with the
// next rule, for the marks of every refusal at once.
enum class Refusals { StopAtFirst, CollectAll };

// One run over the plan, its image built aside. The check only validates: what it accepts goes
// to the plan codec (field_codec.h), which encodes it. Every rule returns whether it accepted;
// a refusal is noted at the place being judged (a rule's settings line or a cell).
class DataCheck
{
public:
    DataCheck(const GeneralSettings& settings, const ChannelTable& table, const StationType& band,
              Refusals refusals)
        : m_settings(settings), m_table(table), m_band(band), m_collectAll(refusals == Refusals::CollectAll)
    {
    }

    bool run()
    {
        bool passed = true;
        for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
            m_ruleAccepted[i] = applySettingsRule(i);
            passed = passed && m_ruleAccepted[i];
            if (!passed && !m_collectAll)
                return false;
        }
        m_settingsMarks = m_marks.size();
        if (!m_collectAll)
            encodeSettings(m_settingValues, m_stream);
        for (int row = 1; row <= m_table.channelCount(); ++row) {
            const bool accepted = acceptRow(row);
            passed = passed && accepted;
            if (!passed && !m_collectAll)
                return false;
            if (!m_collectAll)
                m_stream.image.records[static_cast<std::size_t>(row - 1)] =
                    encodeRecord(m_row, m_band, m_stream.image.dcsPolarity);
        }
        if (passed)
            m_message = UserMessage::notice(texts::check::Passed.toString());
        return passed;
    }

    const DeviceImage& image() const { return m_stream.image; }
    const UserMessage& message() const { return m_message; }
    quint8 digitCount() const { return m_digitCount; }
    const std::optional<PlanMark>& refusal() const { return m_refusal; }
    const PlanMarks& marks() const { return m_marks; }

private:
    bool stop(const QString& text, Sound sound = Sound::None)
    {
        return refuse(UserMessage::notice(text, sound));
    }
    bool conversionFailure(const QString& text) { return refuse(UserMessage::failure(text)); }

    bool refuse(UserMessage message)
    {
        PlanMark mark = markHere();
        mark.message = message.text;
        if (!m_collectAll) {
            m_message = std::move(message);
            m_refusal = std::move(mark);
            return false;
        }
        // A channel number cell the special-channel search could not read is refused again by
        // its row's own rule.
        const auto settingsEnd = m_marks.cbegin() + m_settingsMarks;
        if (std::find(m_marks.cbegin(), settingsEnd, mark) == settingsEnd)
            m_marks.append(std::move(mark));
        return false;
    }

    PlanMark markHere() const
    {
        if (!m_judgedRule)
            return PlanMark::cell(m_judgedRow, m_judgedColumn);
        const QStringView key = m_judgedRule->key.isEmpty() ? m_judgedRule->shownAt : m_judgedRule->key;
        // The record count names no key: its refusal is shown on the first row beyond the slots.
        if (key.isEmpty())
            return PlanMark::cell(MaxRecords + 1, Column::ChannelNumber);
        return PlanMark::line(m_settings.lineOf(key));
    }

    void judgeCell(int row, Column column)
    {
        m_judgedRule = nullptr;
        m_judgedRow = row;
        m_judgedColumn = column;
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
        m_judgedRule = &rule;
        PlanValue value = readSetting(rule);
        const bool accepted = accept(rule, value);
        // Kept also when refused: a later rule may count on it while all refusals are collected
        // (the special channel is searched among the rows even when they are too many).
        if (RuleRows[i] >= 0)
            m_settingValues[static_cast<std::size_t>(RuleRows[i])] = value;
        if (accepted)
            m_digitCount = static_cast<quint8>(m_digitCount + digitsOf(rule.digits, value.number));
        return accepted;
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
            // Only two accepted values are compared (a refused one is marked on its own).
            if (!wasAccepted(HeaderField::MinVolume) || !wasAccepted(HeaderField::Volume))
                return true;
            return accepted(HeaderField::MinVolume) <= accepted(HeaderField::Volume) || stop(messageOf(rule));
        case Accepts::FourCharacters:
            return value.text.size() == 4 || stop(messageOf(rule));
        }
        return false;
    }

    std::optional<std::size_t> ruleOf(HeaderField field) const
    {
        for (std::size_t i = 0; i < SettingsRules.size(); ++i) {
            if (SettingsRules[i].field == field)
                return i;
        }
        return std::nullopt;
    }

    // The value an earlier rule took for a field that carries no key of its own or one key.
    qint64 accepted(HeaderField field) const
    {
        const auto rule = ruleOf(field);
        return rule ? m_settingValues[static_cast<std::size_t>(RuleRows[*rule])].number : 0;
    }

    bool wasAccepted(HeaderField field) const
    {
        const auto rule = ruleOf(field);
        return rule && m_ruleAccepted[*rule];
    }

    // Only the low byte of the key counts ("257" is channel 1). Rows are searched in order and
    // only until the first match, each channel number cell taken as an integer; the value becomes
    // the 0-based row of the match. A cell that is no integer is refused in its own place.
    bool findSpecialChannel(const SettingsRule& rule, PlanValue& value)
    {
        const auto wanted = static_cast<quint8>(value.number);
        const qint64 rows = accepted(HeaderField::ChannelCount);
        bool everyCellRead = true;
        for (int row = 1; row <= rows; ++row) {
            qint64 channel = -1; // never a byte's value
            judgeCell(row, Column::ChannelNumber);
            const bool read = toInteger(m_table.cell(Column::ChannelNumber, row), channel);
            m_judgedRule = &rule;
            everyCellRead = everyCellRead && read;
            if (!read && !m_collectAll)
                return false;
            if (channel == wanted) {
                value.number = row - 1;
                return everyCellRead;
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
        m_channelNumberTaken = false;
        // A refusal ends the row unless every refusal is collected.
        bool accepted = true;
        const auto step = [this, &accepted](bool stepAccepted) {
            accepted = accepted && stepAccepted;
            return stepAccepted || m_collectAll;
        };
        static_cast<void>(step(takeFlags(row)) && step(takeCodes(row)) &&
                          step(takeNumberOrNone(row, Column::ToneRx)) &&
                          step(takeNumberOrNone(row, Column::ToneTx)) && step(takeChannelNumber(row)) &&
                          step(takeFrequency(RxFrequency, row)) && step(takeFrequency(TxFrequency, row)) &&
                          step(takeInteger(row, Column::Squelch)) &&
                          step(takePower(row, Column::PowerMin, u"4", texts::check::PowerMin)) &&
                          step(takePower(row, Column::PowerMax, u"1", texts::check::PowerMax)) &&
                          step(takeNumberOrNone(row, Column::Time)));
        return accepted;
    }

    PlanValue& at(Column column) { return m_row[static_cast<std::size_t>(columnIndex(column))]; }

    // The cell a row rule judges: its value, and the place of its refusal.
    PlanValue& take(int row, Column column)
    {
        judgeCell(row, column);
        return at(column);
    }

    bool takeFlags(int row)
    {
        judgeCell(row, Column::Scan);
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
        bool accepted = true;
        for (const Column column : {Column::CtcssRx, Column::CtcssTx, Column::DcsRx, Column::DcsTx}) {
            PlanValue& value = take(row, column);
            value.number = column == Column::CtcssRx || column == Column::CtcssTx
                               ? firstPosition(CtcssTones, value.text)
                               : firstPosition(DcsCodes, value.text);
            if (value.number < 0) {
                accepted = stop(texts::check::NotInList.toString().arg(row).arg(
                    columnCaption(column).trimmed(), value.text));
                if (!m_collectAll)
                    return false;
            }
        }
        return accepted;
    }

    bool takeInteger(int row, Column column)
    {
        PlanValue& value = take(row, column);
        return toInteger(value.text, value.number);
    }

    // "Нет" or a whole number.
    bool takeNumberOrNone(int row, Column column)
    {
        PlanValue& value = take(row, column);
        value.none = value.text == NoneText;
        return value.none || takeInteger(row, column);
    }

    bool takeChannelNumber(int row)
    {
        const qsizetype size = take(row, Column::ChannelNumber).text.size();
        if (size < 1 || size > 2)
            return stop(arg(texts::check::ChannelNumber, QString::number(row)));
        m_channelNumberTaken = takeInteger(row, Column::ChannelNumber);
        return m_channelNumberTaken;
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
        PlanValue& value = take(row, f.column);
        if (value.text.isEmpty()) {
            // The message names the channel number as the station takes it, one byte; a number
            // refused itself (only while every refusal is collected) as it is written.
            const PlanValue& channel = at(Column::ChannelNumber);
            return stop(arg(f.emptyMessage, m_channelNumberTaken
                                                ? QString::number(static_cast<quint8>(channel.number))
                                                : channel.text));
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
    bool takePower(int row, Column column, QStringView refused, QStringView message)
    {
        return (take(row, column).text != refused || stop(message.toString())) && takeInteger(row, column);
    }

    const GeneralSettings& m_settings;
    const ChannelTable& m_table;
    const StationType& m_band;
    const bool m_collectAll;
    SettingValues m_settingValues;
    std::array<bool, SettingsRules.size()> m_ruleAccepted{};
    ChannelValues m_row;     // the row being checked
    StreamContents m_stream; // its image: all record slots zero
    UserMessage m_message;
    quint8 m_digitCount = 0;
    bool m_channelNumberTaken = false; // the row's channel number cell was accepted
    // The place being judged: a settings rule, or else a cell.
    const SettingsRule* m_judgedRule = nullptr;
    int m_judgedRow = 0;
    Column m_judgedColumn = Column::ChannelNumber;
    std::optional<PlanMark> m_refusal;
    PlanMarks m_marks;
    qsizetype m_settingsMarks = 0; // marks of the settings rules, which come first
};

} // namespace

PlanCheck checkPlan(const GeneralSettings& settings, const ChannelTable& table, const StationType& band)
{
    DataCheck check(settings, table, band, Refusals::StopAtFirst);
    const bool passed = check.run();
    return {{passed, check.message()}, check.image(), check.digitCount(), check.refusal()};
}

PlanMarks markRefusals(const GeneralSettings& settings, const ChannelTable& table, const StationType& band)
{
    DataCheck check(settings, table, band, Refusals::CollectAll);
    check.run();
    return check.marks();
}

} // namespace yalmera
