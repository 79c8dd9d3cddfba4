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

// The program-wide values every window and command works on. One instance lives for the whole
// run; the windows, the command-line tool and the tests pass it to whoever needs it.
//
// The gate dataChecked: a template, a file read, a station read (all through adoptPlan) and a
// repeater mark clear it; only a data check that reaches its end sets it. Editing a cell, a flag
// or the settings text is a plain write to `table` or `settings` and deliberately leaves it
// alone: the station then still receives the image of the last check.
struct AppState
{
    // The plan: the single source of truth for the settings block and the table.
    GeneralSettings settings;
    ChannelTable table;
    // Whether a table has been made (template, file, station); before that there is nothing to save.
    bool tableCreated = false;

    StationType stationType = StationType::forBand(Band::Mhz144to174);
    quint8 moduleType = 0; // 0 "Нет модуля" .. 4

    // Filled only by the data check, overwritten by a station read; sent by the write exchange.
    DeviceImage image;
    // Set only by a data check that reached its end. Cleared at start, at the start of every
    // check, by a template, a file read, a station read and a repeater mark; edits leave it.
    bool dataChecked = false;
    // Digits of some accepted settings values, left by the data check for the protocol.
    quint8 settingsDigitCount = 0;

    // Per table row, the frequency text a repeater mark replaced, so switching a channel from one
    // mode to the other gives back its own frequency.
    RepeaterSavedTexts repeaterSavedTexts;

    // Counts plan replacements; the data check notes the revision its image was built from, so a
    // repeater mark is never placed by channel numbers that belong to an earlier table.
    std::uint64_t planRevision = 0;
    std::uint64_t imagePlanRevision = 0;

    // A band chosen in the menu. Choosing the band already selected (with its own code) changes
    // nothing. A real change takes the band's constants and code, removes the rows' flags (the
    // table stays hidden until a new one is built; cells keep their texts) and clears the gate:
    // the image of the last check holds frequency words of the other band. Returns whether the
    // band changed.
    bool selectBand(Band band);

    // A new plan from the template, a file or the station replaces settings and table whole,
    // gives the rows their flags as stored in newTable, and clears the gate.
    void adoptPlan(GeneralSettings newSettings, ChannelTable newTable);

    // "Ok" of the template panel: clears the gate whatever happens, then adopts the new plan or
    // returns the refusal (empty message on success).
    UserMessage createTemplate(const TemplateFields& fields);

    // A plan read from a file: the plan, "Тип" 0 selects 144-174 MHz and 1 or 2 30-60 MHz (any
    // other code keeps the band), the code and the module type are taken as they are.
    // Returns whether the file's code chose the band.
    bool adoptPlanFile(PlanFileContents contents);

    // Takes a file's or station's code: the band it names (if any) with its constants, and the
    // code itself. Returns whether the code chose the band.
    bool adoptTypeCode(quint8 typeCode);

    // "Ретранслятор": an empty message when the panel may open, otherwise the refusal.
    UserMessage openRepeaterPanel() const;
    // "Запись" of the repeater panel: clears the gate first, then marks the channel that carried
    // the number at the last successful check.
    RepeaterWriteResult writeRepeaterMark(const QString& channelNumberText, RepeaterMode mode);
};

} // namespace yalmera
