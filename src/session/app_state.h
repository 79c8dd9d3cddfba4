#pragma once

#include "image/data_check.h"
#include "image/device_image.h"
#include "image/read_back.h"
#include "model/channel_table.h"
#include "model/channel_template.h"
#include "model/general_settings.h"
#include "model/plan_file_contents.h"
#include "model/repeater.h"
#include "model/station_type.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace yalmera {

// What the table's own edits change: the table and the frequencies the repeater marks replaced,
// which follow their rows. `layout` names which channel each row holds (see planRevision).
struct TableSnapshot
{
    ChannelTable table;
    RepeaterSavedTexts repeaterSavedTexts;
    std::uint64_t layout = 0;
};

// A whole plan as a replacement (template, file, station) finds it and an undo gives it back.
struct PlanSnapshot
{
    GeneralSettings settings;
    ChannelTable table;
    RepeaterSavedTexts repeaterSavedTexts;
    bool tableCreated = false;
    StationType stationType;
    ModuleType moduleType = ModuleType::None;
    QString planFile;

    friend bool operator==(const PlanSnapshot&, const PlanSnapshot&) = default;
};

// The program-wide values every window and command works on, and the rules that tie them. One
// instance lives for the whole run; the windows, the command-line tool and the tests pass it to
// whoever needs it.
//
// The gate dataChecked() is set only by acceptCheck (a data check that reached its end). A new
// plan (template, file, station), a real band change, a repeater mark and every check's start
// clear it. The user's own edits of the table and the settings text leave it alone: the station
// then still receives the image of the last check.
class AppState
{
public:
    // ---- What the windows show ----
    const GeneralSettings& settings() const { return m_settings; }
    const ChannelTable& table() const { return m_table; }
    // Whether a table has been made (template, file, station); before that there is nothing to save.
    bool tableCreated() const { return m_tableCreated; }
    const StationType& stationType() const { return m_stationType; }
    ModuleType moduleType() const { return m_moduleType; }
    // The image of the last passed check (or of a station read since); sent by the write exchange.
    const DeviceImage& image() const { return m_image; }
    bool dataChecked() const { return m_dataChecked; }
    // Digits of some accepted settings values, left by the last check for the protocol.
    quint8 settingsDigitCount() const { return m_settingsDigitCount; }
    // The plan file the plan was last read from or saved to, for the exchange journal; empty
    // for a plan that came from elsewhere (template, station, spreadsheet).
    const QString& planFile() const { return m_planFile; }
    // A plan file read into the program or saved from it ("Чтение файла", "Запись в файл").
    void notePlanFile(const QString& path) { m_planFile = path; }

    // ---- The user's edits: they never touch the gate ----
    GeneralSettings& editSettings() { return m_settings; }
    // Cells, flags and rows of the plan as the user changes them in the table.
    ChannelTable& editTable() { return m_table; }

    // ---- Rows of the table: edits like any other, the gate stays ----
    // Each gives the table a new layout, so a repeater mark waits for the next check; the
    // repeater's remembered frequencies move with their rows. The refusals say why.
    // A copy of data row `row` after it, with the next free channel number; at most MaxChannels.
    UserMessage insertChannelAfter(int row);
    // Rows first..last go; at least one channel stays.
    UserMessage removeChannels(int first, int last);
    // Rows first..last one place up (step -1) or down (1); false when they are at the edge.
    bool moveChannels(int first, int last, int step);

    // ---- Taking edits and replacements back ----
    TableSnapshot tableSnapshot() const;
    // A table put back as an edit puts it: the gate stays as it is.
    void restoreTable(TableSnapshot snapshot);
    // A repeater mark written again: the table put back, and the gate cleared as the mark clears it.
    void restoreMarkedTable(TableSnapshot snapshot);
    PlanSnapshot snapshot() const;
    // A whole plan put back is a new plan: the gate is cleared and the image's channel numbers no
    // longer name its rows.
    void restore(PlanSnapshot snapshot);
    // The plan that the last replacement (template, file, station, table) replaced, once;
    // nothing when no replacement happened since it was last taken.
    std::optional<PlanSnapshot> takeReplacedPlan();

    // ---- Choices of the menus ----
    // A band chosen in the menu. Choosing the band already selected (with its own code) changes
    // nothing. A real change takes the band's constants and code, removes the rows' flags (the
    // table stays hidden until a new one is built; cells keep their texts) and clears the gate:
    // the image of the last check holds frequency words of the other band. Returns whether the
    // band changed.
    bool selectBand(Band band);
    // Whether selectBand(band) would change nothing.
    bool isBandSelected(Band band) const;
    void selectModule(ModuleType module) { m_moduleType = module; }

