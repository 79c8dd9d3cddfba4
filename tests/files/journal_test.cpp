#include "common/held_journal_lock.h"
#include "common/qt_printers.h"
#include "files/delimited_text.h"
#include "files/journal.h"
#include "files/journal_reader.h"
#include "files/plan_file.h"
#include "model/channel_template.h"
#include "model/version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>
#include <vector>

using namespace yalmera;
using namespace yalmera::files;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Journal, LinesAreAppendedUnderOneCaptionLineWithTheirTimeOffsetAndQuoting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"depot/journal.csv"_qs); // the folder is made
    JournalEntry entry;
    entry.time = QDateTime({2026, 12, 8}, {14, 3, 22}, QTimeZone(3 * 3600));
    entry.operation = u"запись"_qs;
    entry.port = u"/dev/ttyUSB0"_qs;
    entry.model = u"Ялмера 4К-17"_qs;
    entry.typeCode = 0;
    entry.channelCount = 10;
    // Texts from the user neither start lines nor run as formulas.
    entry.planFile = u"plan\r\n=1+2;.ini"_qs;
    entry.sha256 = QByteArray::fromHex("00ff");
    entry.serialNumber = u"=HYPERLINK(\"x\")"_qs;
    entry.outcome = u"нет ответа"_qs;
    entry.message = u"-1, \"b\"\t"_qs;
    entry.replyLatencyMs = 15.84;
    ASSERT_TRUE(prepareJournal(path).isEmpty());
    ASSERT_TRUE(appendJournal(path, entry).isEmpty());
    JournalEntry read;
    read.time = entry.time;
    read.operation = u"чтение"_qs;
    ASSERT_TRUE(appendJournal(path, read).isEmpty());

    const QString version = QString::fromLatin1(ProgramVersion);
    const QString expected =
        u"Время;Версия;Действие;Порт;Модель;Тип;Каналов;Файл плана;SHA-256;Серийный номер;Итог;"
        u"Сообщение;Опоздание ответа (мс)\r\n"_qs +
        u"2026-12-08T14:03:22+03:00;%1;запись;/dev/ttyUSB0;Ялмера 4К-17;0;10;"
        u"\"plan\\x0d\\x0a=1+2;.ini\";00ff;\"'=HYPERLINK(\"\"x\"\")\";нет ответа;"
        u"\"'-1, \"\"b\"\"\\x09\";16\r\n"_qs.arg(version) +
        u"2026-12-08T14:03:22+03:00;%1;чтение;;;;;;;;;;\r\n"_qs.arg(version);
    EXPECT_EQ(readAll(path), "\xEF\xBB\xBF" + expected.toUtf8());

    // Read back as written, without the formula guard; exported again, byte for byte the journal.
    const JournalRead back = JournalFollower(path).read();
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.foreignLines, 0);
    EXPECT_EQ(back.rows[0].date, QDate(2026, 12, 8));
    EXPECT_EQ(back.rows[0].fields,
              QStringList({u"2026-12-08T14:03:22+03:00"_qs, version, u"запись"_qs, u"/dev/ttyUSB0"_qs,
                           u"Ялмера 4К-17"_qs, u"0"_qs, u"10"_qs, u"plan\\x0d\\x0a=1+2;.ini"_qs, u"00ff"_qs,
                           u"=HYPERLINK(\"x\")"_qs, u"нет ответа"_qs, u"-1, \"b\"\\x09"_qs, u"16"_qs}));
    EXPECT_EQ(journalCsv({back.rows[0].fields, back.rows[1].fields}), readAll(path));

    // A journal that cannot be made says why, and so does an append to it.
    QFile blocker(dir.filePath(u"file"_qs));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString impossible = dir.filePath(u"file/journal.csv"_qs);
    EXPECT_FALSE(prepareJournal(impossible).isEmpty());
    EXPECT_TRUE(appendJournal(impossible, entry).text.contains(u"Журнал обмена"_qs));
}

