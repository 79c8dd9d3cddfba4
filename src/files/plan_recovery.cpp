#include "plan_recovery.h"

#include "files/journal.h"

#include "files/whole_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <algorithm>

namespace yalmera::files {

namespace {

const QString Kind = QStringLiteral("yalmera unsaved plan");
constexpr int Version = 1;
const QString CopyPattern = QStringLiteral("unsaved-*.json");

QString bandName(Band band)
{
    return band == Band::Mhz30to60 ? QStringLiteral("30-60") : QStringLiteral("144-174");
}

std::optional<Band> bandNamed(const QString& name)
{
    if (name == bandName(Band::Mhz30to60))
        return Band::Mhz30to60;
    if (name == bandName(Band::Mhz144to174))
        return Band::Mhz144to174;
    return std::nullopt;
}

QJsonArray stringArray(const QStringList& texts)
{
    QJsonArray array;
    for (const QString& text : texts)
        array.append(text);
    return array;
}

std::optional<QStringList> stringsOf(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList texts;
    for (const QJsonValue& item : value.toArray()) {
        if (!item.isString())
            return std::nullopt;
        texts.append(item.toString());
    }
    return texts;
}

// A byte held as a JSON number: nothing for anything else.
std::optional<quint8> byteOf(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > 255 || number != static_cast<int>(number))
        return std::nullopt;
    return static_cast<quint8>(number);
}

QJsonValue flagsValue(const std::optional<RowFlags>& flags)
{
    if (!flags)
        return QJsonValue::Null;
    return QJsonArray{flags->scan, flags->idTone, flags->active};
}

// A row's flags, or none; false when the value is neither.
bool takeFlags(const QJsonValue& value, std::optional<RowFlags>& flags)
{
    if (value.isNull() || value.isUndefined()) {
        flags.reset();
        return true;
    }
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 3 ||
        !std::all_of(array.begin(), array.end(), [](const QJsonValue& v) { return v.isBool(); }))
        return false;
    flags = RowFlags{array[0].toBool(), array[1].toBool(), array[2].toBool()};
    return true;
}

std::optional<ChannelTable> tableOf(const QJsonValue& value)
{
    const QJsonArray rows = value.toArray();
    // The caption row and at most as many channels as a plan holds.
    if (!value.isArray() || rows.isEmpty() || rows.size() > MaxChannels + 1)
        return std::nullopt;
    ChannelTable table;
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const QJsonObject fields = rows[row].toObject();
        const std::optional<QStringList> cells = stringsOf(fields.value(QStringLiteral("cells")));
        std::optional<RowFlags> flags;
        if (!cells || cells->size() != ColumnCount ||
            !takeFlags(fields.value(QStringLiteral("flags")), flags))
            return std::nullopt;
        for (int column = 0; column < ColumnCount; ++column)
            table.setCell(columnAt(column), row, cells->at(column));
        table.setRowFlags(row, flags);
    }
    return table;
}

QString lockPathOf(const QString& copyPath)
{
    return copyPath.chopped(int(QStringLiteral(".json").size())) + QStringLiteral(".lock");
}

