#include "repeater.h"

#include "number_text.h"

namespace yalmera {

namespace {

bool isRepeaterMark(const QString& text)
{
    return text == RxRepeaterMark || text == TxRepeaterMark;
}

} // namespace

RepeaterWriteResult writeRepeaterMark(ChannelTable& table, RepeaterSavedTexts& savedTexts,
                                      std::span<const quint8> channelNumbers,
                                      const QString& channelNumberText, RepeaterMode mode)
{
    if (channelNumberText.isEmpty())
        return {UserMessage::notice(texts::model::RepeaterNoChannelNumber.toString()), 0};

    // The field takes digits only; an overlong or pasted text is no integer and gets the
    // platform's conversion error like every other number the user gives.
    const std::optional<qint32> number = parseInteger(channelNumberText);
    if (!number)
        return {UserMessage::failure(integerConversionError(channelNumberText)), 0};
    int row = 0;
    for (std::size_t i = 0; i < channelNumbers.size(); ++i) {
        if (channelNumbers[i] == *number) {
            row = static_cast<int>(i) + 1;
            break;
        }
    }
    // A row beyond the table can only come from an image older than the table; never write there.
    if (row == 0 || row > table.channelCount())
        return {UserMessage::notice(texts::model::RepeaterUnknownChannel.toString()), 0};

    const bool receive = mode == RepeaterMode::Receive;
    // Receive mode restores the receive column and marks the transmit column; transmit mode the reverse.
    const Column restoreColumn = receive ? Column::RxFrequency : Column::TxFrequency;
    const Column markColumn = receive ? Column::TxFrequency : Column::RxFrequency;
    const QStringView restoreMark = receive ? RxRepeaterMark : TxRepeaterMark;
    const QStringView newMark = receive ? TxRepeaterMark : RxRepeaterMark;

    if (table.cell(restoreColumn, row) == restoreMark) {
        QString restored;
        const auto saved = savedTexts.constFind(row);
        if (saved != savedTexts.constEnd() && saved->column == restoreColumn) {
            restored = saved->text;
            savedTexts.erase(saved);
        }
        table.setCell(restoreColumn, row, restored);
    }

    // Marking an already marked column keeps the frequency saved for it.
    const QString replaced = table.cell(markColumn, row);
    if (!isRepeaterMark(replaced))
        savedTexts.insert(row, RepeaterSavedText{markColumn, replaced});
    table.setCell(markColumn, row, newMark.toString());

    table.setFlag(Column::Scan, row, false);
    return {UserMessage{}, row};
}

} // namespace yalmera