TEST(Journal, BackupsArePlanFilesAndThoseOfTheSameSecondAreNumbered)
{
    QTemporaryDir dir;
    const QString journal = dir.filePath(u"journal.csv"_qs);
    const TemplateResult plan =
        makeChannelTemplate({u"2"_qs, u"140000"_qs, u"1000"_qs}, StationType::forBand(Band::Mhz144to174));
    const QDateTime time({2026, 12, 8}, {14, 3, 22});
    QStringList saved;
    for (const QString& serial : {u"012345"_qs, u"012345"_qs, u"a/b"_qs}) {
        const SavedBackup backup = saveBackup(journal, time, serial, plan.settings, plan.table, 1, 3);
        ASSERT_TRUE(backup.error.isEmpty()) << backup.error.text.toStdString();
        saved << backup.path.mid(dir.path().size() + 1);
        EXPECT_EQ(readAll(backup.path), encodePlan(plan.settings, plan.table, 1, 3));
    }
    EXPECT_EQ(saved, QStringList({u"backups/2026-12-08_14-03-22_012345.ini"_qs,
                                  u"backups/2026-12-08_14-03-22_012345_2.ini"_qs,
                                  u"backups/2026-12-08_14-03-22_a_b.ini"_qs}));

    // Reads that end at once, as parallel programs do, each keep their own.
    std::latch start(6);
    std::vector<std::thread> reads;
    for (int i = 0; i < 6; ++i) {
        reads.emplace_back([&] {
            start.arrive_and_wait();
            saveBackup(journal, time, u"777"_qs, plan.settings, plan.table, 1, 3);
        });
    }
    for (std::thread& read : reads)
        read.join();
    EXPECT_EQ(QDir(dir.filePath(u"backups"_qs)).entryList({u"*_777*.ini"_qs}, QDir::Files).size(), 6);
}

TEST(Journal, ParallelAppendsLeaveOneCaptionLineAndWholeLines)
{
    // Stations ending at once, as a fleet write's do, each round on a new journal: the first
    // appends race for the empty file.
    QTemporaryDir dir;
    constexpr int Rounds = 40;
    constexpr int Threads = 4;
    for (int round = 0; round < Rounds; ++round) {
        const QString path = dir.filePath(u"journal%1.csv"_qs.arg(round));
        std::latch start(Threads);
        std::vector<std::thread> appends;
        for (int t = 0; t < Threads; ++t) {
            appends.emplace_back([&, t] {
                JournalEntry entry;
                entry.port = u"COM%1"_qs.arg(t);
                entry.message = QString(3000, QChar(u'а' + t)); // more than one page
                start.arrive_and_wait();
                for (int i = 0; i < 3; ++i)
                    EXPECT_TRUE(appendJournal(path, entry).isEmpty());
            });
        }
        for (std::thread& append : appends)
            append.join();
        const QStringList lines = QString::fromUtf8(readAll(path)).split(u"\r\n"_qs, Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1 + Threads * 3) << "round " << round;
        EXPECT_EQ(lines[0], journalCaptions().join(u';'));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringList fields = lines[i].split(u';');
            ASSERT_EQ(fields.size(), 13) << "round " << round << ", line " << i;
            EXPECT_EQ(fields[11], QString(3000, QChar(u'а' + fields[3].mid(3).toInt())));
        }
    }
}

