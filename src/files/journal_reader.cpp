#include "journal_reader.h"

#include "files/delimited_text.h"
#include "files/files_texts.h"
#include "files/journal.h"
#include "model/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace yalmera::files {

namespace {

// The columns the writer writes are the columns read.
static_assert(texts::files::JournalCaptions.size() == JournalColumnCount);
// The columns of a journal written before the reply latency was.
constexpr int OlderColumnCount = static_cast<int>(JournalColumn::ReplyLatency);

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
// Bytes read at a time: a journal of 100 000 lines (some 25 MB) is never held whole.
constexpr qint64 ChunkBytes = 1 << 20;
// A journal line is a few hundred bytes; a "line" longer than this is no journal's (a binary
// file named as the journal) and is counted as foreign without waiting for its end.
constexpr qsizetype MaxLineBytes = 1 << 20;
// The last bytes read, compared again before each read: another file in the journal's place
// (moved away and started afresh) is read from its start.
constexpr qsizetype CheckedTailBytes = 64;

// Columns whose few different texts repeat on every line share one copy of each.
constexpr std::array SharedColumns{
    JournalColumn::Version,  JournalColumn::Operation,    JournalColumn::Port,   JournalColumn::Model,
    JournalColumn::TypeCode, JournalColumn::ChannelCount, JournalColumn::Outcome};

// The day of "2026-12-08T14:03:22+03:00"; null when the field starts with no such date.
QDate dayOf(QStringView time)
{
    if (time.size() < 10 || time[4] != u'-' || time[7] != u'-' || (time.size() > 10 && time[10] != u'T'))
        return {};
    bool yearOk = false, monthOk = false, dayOk = false;
    const QDate day(time.first(4).toInt(&yearOk), time.sliced(5, 2).toInt(&monthOk),
                    time.sliced(8, 2).toInt(&dayOk));
    return yearOk && monthOk && dayOk ? day : QDate();
}

// The row of a line that is no journal line: its number, its text, and the marks that say so.
JournalRow unreadableRow(qsizetype line, QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes.first(std::min(bytes.size(), MaxUnreadableShown * 4)));
    if (text.size() > MaxUnreadableShown) {
        text.truncate(MaxUnreadableShown);
        text += u'…';
    }
    QStringList fields(JournalColumnCount);
    fields[static_cast<int>(JournalColumn::Time)] = texts::files::JournalLineNumber.toString().arg(line);
    fields[static_cast<int>(JournalColumn::Outcome)] = texts::files::JournalLineUnreadable.toString();
    fields[static_cast<int>(JournalColumn::Message)] = text;
    return {{}, fields, line, true};
}

} // namespace

// The journal's lines as rows, one line at a time.
class LineParser
{
public:
    // One line without its line end, the file's line number `line`; false for a foreign line,
    // which gives a row of its own. The caption line gives no row.
    bool take(QByteArrayView bytes, qsizetype line, QList<JournalRow>& rows)
    {
        if (!parse(bytes, line, rows)) {
            rows.append(unreadableRow(line, bytes));
            return false;
        }
        return true;
    }

private:
    bool parse(QByteArrayView bytes, qsizetype line, QList<JournalRow>& rows)
    {
        const QString text = QString::fromUtf8(bytes);
        QStringList fields;
        if (text.contains(u'"')) {
            DelimitedReader(text, u';').next(fields);
        } else {
            // Most lines quote nothing: cut at each ';', a copy per field instead of a character.
            fields.reserve(JournalColumnCount);
            for (const QStringView field : QStringView(text).tokenize(u';'))
                fields.append(field.toString());
        }
        // A journal begun before the last column came names one column less, and its lines lack it.
        if (fields.size() == OlderColumnCount)
            fields.append(QString());
        if (fields == m_captions || fields == m_olderCaptions)
            return true;
        if (fields.size() != JournalColumnCount)
            return false;
        JournalRow row{dayOf(fields.constFirst()), {}, line, false};
        if (!row.date.isValid())
            return false;
        for (QString& field : fields)
            field = fromSpreadsheetText(field);
        for (std::size_t i = 0; i < SharedColumns.size(); ++i)
            share(fields[static_cast<int>(SharedColumns[i])], m_recent[i]);
        row.fields = std::move(fields);
        rows.append(std::move(row));
        return true;
    }

    // The last few texts of a column: a field equal to one of them takes its copy. Cheaper than
    // a hash of every field, and the columns hold few texts, mostly in runs.
    using Recent = std::array<QString, 8>;

