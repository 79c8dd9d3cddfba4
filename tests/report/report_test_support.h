#pragma once

#include "common/station_peers.h"
#include "session/app_state.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <zip.h>

#include <optional>

// A checked plan of n channels whose cells say where they stand ("c3r7": column 3, row 7), the
// template's settings lines, and the image's channel count as a passed check leaves it.
inline yalmera::AppState checkedPlan(int channels)
{
    yalmera::ChannelTable table;
    table.setRowCount(channels + 1);
    table.writeCaptions();
    for (int row = 1; row <= channels; ++row) {
        for (int column = 0; column < yalmera::ColumnCount; ++column)
            table.setCell(yalmera::columnAt(column), row, QStringLiteral("c%1r%2").arg(column).arg(row));
    }
    table.createFlags();
    yalmera::AppState state;
    state.adoptPlan(yalmera::GeneralSettings(yalmera::GeneralSettings::templateLines()), table);
    yalmera::DeviceImage image;
    image.channelCount = static_cast<quint8>(channels);
    state.acceptCheck(image, 0);
    return state;
}

// The state as a passed check of n channel rows leaves it (a station read may leave a count
// above the table's rows).
inline void acceptImageOf(yalmera::AppState& state, int channels)
{
    yalmera::DeviceImage image = state.image();
    image.channelCount = static_cast<quint8>(channels);
    state.acceptCheck(image, state.settingsDigitCount());
}

// Every entry of a zip archive held in memory, by name; empty when it is no archive.
inline QMap<QString, QByteArray> unzipped(const QByteArray& archiveBytes)
{
    QMap<QString, QByteArray> entries;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archiveBytes.constData(), archiveBytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source)
            zip_source_free(source);
        return entries;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, i, 0, &stat) != 0)
            continue;
        QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        if (zip_file_t* file = zip_fopen_index(archive, i, 0)) {
            if (zip_fread(file, bytes.data(), stat.size) == static_cast<zip_int64_t>(stat.size))
                entries.insert(QString::fromUtf8(stat.name), bytes);
            zip_fclose(file);
        }
    }
    zip_discard(archive);
    return entries;
}

// Runs an installed tool; its standard output, or nothing when it is missing or fails.
inline std::optional<QByteArray> runTool(const QString& program, const QStringList& arguments,
                                         int timeoutMs = 120000)
{
    return yalmera::test::runHostTool(program, arguments, timeoutMs);
}
