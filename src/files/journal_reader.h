#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QFile;

namespace yalmera::files {

// The exchange journal read back, for the window that shows it: the lines appendJournal writes,
// and then the lines other programs append while it is shown, a whole line at a time.

// The journal's columns, in the order journalCaptions() names them.
enum class JournalColumn {
    Time,
    Version,
    Operation,
    Port,
    Model,
    TypeCode,
    ChannelCount,
    PlanFile,
    Sha256,
    SerialNumber,
    Outcome,
    Message,
    ReplyLatency, // later than the others: a line written before has none
};
inline constexpr int JournalColumnCount = 13;

// A line of the journal. One that is no journal line (two lines glued into one by an earlier
// version, a line cut short and edited, another program's text) is a row too, so that it is seen,
// never dropped: its time field says "строка N", its outcome "не прочитана", its message holds the
// line's text (the first MaxUnreadableShown characters).
struct JournalRow
{
    QDate date;         // the day of the time field, as written (in its own UTC offset)
    QStringList fields; // JournalColumnCount fields as written, the formula guard's quote taken away
    qsizetype line = 0; // its line in the file, the caption line being line 1
    bool unreadable = false;

    const QString& field(JournalColumn column) const { return fields.at(static_cast<int>(column)); }
};

inline constexpr qsizetype MaxUnreadableShown = 1000;

// Which rows the window shows. An empty or null part lets every row pass; an unreadable row
// passes every filter, as nothing in it can be told to be outside.
struct JournalFilter
{
    QString serial; // part of the serial number, letter case aside
    QDate from;     // first day shown
    QDate to;       // last day shown
    QString operation;
    QString outcome;

    bool matches(const JournalRow& row) const;
};

struct JournalRead
{
    // The journal got shorter than what was read (a failed append cut back, the file emptied) or
    // another file took its place: `rows` are those of the whole file, and the earlier ones go.
    bool restarted = false;
    QList<JournalRow> rows; // the lines completed since the last read, in file order
    // Rows among them that are no journal line (JournalRow::unreadable).
    int foreignLines = 0;
    QString error; // the file cannot be read (on): why; the rows before the failure are kept
};

// Follows one journal file: each read() returns the lines that were completed since the last
// one. A last line without its line end is left for a later read, when the writer has finished it.
// Reads in pieces, so a large journal costs its rows, not its bytes twice over. No journal yet is
// an empty one.
class LineParser;

class JournalFollower
{
public:
    explicit JournalFollower(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    JournalRead read();

private:
    // The journal opened at the first byte not yet read; from its start when it got shorter or
    // was replaced. The error's text when it cannot be read.
    QString openAtNextLine(QFile& file, JournalRead& result);
    // Takes the whole lines at the front of pending (and a line too long to wait for) into the
    // result, and drops them from pending.
    void takeLines(QByteArray& pending, LineParser& parser, JournalRead& result);
    void restart(JournalRead& result);

    QString m_path;
    qint64 m_offset = 0;       // bytes of whole lines read
    QByteArray m_lastLine;     // the last bytes before m_offset, to notice a file that was replaced
    qsizetype m_lines = 0;     // lines read, those being read on included
    bool m_inLongLine = false; // within a line too long to wait for, already taken as unreadable
};

// Rows as a spreadsheet file in the journal's own format (UTF-8 with a byte-order mark, ';',
// CR LF, the caption line first), texts a spreadsheet would run as formulas guarded again.
QByteArray journalCsv(const QList<QStringList>& rows);

} // namespace yalmera::files
