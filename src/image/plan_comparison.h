#pragma once

#include "image/device_image.h"
#include "image/image_texts.h"
#include "image/read_back.h"
#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Two plans compared field by field, as values: where each difference is (a settings key, or a
// channel row and column) and what each side holds there, so that the command line can say it in
// words and a window can mark the cells.

namespace yalmera {

enum class DifferenceKind {
    Setting,        // a settings key (or the plan file's "Тип", "ТипВУ") holds another value
    Cell,           // a cell (or a flag, "да"/"нет") of a channel both plans have
    RemovedChannel, // a channel of the first plan the second lacks
    AddedChannel,   // a channel of the second plan the first lacks
};

struct PlanDifference
{
    DifferenceKind kind = DifferenceKind::Cell;
    QString key;                           // Setting
    int row = 0;                           // Cell, RemovedChannel: the table row in the first plan (1..)
    int otherRow = 0;                      // Cell, AddedChannel: the table row in the second plan (1..)
    Column column = Column::ChannelNumber; // Cell
    QString channel;                       // Cell, RemovedChannel, AddedChannel: the channel's number
    QString first;                         // Setting, Cell: what the first plan holds
    QString second;                        // Setting, Cell: what the second plan holds

    friend bool operator==(const PlanDifference&, const PlanDifference&) = default;
};

struct PlanComparison
{
    // Settings first, in the first plan's key order; then, in the first plan's row order, its
    // channels' cells and the channels the second lacks; the channels only the second has last.
    QList<PlanDifference> differences;
    // Lines of the first plan's settings that were not compared, as written: against a station,
    // what it keeps no byte for (the serial number, the power values, lines that are no key line);
    // between two checked plans the keys of either (compareCheckedPlans).
    QStringList notCompared;

    bool same() const { return differences.isEmpty(); }
};

// One side of a comparison. A channel table from a spreadsheet file has no settings and no codes.
struct ComparedPlan
{
    std::optional<GeneralSettings> settings;
    ChannelTable table;
    std::optional<quint8> typeCode;
    std::optional<quint8> moduleType;
};

// Two plan files: every settings key either holds, every cell of the channels both hold; channels
// are paired by their number ("№ кан."), a number that occurs twice with its second occurrence.
// Settings and codes are compared only when both sides have them.
PlanComparison comparePlans(const ComparedPlan& first, const ComparedPlan& second);

// A checked plan and what a station holds: both sides as the station's bytes say them, through
// the field tables, so that a value written another way ("145000" for "145000,000") is no
// difference; the first side's values are the plan's own texts. checkedImage is the image the
// data check built from plan, on band.
PlanComparison compareWithStation(const ComparedPlan& plan, const DeviceImage& checkedImage,
                                  const StationType& band, const ReadBack& station);

// A plan the data check passed, with the image the check built from it on band.
struct CheckedPlan
{
    ComparedPlan plan;
    DeviceImage image;
    StationType band;
};

// Two checked plans as stations holding them would give them back: each side as
// compareWithStation takes the plan, so that what encodes to the same bytes ("140000" and
// "140000,00", tones 1989 and 1990) is no difference. A difference shows each plan's own texts.
// notCompared: the keys of either plan no station keeps a byte for (lines that are no key line
// as written), each once.
PlanComparison compareCheckedPlans(const CheckedPlan& first, const CheckedPlan& second);

// The wording of differenceText, a format per kind of difference. These are the journal's
// (texts::comparison); the command line shows its own in the user's language, with the same %1.. .
struct DifferenceWords
{
    // the key, the first side's name and value, the second side's name and value
    QString setting = texts::comparison::Setting.toString();
    // the channel, the column's caption, then as setting
    QString cell = texts::comparison::Cell.toString();
    // the channel, the name of the side that has it
    QString onlyIn = texts::comparison::OnlyIn.toString();
};

// A difference in words, the two sides named as given ("план", "станция"):
//   установки "Громкость": план "8", станция "5"
//   канал 3, "Rx, кГц": план "145000", станция "145025"
//   канал 11 есть только: станция
QString differenceText(const PlanDifference& difference, const QString& firstName, const QString& secondName,
                       const DifferenceWords& words = {});

// Every difference of a plan compared with a station, as the journal records them.
QStringList journalDifferenceTexts(const PlanComparison& comparison);

// A cell as the comparison shows it: the text, or "да"/"нет" for a flag (empty without flags).
QString comparedCellText(const ChannelTable& table, Column column, int row);

} // namespace yalmera
