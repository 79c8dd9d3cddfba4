#pragma once

#include "common/qt_printers.h"
#include "image/data_check.h"
#include "model/number_text.h"
#include "session/app_state.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// A plan as the template makes it (default values and settings, both frequencies equal), built
// here cell by cell so the checks do not depend on the template's own code.
inline yalmera::AppState templateState(int count, double startKHz = 140000, double stepKHz = 1000,
                                       yalmera::Band band = yalmera::Band::Mhz144to174)
{
    using namespace yalmera;
    AppState state;
    state.selectBand(band);
    ChannelTable table;
    table.setRowCount(count + 1);
    table.writeCaptions();
    for (int row = 1; row <= count; ++row) {
        const QString f = shortestDecimalText(startKHz + stepKHz * (row - 1));
        const QStringList cells{QString::number(row),
                                f,
                                f,
                                QStringLiteral("Нет"),
                                QStringLiteral("Нет"),
                                QStringLiteral("Нет"),
                                QStringLiteral("Нет"),
                                QStringLiteral("Нет"),
                                QStringLiteral("Нет"),
                                QStringLiteral("1"),
                                QStringLiteral("4"),
                                QStringLiteral("1"),
                                QString(),
                                QStringLiteral("25"),
                                QString(),
                                QStringLiteral("Норм"),
                                QStringLiteral("Нет"),
                                QString()};
        for (int column = 0; column < ColumnCount; ++column)
            table.setCell(columnAt(column), row, cells[column]);
    }
    table.createFlags();
    state.adoptPlan(GeneralSettings(GeneralSettings::templateLines()), table);
    return state;
}

// Replaces the value of a settings key line (or the whole line when value is null: the key is removed).
inline void setSetting(yalmera::AppState& state, const QString& key, const QString& value)
{
    QStringList lines = state.settings().lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(key + u'=')) {
            if (value.isNull())
                lines.removeAt(i);
            else
                lines[i] = key + u'=' + value;
            state.editSettings().setLines(lines);
            return;
        }
    }
    if (!value.isNull())
        lines.append(key + u'=' + value);
    state.editSettings().setLines(lines);
}

// The marks of every refusal agree with the check: none exactly when it passes, and the first
// is where it stops, with its message.
inline void expectRefusalMarked(const yalmera::AppState& state, const std::string& name)
{
    using namespace yalmera;
    const PlanCheck check = checkPlan(state.settings(), state.table(), state.stationType());
    const PlanMarks marks = markRefusals(state.settings(), state.table(), state.stationType());
    EXPECT_EQ(marks.isEmpty(), check.result.passed) << name;
    if (check.refusal) {
        EXPECT_EQ(check.refusal->message, check.result.message.text) << name;
        EXPECT_EQ(marks.value(0), *check.refusal) << name;
    }
}
