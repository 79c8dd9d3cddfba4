#include "report/protocol_layout.h"
#include "report/protocol_pdf.h"
#include "report_test_support.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::report;

namespace {

// A4 landscape at the PDF writer's resolution, margins as the protocol sets them.
struct PdfDevice
{
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    QSizeF content;

    PdfDevice()
    {
        writer.setResolution(1200);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(25, 75, 25, 63)));
        content = writer.pageLayout().paintRectPixels(1200).size();
    }
};

std::optional<QString> pdfText(const QString& path, const QStringList& options = {})
{
    const auto out = runTool(u"pdftotext"_qs, options + QStringList{test::hostPath(path), u"-"_qs});
    return out ? std::optional<QString>(QString::fromUtf8(*out)) : std::nullopt;
}

} // namespace

TEST(ProtocolLayout, TableRowsNeverSplitAndEveryPieceIsPlacedOnceInOrder)
{
    AppState state = checkedPlan(99);
    // A cell of long text stays within its one row.
    state.editTable().setCell(Column::RxFrequency, 40, QString(60, u'7'));
    const ProtocolDocument document = buildProtocolDocument(state, u"К17М-12345"_qs);
    PdfDevice device;
    const ProtocolLayout layout(document, device.writer, device.content);

    ASSERT_GE(layout.pages().size(), 4);
    int nextRow = 0;
    int paragraphLines = 0;
    for (const auto& page : layout.pages()) {
        ASSERT_FALSE(page.isEmpty());
        EXPECT_EQ(page.first().y, 0);
        qreal y = 0;
        for (const ProtocolLayout::Piece& piece : page) {
            EXPECT_DOUBLE_EQ(piece.y, y);
            EXPECT_LE(piece.y + piece.height, layout.contentSize().height() + 0.01);
            y += piece.height;
            if (piece.kind == ProtocolLayout::PieceKind::TableRow) {
                EXPECT_EQ(piece.index, nextRow++);
            } else {
                ++paragraphLines;
                EXPECT_EQ(nextRow, 0) << "paragraphs stand before the table";
            }
        }
    }
    EXPECT_EQ(nextRow, 103);
    // A header row always has the first channel row of its block under it on the same page.
    for (const auto& page : layout.pages()) {
        const ProtocolLayout::Piece& last = page.last();
        if (last.kind == ProtocolLayout::PieceKind::TableRow) {
            EXPECT_EQ(document.tableRows[last.index].kind, RowKind::Channel) << last.index;
        }
    }
    EXPECT_EQ(paragraphLines, document.paragraphs.size()); // no settings line is wider than the page
}

TEST(ProtocolLayout, ARowTallerThanAPageStandsAloneInsteadOfLoopingOrSplitting)
{
    AppState state = checkedPlan(2);
    state.editTable().setCell(Column::RxFrequency, 1, QString(3000, u'8'));
    PdfDevice device;
    const ProtocolLayout layout(buildProtocolDocument(state, QString()), device.writer, device.content);
    int rowsSeen = 0;
    for (const auto& page : layout.pages()) {
        for (const ProtocolLayout::Piece& piece : page) {
            if (piece.kind != ProtocolLayout::PieceKind::TableRow)
                continue;
            ++rowsSeen;
            if (piece.height > layout.contentSize().height()) {
                EXPECT_EQ(page.size(), 1);
            }
        }
    }
    EXPECT_EQ(rowsSeen, 3);
}