// A lock that only a live program holds: its age counts for nothing, so a program that runs for
// days keeps its copy, and the lock of one that is gone (whatever the cause) is taken over.
std::unique_ptr<QLockFile> lockFor(const QString& copyPath)
{
    auto lock = std::make_unique<QLockFile>(lockPathOf(copyPath));
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QByteArray encodeRecoveryPlan(const RecoveryPlan& plan)
{
    QJsonArray rows;
    for (int row = 0; row < plan.table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells.append(plan.table.cell(columnAt(column), row));
        rows.append(QJsonObject{{QStringLiteral("cells"), stringArray(cells)},
                                {QStringLiteral("flags"), flagsValue(plan.table.rowFlags(row))}});
    }
    const QJsonObject document{
        {QStringLiteral("kind"), Kind},
        {QStringLiteral("version"), Version},
        {QStringLiteral("kept"), plan.kept.toString(Qt::ISODate)},
        {QStringLiteral("planFile"), plan.planFile},
        {QStringLiteral("band"), bandName(plan.band)},
        {QStringLiteral("typeCode"), plan.typeCode},
        {QStringLiteral("moduleType"), plan.moduleType},
        {QStringLiteral("tableCreated"), plan.tableCreated},
        {QStringLiteral("settings"), stringArray(plan.settings.lines())},
        {QStringLiteral("rows"), rows},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

std::optional<RecoveryPlan> decodeRecoveryPlan(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject fields = document.object();
    if (error.error != QJsonParseError::NoError || fields.value(QStringLiteral("kind")).toString() != Kind ||
        fields.value(QStringLiteral("version")).toInt() != Version)
        return std::nullopt;
    const std::optional<Band> band = bandNamed(fields.value(QStringLiteral("band")).toString());
    const std::optional<quint8> typeCode = byteOf(fields.value(QStringLiteral("typeCode")));
    const std::optional<quint8> moduleType = byteOf(fields.value(QStringLiteral("moduleType")));
    const std::optional<QStringList> settings = stringsOf(fields.value(QStringLiteral("settings")));
    std::optional<ChannelTable> table = tableOf(fields.value(QStringLiteral("rows")));
    const QJsonValue planFile = fields.value(QStringLiteral("planFile"));
    const QJsonValue tableCreated = fields.value(QStringLiteral("tableCreated"));
    if (!band || !typeCode || !moduleType || !settings || !table || !planFile.isString() ||
        !tableCreated.isBool())
        return std::nullopt;
    RecoveryPlan plan;
    plan.settings = GeneralSettings(*settings);
    plan.table = std::move(*table);
    plan.tableCreated = tableCreated.toBool();
    plan.band = *band;
    plan.typeCode = *typeCode;
    plan.moduleType = *moduleType;
    plan.planFile = planFile.toString();
    plan.kept = QDateTime::fromString(fields.value(QStringLiteral("kept")).toString(), Qt::ISODate);
    return plan;
}

RecoveryFolder::RecoveryFolder(QString folder) : m_folder(std::move(folder)) {}

RecoveryFolder::~RecoveryFolder() = default;

QString RecoveryFolder::userFolder()
{
    return QFileInfo(defaultJournalPath()).absolutePath() + QStringLiteral("/recovery");
}

QString RecoveryFolder::keep(const RecoveryPlan& plan)
{
    if (!m_ownLock) {
        if (!QDir().mkpath(m_folder))
            return QDir::toNativeSeparators(m_folder);
        // A name of this program's own: its process and the moment it first keeps a copy; a
        // number after them when another copy (of this process, in the same millisecond) has it.
        const QString stem = m_folder + QStringLiteral("/unsaved-%1-%2")
                                            .arg(QCoreApplication::applicationPid())
                                            .arg(QDateTime::currentMSecsSinceEpoch());
        for (int n = 1; !m_ownLock && n <= 16; ++n) {
            const QString path =
                n == 1 ? stem + QStringLiteral(".json") : stem + QStringLiteral("-%1.json").arg(n);
            std::unique_ptr<QLockFile> lock = lockFor(path);
            if (QFileInfo::exists(path) || !lock->tryLock(0))
                continue;
            m_ownPath = path;
            m_ownLock = std::move(lock);
        }
        if (!m_ownLock)
            return QDir::toNativeSeparators(lockPathOf(stem + QStringLiteral(".json")));
    }
    return saveWholeFile(m_ownPath, encodeRecoveryPlan(plan));
}

void RecoveryFolder::discard()
{
    if (!m_ownLock)
        return;
    QFile::remove(m_ownPath);
    m_ownLock.reset(); // removes the lock file
}

std::optional<RecoveryFolder::LeftCopy> RecoveryFolder::takeNewestLeftCopy()
{
    const QFileInfoList copies =
        QDir(m_folder).entryInfoList({CopyPattern}, QDir::Files, QDir::Time); // newest first
    for (const QFileInfo& copy : copies) {
        const QString path = copy.absoluteFilePath();
        const bool taken = std::any_of(m_taken.begin(), m_taken.end(),
                                       [&path](const auto& entry) { return entry.first == path; });
        if (path == m_ownPath || taken)
            continue;
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!lock->tryLock(0))
            continue; // its program still runs
        const WholeFileRead read = readWholeFile(path, MaxRecoveryFileBytes);
        std::optional<RecoveryPlan> plan = read.bytes ? decodeRecoveryPlan(*read.bytes) : std::nullopt;
        if (!plan)
            continue; // left alone, lock released
        m_taken.emplace_back(path, std::move(lock));
        return LeftCopy{path, std::move(*plan)};
    }
    return std::nullopt;
}

void RecoveryFolder::remove(const LeftCopy& copy)
{
    const auto entry = std::find_if(m_taken.begin(), m_taken.end(),
                                    [&copy](const auto& taken) { return taken.first == copy.path; });
    if (entry == m_taken.end())
        return;
    QFile::remove(copy.path);
    m_taken.erase(entry); // the lock file goes with its lock
}

void RecoveryFolder::release(const LeftCopy& copy)
{
    std::erase_if(m_taken, [&copy](const auto& taken) { return taken.first == copy.path; }); // unlocked
}

} // namespace yalmera::files
