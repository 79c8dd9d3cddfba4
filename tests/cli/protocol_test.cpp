#include "cli_runner.h"

#include "common/station_peers.h"
#include "files/plan_file.h"
#include "session/app_state.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace yalmera;

namespace {

class ProtocolCommand : public testing::Test
{
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A template plan of `count` channels saved as a file after `edit` changed it.
    QString planFile(int count, const std::function<void(AppState&)>& edit = {})
    {
        AppState state;
        TemplateFields fields;
        fields.count = QString::number(count);
        fields.startKHz = QStringLiteral("145000");
        fields.offsetKHz = QStringLiteral("25");
        EXPECT_TRUE(state.createTemplate(fields).isEmpty());
        if (edit)
            edit(state);
        const QString file = path(QStringLiteral("plan%1.ini").arg(count));
        EXPECT_TRUE(files::writePlanFile(file, state.settings(), state.table(), state.stationType().typeCode,
                                         moduleCode(state.moduleType()))
                        .isEmpty());
        return file;
    }

    // The PDF's text, or nothing when poppler-utils is missing. A pdftotext that cannot read the
    // PDF fails the test: the PDF is at fault.
    static std::optional<QString> pdfText(const QString& pdf)
    {
        if (!test::hostToolExists(QStringLiteral("pdftotext")))
            return std::nullopt;
        const std::optional<QByteArray> text =
            test::runHostTool(QStringLiteral("pdftotext"),
                              {QStringLiteral("-layout"), test::hostPath(pdf), QStringLiteral("-")});
        EXPECT_TRUE(text) << "pdftotext cannot read " << pdf.toStdString();
        return QString::fromUtf8(text.value_or(QByteArray()));
    }

    QTemporaryDir m_dir;
};

// Channel rows of the extracted text: a channel number, then the receive frequency.
int channelLines(const QString& text)
{
    static const QRegularExpression row(QStringLiteral(R"(^\s*\d{1,2}\s+1\d{5}\s)"),
                                        QRegularExpression::MultilineOption);
    int count = 0;
    for (auto it = row.globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}

} // namespace

TEST_F(ProtocolCommand, ExamplePlanGivesADocxAndAPdfOfTenChannels)
{
    const QString plan = QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini");
    const QString docx = path(QStringLiteral("p.docx"));
    const CliRun wroteDocx = runCli({QStringLiteral("protocol"), plan, QStringLiteral("--serial"),
                                     QStringLiteral("К17М-12345"), QStringLiteral("-o"), docx});
    ASSERT_EQ(wroteDocx.exitCode, 0) << wroteDocx.err.toStdString();
    EXPECT_EQ(wroteDocx.out,
              u"Protocol (serial number \"К17М-12345\", 10 channels) saved to "_qs + docx + u'\n');
    QFile file(docx);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("PK\x03\x04")); // a zip package
    EXPECT_TRUE(bytes.contains("word/document.xml"));

    const QString pdf = path(QStringLiteral("p.pdf"));
    const CliRun wrotePdf = runCli({QStringLiteral("protocol"), plan, QStringLiteral("--serial"),
                                    QStringLiteral("К17М-12345"), QStringLiteral("-o"), pdf});
    ASSERT_EQ(wrotePdf.exitCode, 0) << wrotePdf.err.toStdString();
    const auto text = pdfText(pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text->contains(QStringLiteral("Ялмера - 407")));
    EXPECT_TRUE(text->contains(QStringLiteral("К17М-12345")));
    EXPECT_EQ(text->count(QStringLiteral("CTCSS_Rx")), 1);
    EXPECT_EQ(channelLines(*text), 10);
}

TEST_F(ProtocolCommand, ThePlansSerialNumberIsPrintedUnlessOneIsGiven)
{
    const QString plan = planFile(2, [](AppState& s) {
        s.editSettings().setLines(s.settings().lines() + QStringList{u"Серийный номер=К17М-00042"_qs});
    });
    for (const QStringList& given : {QStringList{}, QStringList{u"--serial"_qs, u"К17М-12345"_qs}}) {
        const QString pdf = path(QStringLiteral("serial%1.pdf").arg(given.size()));
        ASSERT_EQ(runCli(QStringList{u"protocol"_qs, plan, u"-o"_qs, pdf} + given).exitCode, 0);
        const auto text = pdfText(pdf);
        if (!text)
            GTEST_SKIP() << "pdftotext is not installed";
        // The title's second line.
        const QString serial = given.isEmpty() ? u"К17М-00042"_qs : given.last();
        EXPECT_TRUE(text->contains(QRegularExpression(u"\\n *"_qs + serial + u" *\\n"_qs)))
            << text->toStdString();
    }
}

TEST_F(ProtocolCommand, NinetyNineChannelsRepeatTheHeaderThreeTimes)
{
    const QString pdf = path(QStringLiteral("99.pdf"));
    const CliRun run = runCli({QStringLiteral("protocol"), planFile(99), QStringLiteral("--serial"),
                               QString(), QStringLiteral("-o"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const auto text = pdfText(pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_EQ(text->count(QStringLiteral("CTCSS_Rx")), 4);
    EXPECT_EQ(channelLines(*text), 99);
    // The settings fill the first page; each block of the table begins a page of its own.
    const QStringList pages = text->split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 5);
    for (int p = 1; p < pages.size(); ++p)
        EXPECT_TRUE(pages[p].trimmed().startsWith(QStringLiteral("№ "))) << p;
}

TEST_F(ProtocolCommand, APlanTheCheckRefusesGivesItsMessageAndNoDocument)
{
    const QString plan =
        planFile(3, [](AppState& s) { s.editTable().setCell(Column::PowerMin, 2, QStringLiteral("4")); });
    const QString out = path(QStringLiteral("refused.docx"));
    const CliRun run = runCli({QStringLiteral("protocol"), plan, QStringLiteral("--serial"),
                               QStringLiteral("1"), QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень")));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ProtocolCommand, UsageAndFileErrorsExitWithTwoAndWriteNothing)
{
    const QString plan = planFile(2);
    const struct
    {
        QStringList arguments;
        QString said;
    } cases[] = {
        {{plan, QStringLiteral("--serial"), QStringLiteral("1"), QStringLiteral("-o"),
          path(QStringLiteral("p.odt"))},
         QStringLiteral(".docx or .pdf")},
        {{plan, QStringLiteral("--serial"), QStringLiteral("1"), QStringLiteral("-o"),
          path(QStringLiteral("p"))},
         QStringLiteral(".docx or .pdf")},
        {{plan, QStringLiteral("-o"), path(QStringLiteral("p.docx"))}, QStringLiteral("--serial")},
        {{plan, QStringLiteral("--serial"), QStringLiteral("1")}, QStringLiteral("-o")},
        {{QStringLiteral("--serial"), QStringLiteral("1"), QStringLiteral("-o"),
          path(QStringLiteral("p.docx"))},
         QStringLiteral("no plan file")},
        {{path(QStringLiteral("missing.ini")), QStringLiteral("--serial"), QStringLiteral("1"),
          QStringLiteral("-o"), path(QStringLiteral("p.docx"))},
         QStringLiteral("missing.ini")},
        {{plan, QStringLiteral("--serial"), QStringLiteral("1"), QStringLiteral("-o"),
          path(QStringLiteral("no/such/folder/p.pdf"))},
         QStringLiteral("p.pdf")},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(QStringList{QStringLiteral("protocol")} + c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("p.docx"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("p.odt"))));
}
