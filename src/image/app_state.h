#pragma once

#include "image/device_image.h"
#include "model/channel_table.h"
#include "model/channel_template.h"
#include "model/general_settings.h"
#include "model/plan_file_contents.h"
#include "model/repeater.h"
#include "model/station_type.h"

#include <QString>

#include <cstdint>

namespace yalmera {

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

    // ---- The user's edits: they never touch the gate ----
    GeneralSettings& editSettings() { return m_settings; }
    // Cells, flags and rows of the plan as the user changes them in the table.
    ChannelTable& editTable() { return m_table; }

    // ---- Choices of the menus ----
    // A band chosen in the menu. Choosing the band already selected (with its own code) changes
    // nothing. A real change takes the band's constants and code, removes the rows' flags (the
    // table stays hidden until a new one is built; cells keep their texts) and clears the gate:
    // the image of the last check holds frequency words of the other band. Returns whether the
    // band changed.
    bool selectBand(Band band);
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

    // Counts plan replacements (template, file, station): a refusal shows it unchanged.
    std::uint64_t planRevision() const { return m_planRevision; }

private:
    // Takes a file's or station's code: the band it names (if any) with its constants, and the
    // code itself. Returns whether the code chose the band.
    bool adoptTypeCode(quint8 typeCode);

    GeneralSettings m_settings;
    ChannelTable m_table;
    bool m_tableCreated = false;
    StationType m_stationType = StationType::forBand(Band::Mhz144to174);
    ModuleType m_moduleType = ModuleType::None;
    DeviceImage m_image;
    bool m_dataChecked = false;
    quint8 m_settingsDigitCount = 0;
    // Per table row, the frequency text a repeater mark replaced, so switching a channel from one
    // mode to the other gives back its own frequency.
    RepeaterSavedTexts m_repeaterSavedTexts;
    // Counts plan replacements; a check notes the revision its image was built from, so a
    // repeater mark is never placed by channel numbers that belong to an earlier table.
    std::uint64_t m_planRevision = 0;
    std::uint64_t m_imagePlanRevision = 0;
};

} // namespace yalmera