    // ---- A new plan: template, file or station ----
    // Replaces settings and table whole, gives the rows their flags as stored in newTable, and
    // clears the gate.
    void adoptPlan(GeneralSettings newSettings, ChannelTable newTable);
    // "Ok" of the template panel: clears the gate whatever happens, then adopts the new plan or
    // returns the refusal (empty message on success).
    UserMessage createTemplate(const TemplateFields& fields);
    // A plan read from a file: the plan, the code with the band it names (0: 144-174 MHz, 1 or 2:
    // 30-60 MHz; any other code keeps the band) and the module type as they are. Returns whether
    // the file's code chose the band.
    bool adoptPlanFile(PlanFileContents contents);
    // A plan read from a station: the plan, the station's image taken into the program's (the
    // header fields the layout marks as taken and the first channelCount records; IdCode and the
    // other record slots keep what they held), the module type and the code with the band it
    // names. Returns whether the station's code chose the band.
    bool adoptStationPlan(GeneralSettings newSettings, ChannelTable newTable, const DeviceImage& station,
                          ModuleType module, quint8 typeCode);
    // A plan put back from a recovery copy, band, module and file included: a replacement like
    // the others (a step to undo), and the gate cleared.
    void adoptRecoveredPlan(PlanSnapshot plan);
    // A table from a spreadsheet: the channels replaced whole, the settings text, band and module
    // kept (the template's settings when no plan exists yet).
    void adoptTable(ChannelTable newTable);

    // ---- The data check ----
    // A check that reached its end: its image and digit count, and the gate set.
    void acceptCheck(const DeviceImage& image, quint8 settingsDigitCount);
    // A stopped check: the gate cleared, the previous image kept (a repeater panel may still use
    // it), the check's partial digit count.
    void refuseCheck(quint8 settingsDigitCount);

    // ---- The repeater panel ----
    // "Ретранслятор": an empty message when the panel may open, otherwise the refusal.
    UserMessage openRepeaterPanel() const;
    // "Запись" of the repeater panel: clears the gate first, then marks the channel that carried
    // the number at the last successful check.
    RepeaterWriteResult writeRepeaterMark(const QString& channelNumberText, RepeaterMode mode);
    const RepeaterSavedTexts& repeaterSavedTexts() const { return m_repeaterSavedTexts; }

    // Names the table's layout, which channel each row holds: every plan replacement and row
    // operation makes a new one, an undone edit gives back the one it had. A refusal shows it
    // unchanged.
    std::uint64_t planRevision() const { return m_planRevision; }

private:
    // Takes a file's or station's code: the band it names (if any) with its constants, and the
    // code itself. Returns whether the code chose the band.
    bool adoptTypeCode(quint8 typeCode);
    void newLayout() { m_planRevision = ++m_lastRevision; }
    // Keeps the repeater's remembered frequencies with their rows after a row operation.
    void moveSavedTexts(const RowMap& map);

    GeneralSettings m_settings;
    ChannelTable m_table;
    bool m_tableCreated = false;
    StationType m_stationType = StationType::forBand(Band::Mhz144to174);
    ModuleType m_moduleType = ModuleType::None;
    QString m_planFile;
    DeviceImage m_image;
    bool m_dataChecked = false;
    quint8 m_settingsDigitCount = 0;
    // Per table row, the frequency text a repeater mark replaced, so switching a channel from one
    // mode to the other gives back its own frequency.
    RepeaterSavedTexts m_repeaterSavedTexts;
    // The table's layout; a check notes the layout its image was built from, so a repeater mark
    // is never placed by channel numbers that belong to other rows. Layouts are numbered from 1;
    // 0 is the empty start and an image that belongs to no layout (a station's).
    std::uint64_t m_planRevision = 0;
    std::uint64_t m_lastRevision = 0;
    std::uint64_t m_imagePlanRevision = 0;
    std::optional<PlanSnapshot> m_replacedPlan;
};

// The data check of "Контроль" on the state's plan and band (checkPlan). A check that reaches its
// end gives the state its image and digit count and sets the gate; a stopped one clears the gate
// and leaves the image of the last good check (which the repeater panel may still be using) as
// it was. Never changes the table or the settings text.
CheckResult runDataCheck(AppState& state);

// A station's plan read back, taken into the program (the station-link window's read, yalmera-cli
// read): replaces, all at once, the settings text, the table (rows, cells, flags), the module type, the
// type code with the band it names (a code naming no band keeps the selected band) and the
// image's header fields and first channelCount records. The image's IdCode and the record slots
// from channelCount on keep what they held. Clears the data-check gate: the table holds the
// station's plan, which must pass the check again. Returns whether the station's code chose
// the band.
bool applyReadBack(AppState& state, const ReadBack& readBack);

} // namespace yalmera
