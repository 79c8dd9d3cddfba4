#include "protocol_layout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace yalmera::report {

namespace {

// Cell padding left and right and the border, in points; the .docx uses the same padding.
constexpr qreal CellPaddingXPt = 1.5;
constexpr qreal BorderPt = 0.5;

// Characters of one line measured at most: no line of a page shows more than a few hundred at
// these sizes, and measuring more would cost time in proportion to text that cannot show.
constexpr qsizetype MaxMeasuredChars = 1000;

const QChar Ellipsis(0x2026);

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// A tab shows as a blank (tab stops would measure differently when cutting and when drawing);
// other control characters, which no font draws, show as U+FFFD so the reader sees that
// something was there.
QString printable(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c == u'\t') {
            out += u' ';
        } else if (c.isSurrogate() || c.category() == QChar::Other_Control) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

// One line (no line breaks) as shown within width: printable, and whatever does not fit cut off
// and marked with "…".
QString fittedLine(QStringView line, const QFontMetricsF& metrics, qreal width)
{
    bool cut = false;
    if (line.size() > MaxMeasuredChars) {
        qsizetype keep = MaxMeasuredChars;
        if (line[keep - 1].isHighSurrogate())
            --keep;
        line = line.left(keep);
        cut = true;
    }
    const QString shown = printable(line);
    return metrics.elidedText(cut ? shown + Ellipsis : shown, Qt::ElideRight, width);
}

QFont chooseBaseFont()
{
    // Times New Roman is what a word processor starts with; Liberation Serif has its metrics.
    // Without either, DejaVu Serif's condensed face keeps "145006,25" inside its column.
    const QStringList families = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}) {
        if (families.contains(family))
            return QFont(family);
    }
    const QString dejaVu = QStringLiteral("DejaVu Serif");
    if (families.contains(dejaVu)) {
        QFont font(dejaVu);
        if (QFontDatabase::styles(dejaVu).contains(QStringLiteral("Condensed")))
            font.setStretch(QFont::Condensed);
        return font;
    }
    QFont font;
    font.setStyleHint(QFont::Serif);
    return font;
}