TEST(ProtocolLayout, TableSpansTheWidthBetweenTheMarginsAndEveryTextStaysInItsCell)
{
    // A made plan with the widest texts of its columns in channel 1.
    AppState state;
    ASSERT_TRUE(state.createTemplate({u"99"_qs, u"145000"_qs, u"25"_qs}).isEmpty());
    acceptImageOf(state, 99);
    for (const auto& [column, text] : {std::pair{Column::RxFrequency, u"145006,25"_qs},
                                       {Column::TxFrequency, u"РЕТР_ПР"_qs},
                                       {Column::CtcssRx, u"254,1"_qs},
                                       {Column::Width, u"12,5"_qs},
                                       {Column::TxOff, u"RSSI"_qs}})
        state.editTable().setCell(column, 1, text);
    const ProtocolDocument document = buildProtocolDocument(state, QString());
    PdfDevice device;
    const ProtocolLayout layout(document, device.writer, device.content);

    const auto& edges = layout.columnEdges();
    EXPECT_NEAR(edges.back(), layout.contentSize().width() - 0.5, 0.5);
    for (int r = 0; r < document.tableRows.size(); ++r) {
        for (int c = 0; c < ProtocolColumnCount; ++c) {
            const ProtocolLayout::ShownText shown = layout.cellText(r, c);
            EXPECT_EQ(shown.text, document.tableRows[r].cells[c]) << r << ' ' << c; // nothing cut
            EXPECT_LE(shown.bounds.right(), edges[c + 1]) << r << ' ' << c;
        }
    }
}

TEST(ProtocolLayout, EveryTablePageBeginsWithAHeaderRowOfExactHeight)
{
    const QStringList settings = GeneralSettings::templateLines();
    const struct
    {
        int channels;
        qsizetype settingsLines;
        int tablePage; // where the table begins
        int pages;
    } cases[] = {
        {99, settings.size(), 1, 5},
        {62, 5, 1, 4},
        {30, 5, 1, 2}, // the first block does not fit under the paragraphs
        {20, 5, 0, 1},
    };
    for (const auto& c : cases) {
        AppState state = checkedPlan(c.channels);
        state.editSettings().setLines(settings.mid(0, c.settingsLines));
        const ProtocolDocument document = buildProtocolDocument(state, u"К17М-12345"_qs);
        PdfDevice device;
        const ProtocolLayout layout(document, device.writer, device.content);
        ASSERT_EQ(layout.pages().size(), c.pages) << c.channels;
        for (int p = 0; p < c.pages; ++p) {
            QList<RowKind> rows; // of the page's table rows
            for (const ProtocolLayout::Piece& piece : layout.pages()[p]) {
                if (piece.kind == ProtocolLayout::PieceKind::TableRow) {
                    rows.append(document.tableRows[piece.index].kind);
                    EXPECT_DOUBLE_EQ(piece.height, TableRowHeightPt * 1200 / 72.0);
                }
            }
            EXPECT_EQ(!rows.isEmpty(), p >= c.tablePage) << c.channels << " page " << p;
            EXPECT_EQ(rows.value(0, RowKind::Header), RowKind::Header) << c.channels << " page " << p;
        }
    }
}

TEST(ProtocolLayout, TextsWiderThanTheirPlaceAreCutToOneLineThatFits)
{
    const QString million(1'000'000, u'1');
    AppState state = checkedPlan(1);
    state.editTable().setCell(Column::Width, 1, million); // the check reads only "12,5" there
    state.editTable().setCell(Column::Time, 1, u"5\n6"_qs);
    state.editSettings().setLines({u"Id_номер="_qs + million, u"a\r\nb"_qs});
    PdfDevice device;
    const ProtocolLayout layout(buildProtocolDocument(state, million), device.writer, device.content);
    const qreal pageWidth = layout.contentSize().width();
    const struct
    {
        ProtocolLayout::ShownText shown;
        QString start;
        bool cut;
        qreal right;
    } cases[] = {
        {layout.cellText(1, 13), u"11"_qs, true, layout.columnEdges()[14]}, // "Sw"
        {layout.cellText(1, 16), u"5"_qs, true, layout.columnEdges()[17]},  // a row shows one line
        {layout.paragraphText(1), u"1111"_qs, true, pageWidth},             // 20 pt bold
        {layout.paragraphText(3), u"Id_номер=1"_qs, true, pageWidth},
        {layout.paragraphText(4), u"a\u2028b"_qs, false, pageWidth}, // a paragraph keeps its lines
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.shown.text.startsWith(c.start)) << c.shown.text.left(50).toStdString();
        EXPECT_EQ(c.shown.text.endsWith(u'…'), c.cut) << c.shown.text.left(50).toStdString();
        EXPECT_LE(c.shown.bounds.right(), c.right);
    }
}