TEST(Journal, HeldJournalIsWaitedForAsLongAsAllowedAndALineThatDoesNotGetInIsSaid)
{
    using namespace std::chrono_literals;
    const struct
    {
        const char* what;
        std::chrono::milliseconds limit;
        bool stopped;                    // Ctrl-C or the window ending, before the append
        std::chrono::milliseconds letGo; // the other program lets go once waited this long; 0: never
        const char* reason;              // empty: the line gets in
    } cases[] = {
        {"let go while waited for", 5s, false, 100ms, ""},
        {"held all the wait long", 300ms, false, 0ms,
         "его держит другая программа; ожидание прекращено через 0,3 с"},
        {"stopped before, held on", 300ms, true, 0ms, "его держит другая программа; ожидание прервано"},
        {"stopped before, let go a moment later", 5s, true, 100ms, ""},
        {"no wait allowed", 0ms, false, 0ms, "его держит другая программа; ожидание прекращено через 0 с"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.csv"_qs);
        JournalEntry entry;
        entry.time = QDateTime({2026, 12, 8}, {9, 0});
        entry.operation = u"запись"_qs;
        entry.outcome = u"выполнено"_qs;
        ASSERT_TRUE(appendJournal(path, entry).isEmpty());
        const QByteArray before = readAll(path);
        test::HeldJournalLock other(path);
        ASSERT_TRUE(other.held());

        std::atomic<bool> stop = c.stopped;
        QList<std::chrono::milliseconds> waited;
        JournalWait wait;
        wait.limit = c.limit;
        wait.stop = &stop;
        wait.waiting = [&](std::chrono::milliseconds so_far) {
            waited.append(so_far);
            if (c.letGo > 0ms && so_far >= c.letGo)
                other.release();
        };
        const UserMessage said = appendJournal(path, entry, wait);
        const QString line = journalLine(entry);
        if (*c.reason == 0) {
            EXPECT_TRUE(said.isEmpty()) << said.text.toStdString();
            EXPECT_EQ(readAll(path), before + line.toUtf8() + "\r\n");
        } else {
            EXPECT_EQ(said.text,
                      u"Журнал обмена «%1» не записан: %2\nСтрока журнала, которая не записана:\n%3"_qs.arg(
                          QDir::toNativeSeparators(path), QString::fromUtf8(c.reason), line));
            EXPECT_EQ(readAll(path), before);
        }
        // Said once as it begins, then while it lasts, never beyond its limit.
        if (c.limit == 0ms) {
            EXPECT_TRUE(waited.isEmpty());
        } else {
            ASSERT_FALSE(waited.isEmpty());
            EXPECT_EQ(waited.first(), 0ms);
            EXPECT_LT(waited.last(), c.limit);
        }
        // The command's next line tries once: a wait that ran out is not waited again.
        waited.clear();
        EXPECT_EQ(appendJournal(path, entry, wait).isEmpty(), *c.reason == 0);
        EXPECT_TRUE(waited.isEmpty());
    }
}

namespace {

// A read's line as appendJournal writes it.
QByteArray journalLine(const QString& serial)
{
    JournalEntry entry;
    entry.time = QDateTime({2026, 12, 8}, {9, 0});
    entry.operation = u"чтение"_qs;
    entry.serialNumber = serial;
    return formatCsv({journalFields(entry)}).toUtf8();
}

// The byte-order mark and the caption line, as a new journal starts.
QByteArray journalStart()
{
    return "\xEF\xBB\xBF" + formatCsv({journalCaptions()}).toUtf8();
}

} // namespace

TEST(JournalFollower, TakesWholeLinesAsTheyComeAndRereadsAJournalThatShrankOrWasReplaced)
{
    // Record: the program appends a line for the serial number in `bytes`.
    enum class Change { Append, Record, CutTo, Replace };
    const auto line = [](const char* serial) { return journalLine(QString::fromLatin1(serial)); };
    const QByteArray twoLines = journalStart() + line("A1") + line("A2");
    const QByteArray torn = line("A6").left(30) + line("A7") + line("A8");
    const QByteArray other = journalStart() + line("B1") + line("B2") + line("B3");
    // Begun before the reply latency was journalled: a column less, in the captions and the lines.
    const QByteArray older =
        "\xEF\xBB\xBF" + formatCsv({journalCaptions().first(12)}).toUtf8() + line("C1").chopped(3) + "\r\n";
    const struct
    {
        const char* what;
        Change change;
        QByteArray bytes; // appended or the new content; CutTo: the size as text
        bool restarted;
        const char* serials; // of the rows read, ' ' between; a line that is no journal line as #N
        int foreignLines;
        QByteArray unreadable; // the text shown of the line that is none
    } steps[] = {
        {"no journal yet", Change::Append, {}, false, "", 0, {}},
        {"two lines", Change::Append, twoLines, false, "A1 A2", 0, {}},
        {"a line being written", Change::Append, line("A3").left(20), false, "", 0, {}},
        {"its end", Change::Append, line("A3").mid(20), false, "A3", 0, {}},
        {"a record after a whole line", Change::Record, "R0", false, "R0", 0, {}},
        {"a foreign line", Change::Append, "Fremd;Zeile\r\n" + line("A4"), false, "#6 A4", 1, "Fremd;Zeile"},
        {"an unclosed quote ends with its line", Change::Append, "\"x;y\r\n" + line("A5"), false, "#8 A5", 1,
         "\"x;y"},
        {"a torn line glued to the next", Change::Append, torn, false, "#10 A8", 1,
         line("A6").left(30) + line("A7").chopped(2)},
        {"half a line, never ended", Change::Append, line("A9").left(25), false, "", 0, {}},
        {"a record after it starts a line of its own", Change::Record, "R1", false, "#12 R1", 1,
         line("A9").left(25)},
        {"no line end for 2 MiB", Change::Append, QByteArray(2 << 20, 'x'), false, "#14", 1,
         QByteArray(MaxUnreadableShown, 'x') + "…"},
        {"the end of that line", Change::Append, "xx\r\n" + line("A10"), false, "A10", 0, {}},
        {"shorter than what was read",
         Change::CutTo,
         QByteArray::number(twoLines.size()),
         true,
         "A1 A2",
         0,
         {}},
        {"another file in its place", Change::Replace, other, true, "B1 B2 B3", 0, {}},
        {"a journal begun before the last column", Change::Replace, older, true, "C1", 0, {}},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"journal.csv"_qs);
    JournalFollower follower(path);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        QFile file(path);
        if (step.change == Change::CutTo) {
            ASSERT_TRUE(file.resize(step.bytes.toLongLong()));
        } else if (step.change == Change::Record) {
            JournalEntry entry;
            entry.time = QDateTime({2026, 12, 8}, {9, 0});
            entry.serialNumber = QString::fromLatin1(step.bytes);
            ASSERT_TRUE(appendJournal(path, entry).isEmpty());
        } else if (!step.bytes.isEmpty()) {
            ASSERT_TRUE(file.open(step.change == Change::Append ? QIODevice::Append : QIODevice::WriteOnly));
            file.write(step.bytes);
            file.close();
        }
        const JournalRead read = follower.read();
        EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        EXPECT_EQ(read.restarted, step.restarted);
        QStringList serials;
        for (const JournalRow& row : read.rows) {
            if (!row.unreadable) {
                serials.append(row.field(JournalColumn::SerialNumber));
                continue;
            }
            serials.append(u"#%1"_qs.arg(row.line));
            EXPECT_EQ(row.field(JournalColumn::Time), u"строка %1"_qs.arg(row.line));
            EXPECT_EQ(row.field(JournalColumn::Outcome), u"не прочитана"_qs);
            EXPECT_EQ(row.field(JournalColumn::Message), QString::fromUtf8(step.unreadable));
        }
        EXPECT_EQ(serials.join(u' '), QString::fromLatin1(step.serials));
        EXPECT_EQ(read.foreignLines, step.foreignLines);
    }
    EXPECT_TRUE(JournalFollower(dir.path()).read().error.startsWith(u"Журнал обмена"_qs)); // a folder
}

