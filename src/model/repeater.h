#pragma once

#include "model/channel_table.h"
#include "model/model_texts.h"
#include "model/user_message.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <span>

namespace yalmera {

// A repeater role replaces one frequency of a channel by a mark that the data check encodes as
// "no frequency": receive mode marks the transmit column, transmit mode the receive column.
enum class RepeaterMode { Receive, Transmit };

inline constexpr QStringView RxRepeaterMark = u"РЕТР_ПП"; // in " Rx, кГц": the channel only transmits
inline constexpr QStringView TxRepeaterMark = u"РЕТР_ПР"; // in " Tx, кГц": the channel only receives

// The frequency text a mark replaced, remembered per table row together with the column it came
// from, so that switching the channel back gives that column its own frequency and never another
// channel's or another column's.
struct RepeaterSavedText
{
    Column column = Column::RxFrequency;
    QString text;

    friend bool operator==(const RepeaterSavedText&, const RepeaterSavedText&) = default;
};
using RepeaterSavedTexts = QHash<int, RepeaterSavedText>; // key: table row 1..N

struct RepeaterWriteResult
{
    UserMessage message; // empty when the mark was written
    int row = 0;         // the table row that got the mark

    bool ok() const { return message.isEmpty(); }
};

// Writes the mark of `mode` into the row whose channel carried `channelNumberText` at the last
// data check: channelNumbers[i] is the channel number of table row i + 1 as the check encoded it.
// A mark that is replaced again gives back the row's saved frequency (empty when none is saved);
// a mark is never saved as a frequency. The row's scan flag is cleared.
RepeaterWriteResult writeRepeaterMark(ChannelTable& table, RepeaterSavedTexts& savedTexts,
                                      std::span<const quint8> channelNumbers,
                                      const QString& channelNumberText, RepeaterMode mode);

} // namespace yalmera
