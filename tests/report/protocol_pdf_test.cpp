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
    const auto out = runTool(u"pdftotext"_qs, options + QStringList{path, u"-"_qs});
    return out ? std::optional<QString>(QString::fromUtf8(*out)) : std::nullopt;
}

} // namespace

TEST(ProtocolLayout, TableRowsNeverSplitAndEveryPieceIsPlacedOnceInOrder)
{
    AppState state = checkedPlan(99);
    // A row made tall by long texts still moves whole to the next page.
    state.table.setCell(RxFrequencyColumn, 40, QString(60, u'7'));
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
    state.table.setCell(RxFrequencyColumn, 1, QString(3000, u'8'));
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

TEST(ProtocolPdf, LandscapePagesWithExtractableCyrillicText)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty() ||
        QStandardPaths::findExecutable(u"pdfinfo"_qs).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"p.pdf"_qs);
    ASSERT_TRUE(writeProtocolPdf(buildProtocolDocument(checkedPlan(62), u"К17М-12345"_qs), path).isEmpty());

    const auto info = runTool(u"pdfinfo"_qs, {u"-f"_qs, u"1"_qs, u"-l"_qs, u"99"_qs, path});
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
    if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"p.pdf"_qs);
    ASSERT_TRUE(writeProtocolPdf(buildProtocolDocument(checkedPlan(1), u"К17М-12345"_qs), path).isEmpty());
    const auto html =
        runTool(u"pdftotext"_qs, {u"-bbox"_qs, u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs, path, u"-"_qs});
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