TEST(JournalFilter, PassesRowsBySerialPartDaysOperationAndOutcome)
{
    const auto row = [](QDate date, const QString& operation, const QString& outcome, const QString& serial) {
        QStringList fields(JournalColumnCount);
        fields[int(JournalColumn::Operation)] = operation;
        fields[int(JournalColumn::Outcome)] = outcome;
        fields[int(JournalColumn::SerialNumber)] = serial;
        return JournalRow{date, fields, 0, false};
    };
    // A line that is no journal line: nothing in it can be told to be outside a filter.
    JournalRow unreadable{{}, QStringList(JournalColumnCount), 5, true};
    unreadable.fields[int(JournalColumn::Outcome)] = u"не прочитана"_qs;
    const JournalRow rows[] = {
        row({2026, 12, 7}, u"чтение"_qs, u"выполнено"_qs, u"К17М-00042"_qs),
        row({2026, 12, 8}, u"запись"_qs, u"нет ответа"_qs, u"к17м-00043"_qs),
        row({2026, 12, 9}, u"запись"_qs, u"выполнено"_qs, u"X9"_qs),
        unreadable,
    };
    const struct
    {
        const char* what;
        JournalFilter filter;
        QList<int> passed;
    } cases[] = {
        // Every member given: the Windows build warns of any left to its default.
        {"none", {{}, {}, {}, {}, {}}, {0, 1, 2, 3}},
        {"serial part, letter case aside", {u"К17м-0004"_qs, {}, {}, {}, {}}, {0, 1, 3}},
        {"from a day", {{}, {2026, 12, 8}, {}, {}, {}}, {1, 2, 3}},
        {"up to a day", {{}, {}, {2026, 12, 8}, {}, {}}, {0, 1, 3}},
        {"one day", {{}, {2026, 12, 8}, {2026, 12, 8}, {}, {}}, {1, 3}},
        {"operation", {{}, {}, {}, u"запись"_qs, {}}, {1, 2, 3}},
        {"outcome", {{}, {}, {}, {}, u"выполнено"_qs}, {0, 2, 3}},
        {"the unreadable lines", {{}, {}, {}, {}, u"не прочитана"_qs}, {3}},
        {"all at once", {u"00043"_qs, {}, {}, {}, u"выполнено"_qs}, {3}},
    };
    for (const auto& c : cases) {
        QList<int> passed;
        for (int i = 0; i < 4; ++i) {
            if (c.filter.matches(rows[i]))
                passed.append(i);
        }
        EXPECT_EQ(passed, c.passed) << c.what;
    }
}
