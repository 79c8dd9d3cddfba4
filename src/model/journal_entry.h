#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace yalmera {

// One line of the exchange journal: which station got which plan (or gave which), and how the
// exchange ended: what the exchange knows, with the plan file and the serial number the user gave.
struct JournalEntry
{
    QDateTime time;    // when the exchange ended
    QString operation; // texts::session::Journal* ("запись", "чтение", ...)
    QString port;      // as the user named it
    QString model;     // "Ялмера 4К-17"; empty when the band code names no band or none came
    std::optional<quint8> typeCode;
    std::optional<int> channelCount;
    QString planFile;
    QByteArray sha256; // of the stream sent or received, 32 bytes; empty when nothing was sent
    QString serialNumber;
    QString outcome;
    QString message;
};

} // namespace yalmera
