#include "ui_test_support.h"

#include "ui/journal_table_model.h"
#include "ui/journal_window.h"

#include "files/delimited_text.h"
#include "files/journal.h"
#include "model/channel_template.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimeZone>

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

class JournalWindowTest : public ::testing::Test, public ProgramFixture
{
public:
    void SetUp() override { windows.stationLinkWindow().setJournalPath(journalPath); }

    void append(int day, const QString& operation, const QString& serial, const QString& outcome,
                const QString& planFile = {})
    {
        JournalEntry entry;
        entry.time = QDateTime({2026, 12, day}, {10, 0}, QTimeZone(3 * 3600));
        entry.operation = operation;
        entry.port = QStringLiteral("COM3");
        entry.model = QStringLiteral("Ялмера 4К-17");
        entry.typeCode = 0;
        entry.channelCount = 10;
        entry.serialNumber = serial;
        entry.outcome = outcome;
        entry.planFile = planFile;
        ASSERT_TRUE(files::appendJournal(journalPath, entry).isEmpty());
    }

    JournalWindow& journal()
    {
        if (!main().journalWindow() || !main().journalWindow()->isVisible())
            mainChild<QAction>("JournalItem")->trigger();
        return *main().journalWindow();
    }
    template <typename T> T* child(const char* name)
    {
        return journal().findChild<T*>(QString::fromLatin1(name));
    }
    QStringList shownSerials()
    {
        QStringList serials;
        for (int row = 0; row < journal().model()->rowCount(); ++row)
            serials.append(journal().model()->shownRow(row).field(files::JournalColumn::SerialNumber));
        return serials;
    }

    QTemporaryDir folder;
    QString journalPath = folder.filePath(QStringLiteral("journal.csv"));
};

TEST_F(JournalWindowTest, ShowsTheJournalFilteredAndTheLinesOtherProgramsAppend)
{
    append(7, QStringLiteral("запись"), QStringLiteral("К17М-00042"), QStringLiteral("выполнено"));
    append(7, QStringLiteral("запись"), QStringLiteral("К17М-00043"), QStringLiteral("нет ответа"));
    append(8, QStringLiteral("чтение"), QStringLiteral("К17М-00042"), QStringLiteral("выполнено"));
    append(9, QStringLiteral("сверка"), QStringLiteral("К17М-00044"), QStringLiteral("различия"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&journal()));
    EXPECT_EQ(shownSerials().size(), 4);
    const QComboBox* operations = child<QComboBox>("OperationFilter");
    QStringList offered;
    for (int item = 0; item < operations->count(); ++item)
        offered.append(operations->itemText(item));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("все"), QStringLiteral("запись"), QStringLiteral("сверка"),
                                    QStringLiteral("чтение")}));

    child<QLineEdit>("SerialFilter")->setText(QStringLiteral("к17м-00042"));
    EXPECT_EQ(shownSerials(), (QStringList{QStringLiteral("К17М-00042"), QStringLiteral("К17М-00042")}));
    testing::saveScreenshot(journal(), QStringLiteral("journal-filtered-by-serial"));

    // Another program's line appears once it is whole; a filtered-out one only in the count.
    append(10, QStringLiteral("запись"), QStringLiteral("К17М-00099"), QStringLiteral("выполнено"));
    append(10, QStringLiteral("чтение"), QStringLiteral("К17М-00042"), QStringLiteral("сбой линии"));
    EXPECT_EVENTUALLY_EQ(shownSerials().size(), 3);
    EXPECT_EQ(child<QLabel>("JournalStatus")->text(), QStringLiteral("Показано строк: 3 из 6"));

    child<QDateEdit>("FromDate")->setDate({2026, 12, 9});
    EXPECT_EQ(shownSerials(), (QStringList{QStringLiteral("К17М-00042")}));
    child<QComboBox>("OutcomeFilter")->setCurrentIndex(1);
    QTest::mouseClick(child<QPushButton>("ResetFilterButton"), Qt::LeftButton);
    EXPECT_EQ(shownSerials().size(), 6);
}

