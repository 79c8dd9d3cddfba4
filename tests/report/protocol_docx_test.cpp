#include "report/protocol_docx.h"
#include "report_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::report;

namespace {

struct DocxParagraph
{
    QString alignment;
    bool bold = false;
    bool keepWithNext = false;
    int halfPoints = 0; // of the paragraph mark
    QString text;
};

struct DocxRow
{
    bool cantSplit = false;
    bool repeatsAsHeader = false;
    QString height; // value and rule, "280 exact"
    QList<int> cellWidths;
    QList<DocxParagraph> cells;
};

// What a word processor reads from word/document.xml, gathered in one pass.
struct DocxBody
{
    bool wellFormed = false;
    QXmlStreamAttributes pageSize;
    QXmlStreamAttributes pageMargins;
    QList<DocxParagraph> paragraphs; // outside the table
    QString tableLayout;
    QList<int> gridColumns;
    QList<DocxRow> rows;
    int tables = 0;
};

DocxBody readBody(const QByteArray& xml)
{
    DocxBody body;
    QXmlStreamReader reader(xml);
    QStringList path;
    DocxParagraph paragraph;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QString name = reader.name().toString();
            const QString parent = path.isEmpty() ? QString() : path.last();
            const QString value = reader.attributes().value(u"w:val"_qs).toString();
            path.append(name);
            if (name == u"p")
                paragraph = {};
            else if (name == u"jc" && parent == u"pPr")
                paragraph.alignment = value;
            else if (name == u"keepNext" && parent == u"pPr")
                paragraph.keepWithNext = true;
            else if (name == u"b" && path.contains(u"pPr"_qs))
                paragraph.bold = true;
            else if (name == u"sz" && path.contains(u"pPr"_qs))
                paragraph.halfPoints = value.toInt();
            else if (name == u"t") {
                paragraph.text += reader.readElementText();
                path.removeLast();
            } else if (name == u"tab")
                paragraph.text += u'\t';
            else if (name == u"br")
                paragraph.text += u'\n';
            else if (name == u"tbl")
                ++body.tables;
            else if (name == u"tblLayout")
                body.tableLayout = reader.attributes().value(u"w:type"_qs).toString();
            else if (name == u"gridCol")
                body.gridColumns.append(reader.attributes().value(u"w:w"_qs).toInt());
            else if (name == u"tr")
                body.rows.append(DocxRow());
            else if (name == u"cantSplit")
                body.rows.last().cantSplit = true;
            else if (name == u"tblHeader")
                body.rows.last().repeatsAsHeader = true;
            else if (name == u"trHeight")
                body.rows.last().height = value + u' ' + reader.attributes().value(u"w:hRule"_qs).toString();
            else if (name == u"tcW")
                body.rows.last().cellWidths.append(reader.attributes().value(u"w:w"_qs).toInt());
            else if (name == u"pgSz")
                body.pageSize = reader.attributes();
            else if (name == u"pgMar")
                body.pageMargins = reader.attributes();
        } else if (reader.isEndElement()) {
            path.removeLast();
            if (reader.name() == u"p") {
                if (path.contains(u"tc"_qs))
                    body.rows.last().cells.append(paragraph);
                else
                    body.paragraphs.append(paragraph);
            }
        }
    }
    body.wellFormed = !reader.hasError();
    return body;
}

DocxBody bodyOf(const ProtocolDocument& document)
{
    const std::optional<QByteArray> docx = protocolDocxBytes(document);
    if (!docx)
        return {};
    return readBody(unzipped(*docx).value(u"word/document.xml"_qs));
}

} // namespace

TEST(ProtocolDocx, IsACompleteWordProcessingPackage)
{
    const std::optional<QByteArray> docx = protocolDocxBytes(buildProtocolDocument(checkedPlan(3), u"1"_qs));
    ASSERT_TRUE(docx);
    const QMap<QString, QByteArray> entries = unzipped(*docx);
    EXPECT_EQ(entries.keys(),
              (QStringList{u"[Content_Types].xml"_qs, u"_rels/.rels"_qs, u"word/_rels/document.xml.rels"_qs,
                           u"word/document.xml"_qs, u"word/settings.xml"_qs, u"word/styles.xml"_qs}));
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        QXmlStreamReader reader(it.value());
        while (!reader.atEnd())
            reader.readNext();
        EXPECT_FALSE(reader.hasError())
            << it.key().toStdString() << ": " << reader.errorString().toStdString();
    }
    EXPECT_TRUE(entries[u"[Content_Types].xml"_qs].contains(
        "PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\""));
    EXPECT_TRUE(entries[u"_rels/.rels"_qs].contains("Target=\"word/document.xml\""));
    // Word opens it in its own mode, not in "Compatibility Mode".
    EXPECT_TRUE(entries[u"[Content_Types].xml"_qs].contains("PartName=\"/word/settings.xml\""));
    EXPECT_TRUE(entries[u"word/_rels/document.xml.rels"_qs].contains(
        "relationships/settings\" Target=\"settings.xml\""));
    EXPECT_TRUE(entries[u"word/settings.xml"_qs].contains(
        "<w:compatSetting w:name=\"compatibilityMode\" w:uri=\"http://schemas.microsoft.com/office/word\" "
        "w:val=\"15\"/>"));
}