QFont styledFont(QFont font, const TextStyle& style)
{
    font.setPointSize(style.pointSize);
    font.setBold(style.bold);
    // No ligatures: "Tx_Off" must come out of the PDF as the six letters it is, not with "ﬀ".
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Lays out already fitted text without wrapping: one line per line break.
std::unique_ptr<QTextLayout> layLines(const QString& text, const QFont& font, Alignment alignment,
                                      QPaintDevice& device, qreal width)
{
    auto layout = std::make_unique<QTextLayout>(text, font, &device);
    QTextOption option(alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft);
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

// The union of the lines' ink boxes, in the layout's coordinates.
QRectF inkBounds(const QTextLayout& layout)
{
    QRectF bounds;
    for (int i = 0; i < layout.lineCount(); ++i)
        bounds |= layout.lineAt(i).naturalTextRect();
    return bounds;
}

} // namespace

QFont ProtocolLayout::font(const TextStyle& style)
{
    return styledFont(chooseBaseFont(), style);
}

ProtocolLayout::ProtocolLayout(const ProtocolDocument& document, QPaintDevice& device, QSizeF contentSize)
    : m_contentSize(contentSize), m_xScale(device.logicalDpiX() / 72.0),
      m_yScale(device.logicalDpiY() / 72.0), m_rowHeight(TableRowHeightPt * m_yScale)
{
    const QFont base = chooseBaseFont();
    QList<Piece> pieces;
    layParagraphs(document, device, base, pieces);
    layTableRows(document, device, base, pieces);
    fillPages(document, pieces);
}

void ProtocolLayout::layParagraphs(const ProtocolDocument& document, QPaintDevice& device, const QFont& base,
                                   QList<Piece>& pieces)
{
    for (int p = 0; p < document.paragraphs.size(); ++p) {
        const Paragraph& paragraph = document.paragraphs[p];
        const QFont font = styledFont(base, paragraph.style);
        const QFontMetricsF metrics(font, &device);
        QString shown;
        const QString& text = paragraph.text;
        for (qsizetype start = 0;;) {
            qsizetype end = start;
            while (end < text.size() && !isLineBreak(text[end]))
                ++end;
            shown += fittedLine(QStringView(text).mid(start, end - start), metrics, m_contentSize.width());
            if (end == text.size())
                break;
            shown += QChar(QChar::LineSeparator);
            start = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
        }
        m_paragraphs.push_back(
            layLines(shown, font, paragraph.style.alignment, device, m_contentSize.width()));
        const QTextLayout& layout = *m_paragraphs.back();
        for (int l = 0; l < layout.lineCount(); ++l)
            pieces.append({PieceKind::ParagraphLine, p, l, 0, layout.lineAt(l).height()});
    }
}

void ProtocolLayout::layTableRows(const ProtocolDocument& document, QPaintDevice& device, const QFont& base,
                                  QList<Piece>& pieces)
{
    const std::array<int, ProtocolColumnCount> widths =
        fittedColumnWidths(static_cast<int>(std::floor(m_contentSize.width())));
    for (int c = 0; c < ProtocolColumnCount; ++c)
        m_columnEdges[c + 1] = m_columnEdges[c] + widths[c];

    const qreal padX = CellPaddingXPt * m_xScale;
    for (int r = 0; r < document.tableRows.size(); ++r) {
        const TableRow& row = document.tableRows[r];
        const QFont font = styledFont(base, row.style);
        const QFontMetricsF metrics(font, &device);
        TableRowLayout rowLayout;
        for (int c = 0; c < ProtocolColumnCount; ++c) {
            // A row is one line high: a cell shows its text up to the first line break.
            const QString& text = row.cells[c];
            const qsizetype lineEnd = std::find_if(text.begin(), text.end(), isLineBreak) - text.begin();
            const qreal width = std::max<qreal>(1, widths[c] - 2 * padX);
            QString shown = fittedLine(QStringView(text).left(lineEnd), metrics, width);
            if (lineEnd < text.size() && !shown.endsWith(Ellipsis))
                shown = metrics.elidedText(shown + Ellipsis, Qt::ElideRight, width);
            rowLayout[c] = layLines(shown, font, row.style.alignment, device, width);
        }
        pieces.append({PieceKind::TableRow, r, 0, 0, m_rowHeight});
        m_rows.push_back(std::move(rowLayout));
    }
}

void ProtocolLayout::fillPages(const ProtocolDocument& document, const QList<Piece>& pieces)
{
    // The height of each block of the table, at its header row.
    const auto isHeader = [&](const Piece& piece) {
        return piece.kind == PieceKind::TableRow && document.tableRows[piece.index].kind == RowKind::Header;
    };
    std::vector<qreal> blockHeights(pieces.size(), 0);
    qreal below = 0;
    for (qsizetype i = pieces.size() - 1; i >= 0 && pieces[i].kind == PieceKind::TableRow; --i) {
        below += pieces[i].height;
        if (isHeader(pieces[i])) {
            blockHeights[i] = below;
            below = 0;
        }
    }

    // Fill pages top to bottom; a piece that does not fit starts the next page. The small
    // tolerance keeps rounding from pushing a piece that fits exactly.
    const qreal pageHeight = m_contentSize.height() + 0.01;
    bool firstBlock = true;
    qreal y = 0;
    m_pages.append(QList<Piece>());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        Piece piece = pieces[i];
        bool newPage = y + piece.height > pageHeight;
        if (isHeader(piece)) {
            newPage = !firstBlock || y + blockHeights[i] > pageHeight;
            firstBlock = false;
        }
        if (newPage && y > 0) {
            m_pages.append(QList<Piece>());
            y = 0;
        }
        piece.y = y;
        m_pages.last().append(piece);
        y += piece.height;
    }
}

ProtocolLayout::~ProtocolLayout() = default;

ProtocolLayout::ShownText ProtocolLayout::paragraphText(int paragraph) const
{
    const QTextLayout& layout = *m_paragraphs.at(paragraph);
    return {layout.text(), inkBounds(layout)};
}

ProtocolLayout::ShownText ProtocolLayout::cellText(int row, int column) const
{
    const QTextLayout& layout = *m_rows.at(row).at(column);
    return {layout.text(), inkBounds(layout).translated(cellTextOrigin(layout, column))};
}

QPointF ProtocolLayout::cellTextOrigin(const QTextLayout& cell, int column) const
{
    // The line stands in the middle of the row's exact height.
    const qreal lineHeight = cell.lineCount() > 0 ? cell.lineAt(0).height() : 0;
    return {m_columnEdges[column] + CellPaddingXPt * m_xScale, (m_rowHeight - lineHeight) / 2};
}

void ProtocolLayout::paintPage(QPainter& painter, int page) const
{
    if (page < 0 || page >= m_pages.size())
        return;
    painter.setPen(QPen(Qt::black, BorderPt * m_xScale));
    painter.setBrush(Qt::NoBrush);
    for (const Piece& piece : m_pages[page]) {
        if (piece.kind == PieceKind::ParagraphLine) {
            const QTextLine line = m_paragraphs[piece.index]->lineAt(piece.line);
            line.draw(&painter, QPointF(0, piece.y - line.y()));
        } else {
            paintRow(painter, m_rows[piece.index], piece.y);
        }
    }
}

void ProtocolLayout::paintRow(QPainter& painter, const TableRowLayout& row, qreal y) const
{
    for (int c = 0; c < ProtocolColumnCount; ++c) {
        const qreal left = m_columnEdges[c];
        painter.drawRect(QRectF(left, y, m_columnEdges[c + 1] - left, m_rowHeight));
        row[c]->draw(&painter, cellTextOrigin(*row[c], c) + QPointF(0, y));
    }
}

} // namespace yalmera::report
