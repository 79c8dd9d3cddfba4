#pragma once

#include "model/channel_table.h"
#include "model/general_settings.h"
#include "model/station_type.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace yalmera::files {

// An unsaved plan as the desktop program keeps it for recovery: everything that puts it back as
// the user left it, which a plan file does not hold whole (the settings text as typed, rows
// without flags, a band code that names no band, the file the plan belongs to).
struct RecoveryPlan
{
    GeneralSettings settings;
    ChannelTable table; // captions, cells and each row's flags or none
    bool tableCreated = false;
    Band band = Band::Mhz144to174;
    quint8 typeCode = 0;
    quint8 moduleType = 0;
    QString planFile; // the plan file it was read from or saved to; empty for none
    QDateTime kept;   // when it was kept (to the second)

    friend bool operator==(const RecoveryPlan&, const RecoveryPlan&) = default;
};

// A recovery copy is UTF-8 JSON; no plan of 99 channels comes near this size.
inline constexpr qint64 MaxRecoveryFileBytes = 4 * 1024 * 1024;

QByteArray encodeRecoveryPlan(const RecoveryPlan& plan);
// Nothing for bytes that are no recovery copy of this program, or one that would not make a plan
// (a row of another width, more rows than a plan holds, a value out of range).
std::optional<RecoveryPlan> decodeRecoveryPlan(const QByteArray& bytes);

// The recovery copies of unsaved plans, in one folder, one per running program: a program writes
// only its own copy and holds its lock while it runs, so two programs at once never overwrite
// each other's copy, and the copy of a program that is gone (killed, crashed, cut off by a power
// failure) is found by the next program that starts.
class RecoveryFolder
{
public:
    explicit RecoveryFolder(QString folder);
    ~RecoveryFolder(); // the lock goes; the copy stays unless discarded
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    // "recovery" beside the exchange journal, in the user's application-data folder.
    static QString userFolder();
    const QString& folder() const { return m_folder; }

    // Keeps the plan as this program's copy, through a temporary file renamed into place.
    // Empty on success, otherwise why not (the system's reason).
    QString keep(const RecoveryPlan& plan);
    // This program's copy goes (the plan was saved, or the program ends as asked).
    void discard();

    // The newest copy left by a program that is gone, claimed so that no other program offers it
    // at the same time; nothing when there is none. Copies that are no recovery copy stay where
    // they are.
    struct LeftCopy
    {
        QString path;
        RecoveryPlan plan;
    };
    std::optional<LeftCopy> takeNewestLeftCopy();
    // A copy taken with takeNewestLeftCopy goes, restored or declined.
    void remove(const LeftCopy& copy);
    // A copy taken with takeNewestLeftCopy stays, free for the next program to offer: its
    // question was closed without an answer.
    void release(const LeftCopy& copy);

private:
    QString m_folder;
    QString m_ownPath;
    std::unique_ptr<QLockFile> m_ownLock;
    // Copies taken and not yet removed, with the locks that claim them.
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_taken;
};

} // namespace yalmera::files