TEST_F(JournalWindowTest, ShowsALineItCannotReadMarkedWithItsNumberAndTextWhateverTheFilter)
{
    append(7, QStringLiteral("запись"), QStringLiteral("К17М-00042"), QStringLiteral("выполнено"));
    // A line cut short in a text editor, without its line end; the next exchange's line follows.
    const QByteArray cut = "2026-12-07T11:00:00+03:00;1.1.0;запись;COM3;Ялмера";
    QFile file(journalPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    ASSERT_EQ(file.write(cut), cut.size());
    file.close();
    append(8, QStringLiteral("чтение"), QStringLiteral("К17М-00043"), QStringLiteral("выполнено"));
    child<QLineEdit>("SerialFilter")->setText(QStringLiteral("00043"));

    const JournalTableModel& model = *journal().model();
    ASSERT_EQ(model.rowCount(), 2);
    const auto shown = [&](int row, files::JournalColumn column) {
        return model.data(model.index(row, static_cast<int>(column))).toString();
    };
    EXPECT_EQ(
        (QStringList{shown(0, files::JournalColumn::Time), shown(0, files::JournalColumn::Outcome),
                     shown(0, files::JournalColumn::Message)}),
        (QStringList{QStringLiteral("строка 3"), QStringLiteral("не прочитана"), QString::fromUtf8(cut)}));
    EXPECT_TRUE(model.data(model.index(0, 0), Qt::BackgroundRole).isValid());
    EXPECT_EQ(shown(1, files::JournalColumn::SerialNumber), QStringLiteral("К17М-00043"));
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::BackgroundRole).isValid());
    EXPECT_EQ(child<QLabel>("JournalStatus")->text(),
              QStringLiteral("Показано строк: 2 из 3; не разобрано строк: 1"));
}

TEST_F(JournalWindowTest, OpensThePlanARowNamesInTheMainWindow)
{
    const TemplateResult plan =
        makeChannelTemplate({QStringLiteral("4"), QStringLiteral("150000"), QStringLiteral("25")},
                            StationType::forBand(Band::Mhz144to174));
    const files::SavedBackup backup = files::saveBackup(
        journalPath, QDateTime::currentDateTime(), QStringLiteral("00042"), plan.settings, plan.table, 0, 0);
    ASSERT_TRUE(backup.error.isEmpty());
    append(8, QStringLiteral("запись"), QStringLiteral("00042"), QStringLiteral("отказ"));
    append(8, QStringLiteral("чтение"), QStringLiteral("00042"), QStringLiteral("выполнено"), backup.path);
    // Recorded with the system's separators ("C:\..." on Windows); an older journal's '/' is
    // shown the same way and opens all the same.
    const QString native = QDir::toNativeSeparators(backup.path);
    QFile file(journalPath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray lines = file.readAll();
    EXPECT_TRUE(lines.contains(native.toUtf8()));
    file.seek(0);
    file.write(QByteArray(lines).replace(native.toUtf8(), backup.path.toUtf8()));
    file.close();

    auto* table = child<QTableView>("JournalTable");
    auto* open = child<QPushButton>("OpenPlanButton");
    table->selectRow(0);
    EXPECT_FALSE(open->isEnabled()); // the line names no plan
    table->selectRow(1);
    ASSERT_TRUE(open->isEnabled());
    EXPECT_EQ(table->model()->index(1, int(files::JournalColumn::PlanFile)).data().toString(), native);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_EQ(state.planFile(), backup.path);
    EXPECT_EQ(state.table().channelCount(), 4);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(JournalWindowTest, CopiesAndExportsTheSelectedRows)
{
    append(7, QStringLiteral("запись"), QStringLiteral("=1+1"), QStringLiteral("выполнено"));
    append(8, QStringLiteral("запись"), QStringLiteral("B"), QStringLiteral("выполнено"));
    append(9, QStringLiteral("чтение"), QStringLiteral("C;D"), QStringLiteral("выполнено"));
    auto* table = child<QTableView>("JournalTable");
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<QStringList> selected{journal().model()->shownRow(0).fields,
                                      journal().model()->shownRow(2).fields};

    QTest::keySequence(table, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), formatDelimited(selected, u'\t', u"\n"));

    const QString exported = folder.filePath(QStringLiteral("export.csv"));
    dialogs.savePaths.emplace_back(exported);
    QTest::mouseClick(child<QPushButton>("ExportButton"), Qt::LeftButton);
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), files::journalCsv(selected));
}

} // namespace
} // namespace yalmera::ui