    static void share(QString& field, Recent& recent)
    {
        for (const QString& known : recent) {
            if (known == field) {
                field = known;
                return;
            }
        }
        std::move_backward(recent.begin(), recent.end() - 1, recent.end());
        recent.front() = field;
    }

    const QStringList m_captions = journalCaptions();
    const QStringList m_olderCaptions = m_captions.first(OlderColumnCount) + QStringList{QString()};
    std::array<Recent, SharedColumns.size()> m_recent;
};

namespace {

QString readFailure(const QString& path, const QString& reason)
{
    return texts::files::JournalUnreadable.toString().arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

bool JournalFilter::matches(const JournalRow& row) const
{
    if (row.unreadable)
        return true;
    if (!serial.isEmpty() && !row.field(JournalColumn::SerialNumber).contains(serial, Qt::CaseInsensitive))
        return false;
    if ((from.isValid() && row.date < from) || (to.isValid() && row.date > to))
        return false;
    if (!operation.isEmpty() && row.field(JournalColumn::Operation) != operation)
        return false;
    return outcome.isEmpty() || row.field(JournalColumn::Outcome) == outcome;
}

void JournalFollower::restart(JournalRead& result)
{
    result.restarted = m_offset > 0;
    m_offset = 0;
    m_lastLine.clear();
    m_lines = 0;
    m_inLongLine = false;
}

QString JournalFollower::openAtNextLine(QFile& file, JournalRead& result)
{
    if (!file.open(QIODevice::ReadOnly))
        return systemErrorText(file.errorString());
    if (file.size() < m_offset || !file.seek(m_offset - m_lastLine.size()) ||
        file.read(m_lastLine.size()) != m_lastLine)
        restart(result);
    if (!file.seek(m_offset))
        return systemErrorText(file.errorString());
    return {};
}

void JournalFollower::takeLines(QByteArray& pending, LineParser& parser, JournalRead& result)
{
    qsizetype start = 0;
    for (qsizetype end; (end = pending.indexOf('\n', start)) >= 0; start = end + 1) {
        if (m_inLongLine) {
            m_inLongLine = false; // its end: already shown
            continue;
        }
        QByteArrayView line = QByteArrayView(pending).sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        if (m_offset == 0 && start == 0 && line.startsWith(ByteOrderMark))
            line = line.sliced(ByteOrderMark.size());
        if (!parser.take(line, ++m_lines, result.rows))
            ++result.foreignLines;
    }
    if (pending.size() - start > MaxLineBytes) {
        if (!m_inLongLine) {
            result.rows.append(unreadableRow(++m_lines, QByteArrayView(pending).sliced(start)));
            ++result.foreignLines;
            m_inLongLine = true;
        }
        start = pending.size();
    }
    if (start > 0) {
        m_lastLine = start >= CheckedTailBytes ? pending.sliced(start - CheckedTailBytes, CheckedTailBytes)
                                               : (m_lastLine + pending.first(start)).right(CheckedTailBytes);
        m_offset += start;
        pending.remove(0, start);
    }
}

JournalRead JournalFollower::read()
{
    JournalRead result;
    const QFileInfo info(m_path);
    if (!info.exists()) {
        restart(result); // no exchange yet, or the journal was moved away
        return result;
    }
    // A FIFO would block the open, a device never end.
    if (!info.isFile()) {
        result.error = readFailure(m_path, texts::files::NotRegularForRead.toString());
        return result;
    }
    QFile file(m_path);
    if (const QString error = openAtNextLine(file, result); !error.isEmpty()) {
        result.error = readFailure(m_path, error);
        return result;
    }
    LineParser parser;
    QByteArray pending;
    for (QByteArray chunk; !(chunk = file.read(ChunkBytes)).isEmpty();) {
        pending += chunk;
        takeLines(pending, parser, result);
    }
    if (file.error() != QFileDevice::NoError)
        result.error = readFailure(m_path, systemErrorText(file.errorString()));
    return result;
}

QByteArray journalCsv(const QList<QStringList>& rows)
{
    QList<QStringList> lines{journalCaptions()};
    lines.reserve(rows.size() + 1);
    for (QStringList row : rows) {
        for (QString& field : row)
            field = spreadsheetText(field);
        lines.append(std::move(row));
    }
    return ByteOrderMark + formatCsv(lines).toUtf8();
}

} // namespace yalmera::files
