#include "channel_template.h"

#include "model_texts.h"
#include "number_text.h"
#include "value_lists.h"

#include <variant>

namespace yalmera {

namespace {

// The cells every template row gets besides its number and frequencies. The flag columns carry
// no text; their state comes from the flags' creation state.
struct DefaultCell
{
    Column column;
    QStringView text;
};
constexpr DefaultCell DefaultCells[] = {
    {Column::CtcssRx, NoneText}, {Column::CtcssTx, NoneText}, {Column::DcsRx, NoneText},
    {Column::DcsTx, NoneText},   {Column::ToneRx, NoneText},  {Column::ToneTx, NoneText},
    {Column::Squelch, u"1"},     {Column::PowerMax, u"4"},    {Column::PowerMin, u"1"},
    {Column::Width, u"25"},      {Column::TxOff, u"Норм"},    {Column::Time, NoneText},
};

TemplateResult refused(UserMessage message)
{
    TemplateResult result;
    result.message = std::move(message);
    return result;
}

// The count field must hold one or two characters (the field takes two digits, the image MaxChannels
// records). A count below 1 would make a plan without channels and is refused the same way.
// A text that is no whole number is only found out when the rows are made, after the frequency
// tests, with the platform's conversion error.
std::optional<UserMessage> countRefusal(const QString& text)
{
    if (text.isEmpty() || text.size() > 2)
        return UserMessage::notice(texts::model::CountRefused.toString(), Sound::CriticalStop);
    if (const auto count = parseInteger(text); count && *count < 1)
        return UserMessage::notice(texts::model::CountRefused.toString(), Sound::CriticalStop);
    return std::nullopt;
}

// A frequency field as kHz, or the platform's conversion error.
std::variant<double, UserMessage> frequencyKHz(const QString& text)
{
    if (const auto value = parseDecimal(text))
        return *value;
    return UserMessage::failure(decimalConversionError(text));
}

} // namespace

TemplateResult makeChannelTemplate(const TemplateFields& fields, const StationType& stationType)
{
    if (const auto refusal = countRefusal(fields.count))
        return refused(*refusal);

    const auto start = frequencyKHz(fields.startKHz);
    if (const auto* message = std::get_if<UserMessage>(&start))
        return refused(*message);
    const double startKHz = std::get<double>(start);
    if (!isOnGrid625(startKHz))
        return refused(UserMessage::notice(texts::model::StartOffGrid.toString(), Sound::CriticalStop));

    const auto offset = frequencyKHz(fields.offsetKHz);
    if (const auto* message = std::get_if<UserMessage>(&offset))
        return refused(*message);
    const double offsetKHz = std::get<double>(offset);
    if (!isOnGrid625(offsetKHz))
        return refused(UserMessage::notice(texts::model::OffsetOffGrid.toString(), Sound::CriticalStop));

    if (startKHz < stationType.lowerLimitKHz || startKHz > stationType.upperLimitKHz) {
        return refused(UserMessage::notice(texts::model::StartOutOfBand.toString() +
                                           stationType.limitsMHzText() +
                                           texts::model::StartOutOfBandUnit.toString()));
    }

    const auto count = parseInteger(fields.count);
    if (!count)
        return refused(UserMessage::failure(integerConversionError(fields.count)));
    const int channels = *count; // two characters hold at most MaxChannels

    TemplateResult result;
    result.table.setRowCount(channels + 1);
    result.table.writeCaptions(CaptionStyle::Standard);
    for (int row = 1; row <= channels; ++row) {
        // Later rows may run past the band; they are held at its upper limit, not refused.
        double kHz = startKHz + offsetKHz * (row - 1);
        if (kHz > stationType.upperLimitKHz)
            kHz = stationType.upperLimitKHz;
        const QString frequency = shortestDecimalText(kHz);
        result.table.setCell(Column::ChannelNumber, row, QString::number(row));
        result.table.setCell(Column::RxFrequency, row, frequency);
        result.table.setCell(Column::TxFrequency, row, frequency);
        for (const DefaultCell& cell : DefaultCells)
            result.table.setCell(cell.column, row, cell.text.toString());
    }
    result.table.createFlags();
    result.settings.setLines(GeneralSettings::templateLines());
    return result;
}

} // namespace yalmera