TEST(ProtocolDocx, PageIsA4LandscapeWithTheMarginsInTwips)
{
    const DocxBody body = bodyOf(buildProtocolDocument(checkedPlan(3), u"1"_qs));
    ASSERT_TRUE(body.wellFormed);
    EXPECT_EQ(body.pageSize.value(u"w:w"_qs), u"16838");
    EXPECT_EQ(body.pageSize.value(u"w:h"_qs), u"11906");
    EXPECT_EQ(body.pageSize.value(u"w:orient"_qs), u"landscape");
    EXPECT_EQ(body.pageMargins.value(u"w:left"_qs), u"500");
    EXPECT_EQ(body.pageMargins.value(u"w:right"_qs), u"500");
    EXPECT_EQ(body.pageMargins.value(u"w:top"_qs), u"1500");
    EXPECT_EQ(body.pageMargins.value(u"w:bottom"_qs), u"1260");
}

TEST(ProtocolDocx, ParagraphsCarryAlignmentWeightAndSizeEvenWhenEmpty)
{
    const DocxBody body = bodyOf(buildProtocolDocument(checkedPlan(3), QString()));
    ASSERT_TRUE(body.wellFormed);
    const QStringList settings = GeneralSettings::templateLines();
    // Title, serial, empty, the settings lines, empty; then one closing paragraph after the table.
    ASSERT_EQ(body.paragraphs.size(), 2 + 1 + settings.size() + 1 + 1);
    for (int i : {0, 1}) {
        EXPECT_EQ(body.paragraphs[i].alignment, u"center");
        EXPECT_TRUE(body.paragraphs[i].bold);
        EXPECT_EQ(body.paragraphs[i].halfPoints, 40);
    }
    EXPECT_EQ(body.paragraphs[0].text, u"Ялмера - 407"_qs);
    EXPECT_EQ(body.paragraphs[1].text, QString());
    for (int i = 2; i < 2 + 1 + settings.size() + 1; ++i) {
        EXPECT_EQ(body.paragraphs[i].alignment, u"left") << i;
        EXPECT_FALSE(body.paragraphs[i].bold) << i;
        EXPECT_EQ(body.paragraphs[i].halfPoints, 24) << i;
    }
    for (int i = 0; i < settings.size(); ++i)
        EXPECT_EQ(body.paragraphs[3 + i].text, settings[i]);
}

TEST(ProtocolDocx, TableHasFixedColumnWidthsAndRowsThatNeverSplit)
{
    const DocxBody body = bodyOf(buildProtocolDocument(checkedPlan(31), QString()));
    ASSERT_TRUE(body.wellFormed);
    EXPECT_EQ(body.tables, 1);
    EXPECT_EQ(body.tableLayout, u"fixed");
    // The widths between the margins: 842 - 25 - 25 pt in twips.
    const auto fitted = fittedColumnWidths(15838);
    const QList<int> twips(fitted.begin(), fitted.end());
    EXPECT_EQ(body.gridColumns, twips);
    ASSERT_EQ(body.rows.size(), 33);
    for (int r = 0; r < body.rows.size(); ++r) {
        const DocxRow& row = body.rows[r];
        EXPECT_TRUE(row.cantSplit) << r;
        EXPECT_FALSE(row.repeatsAsHeader) << r;   // the document repeats its header rows itself
        EXPECT_EQ(row.height, u"280 exact") << r; // as the PDF's rows
        EXPECT_EQ(row.cellWidths, twips) << r;
        ASSERT_EQ(row.cells.size(), 18);
        const bool header = r == 0 || r == 31;
        for (const DocxParagraph& cell : row.cells) {
            EXPECT_EQ(cell.alignment, u"center");
            EXPECT_EQ(cell.bold, header) << r;
            EXPECT_EQ(cell.halfPoints, header ? 22 : 24) << r;
            EXPECT_EQ(cell.keepWithNext, header) << r; // a header row never ends a page alone
        }
    }
    EXPECT_EQ(body.rows[31].cells[7].text, u"Tон_Rx"_qs);
    EXPECT_EQ(body.rows[32].cells[0].text, u"c0r31"_qs);
    EXPECT_EQ(body.rows[32].cells[10].text, u"c11r31"_qs);
}