TEST(ProtocolPdf, LandscapePagesWithExtractableCyrillicText)
{
    if (!test::hostToolExists(u"pdftotext"_qs) || !test::hostToolExists(u"pdfinfo"_qs))
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"p.pdf"_qs);
    ASSERT_TRUE(writeProtocolPdf(buildProtocolDocument(checkedPlan(62), u"К17М-12345"_qs), path).isEmpty());

    const auto info = runTool(u"pdfinfo"_qs, {u"-f"_qs, u"1"_qs, u"-l"_qs, u"99"_qs, test::hostPath(path)});
    ASSERT_TRUE(info);
    const QString infoText = QString::fromUtf8(*info);
    const QRegularExpression pageSize(uR"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)"_qs);
    int pages = 0;
    for (auto it = pageSize.globalMatch(infoText); it.hasNext();) {
        const auto match = it.next();
        ++pages;
        EXPECT_NEAR(match.captured(1).toDouble(), 841.89, 0.5);
        EXPECT_NEAR(match.captured(2).toDouble(), 595.28, 0.5);
    }
    EXPECT_GE(pages, 3);

    const auto firstPage = pdfText(path, {u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs});
    ASSERT_TRUE(firstPage);
    EXPECT_TRUE(firstPage->contains(u"Ялмера - 407"_qs));
    EXPECT_TRUE(firstPage->contains(u"К17М-12345"_qs));
    EXPECT_TRUE(firstPage->contains(u"[Общие установки]"_qs));

    const auto all = pdfText(path);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->count(u"CTCSS_Rx"_qs), 3); // rows 1, 32 and 64: nothing repeated beyond them
    EXPECT_EQ(all->count(u"Tон_Tx"_qs), 3);
    EXPECT_EQ(all->count(u"Tx_Off"_qs), 3); // letters, not a ligature
    EXPECT_TRUE(all->contains(u"c1r62"_qs));
}

TEST(ProtocolPdf, MarginsAreMeasuredFromThePapersEdge)
{
    if (!test::hostToolExists(u"pdftotext"_qs))
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"p.pdf"_qs);
    ASSERT_TRUE(writeProtocolPdf(buildProtocolDocument(checkedPlan(1), u"К17М-12345"_qs), path).isEmpty());
    const auto html = runTool(
        u"pdftotext"_qs, {u"-bbox"_qs, u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs, test::hostPath(path), u"-"_qs});
    // A pdftotext that reads the PDF without -bbox is another one than poppler's (xpdf's).
    if (!html && pdfText(path))
        GTEST_SKIP() << "this pdftotext has no -bbox (poppler-utils has)";
    ASSERT_TRUE(html);
    const QString boxes = QString::fromUtf8(*html);
    // The first word is the title, starting just below the 75 pt top margin; the settings lines
    // start at the 25 pt left margin.
    const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"_qs);
    QList<QRegularExpressionMatch> words;
    for (auto it = word.globalMatch(boxes); it.hasNext();)
        words.append(it.next());
    ASSERT_FALSE(words.isEmpty());
    EXPECT_EQ(words.first().captured(3), u"Ялмера"_qs);
    EXPECT_GE(words.first().captured(2).toDouble(), 74.9);
    EXPECT_LT(words.first().captured(2).toDouble(), 82.0);
    bool sawSection = false;
    for (const auto& w : words) {
        if (w.captured(3) == u"[Общие"_qs) {
            sawSection = true;
            EXPECT_NEAR(w.captured(1).toDouble(), 25.0, 1.0);
        }
    }
    EXPECT_TRUE(sawSection);
}