TEST(ProtocolDocx, MarkupAndControlCharactersInTextsStayWellFormed)
{
    AppState state = checkedPlan(1);
    state.editSettings().setLines({u"[Общие установки]"_qs, u"a<b>&\"c\"\tx\x01y  "_qs});
    state.editTable().setCell(Column::RxFrequency, 1, u"]]></w:t>"_qs);
    const DocxBody body = bodyOf(buildProtocolDocument(state, u" <К17М & 5> "_qs));
    ASSERT_TRUE(body.wellFormed);
    EXPECT_EQ(body.paragraphs[1].text, u" <К17М & 5> "_qs); // blanks kept
    EXPECT_EQ(body.paragraphs[4].text, u"a<b>&\"c\"\tx\uFFFDy  "_qs);
    EXPECT_EQ(body.rows[1].cells[1].text, u"]]></w:t>"_qs);
}

TEST(ProtocolDocx, WritesThroughATemporaryFileAndReportsFailures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(2), u"1"_qs);
    const QString path = dir.filePath(u"p.docx"_qs);
    EXPECT_TRUE(writeProtocolDocx(document, path).isEmpty());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(unzipped(written.readAll()).size(), 6);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"p.docx"_qs});

    const UserMessage failed = writeProtocolDocx(document, dir.filePath(u"missing/p.docx"_qs));
    EXPECT_FALSE(failed.isEmpty());
    EXPECT_EQ(failed.kind, MessageKind::Failure);
}

namespace {

// The PDF LibreOffice makes of a .docx beside it; empty when none came. Its exit code says less:
// one that cannot load the file ("source file could not be loaded") may still end with 0.
QString convertedByLibreOffice(const QString& docx)
{
    const QFileInfo file(docx);
    // A profile of its own, so a conversion running elsewhere cannot block this one.
    runTool(u"soffice"_qs,
            {u"-env:UserInstallation=file://"_qs + test::hostPath(file.path()) + u"/profile"_qs,
             u"--headless"_qs, u"--convert-to"_qs, u"pdf"_qs, u"--outdir"_qs, test::hostPath(file.path()),
             test::hostPath(docx)});
    const QString pdf = file.dir().filePath(file.completeBaseName() + u".pdf"_qs);
    return QFile::exists(pdf) ? pdf : QString();
}

// The smallest word-processing document: one paragraph. Any LibreOffice that reads .docx opens it.
bool writeProbeDocx(const QString& path)
{
    const QByteArray parts[][2] = {
        {"[Content_Types].xml",
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Override PartName="/word/document.xml" ContentType="application/)"
         R"(vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)"},
        {"_rels/.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
         R"(relationships/officeDocument" Target="word/document.xml"/></Relationships>)"},
        {"word/document.xml",
         R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/)"
         R"(2006/main"><w:body><w:p><w:r><w:t>probe</w:t></w:r></w:p></w:body></w:document>)"},
    };
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    bool added = archive != nullptr;
    for (const auto& [name, content] : parts) {
        zip_source_t* source =
            added ? zip_source_buffer(archive, content.constData(), content.size(), 0) : nullptr;
        added = source && zip_file_add(archive, name.constData(), source, 0) >= 0;
    }
    return archive && zip_close(archive) == 0 && added;
}

} // namespace

TEST(ProtocolDocx, LibreOfficeOpensItAsALandscapeDocument)
{
    if (!test::hostToolExists(u"soffice"_qs) || !test::hostToolExists(u"pdftotext"_qs))
        GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString docx = dir.filePath(u"protocol.docx"_qs);
    ASSERT_TRUE(writeProtocolDocx(buildProtocolDocument(checkedPlan(31), u"К17М-12345"_qs), docx).isEmpty());

    const QString pdf = convertedByLibreOffice(docx);
    if (pdf.isEmpty()) {
        // A LibreOffice without its word processor (Calc alone) loads no .docx at all: this machine
        // cannot tell whether the protocol opens. One that loads the probe and not the protocol can.
        const QString probe = dir.filePath(u"probe.docx"_qs);
        ASSERT_TRUE(writeProbeDocx(probe));
        if (convertedByLibreOffice(probe).isEmpty())
            GTEST_SKIP() << "this LibreOffice cannot load a .docx (is its Writer installed?)";
        FAIL() << "LibreOffice loads a .docx, but not the protocol";
    }

    const auto info = runTool(u"pdfinfo"_qs, {test::hostPath(pdf)});
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->contains("841.89 x 595.") || info->contains("842 x 595")) << info->constData();

    const auto text = runTool(u"pdftotext"_qs, {u"-layout"_qs, test::hostPath(pdf), u"-"_qs});
    ASSERT_TRUE(text);
    const QString content = QString::fromUtf8(*text);
    EXPECT_TRUE(content.contains(u"Ялмера - 407"_qs));
    EXPECT_TRUE(content.contains(u"К17М-12345"_qs));
    EXPECT_EQ(content.count(u"CTCSS_Rx"_qs), 2); // header rows 1 and 32
    EXPECT_TRUE(content.contains(u"c1r31"_qs));
}
