#include "protocol_layout.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextLayout>

namespace yalmera::report {

namespace {

// Cell padding and border, in points; the .docx uses the same padding.
constexpr qreal CellPaddingXPt = 1.5;
constexpr qreal CellPaddingYPt = 0.5;
constexpr qreal BorderPt = 0.5;

// Line breaks inside a text break the line; other control characters, which no font draws,
// show as U+FFFD so the reader sees that something was there.
QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QChar(QChar::LineSeparator);
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate() || (c != u'\t' && c.category() == QChar::Other_Control)) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

QFont chooseBaseFont()
{
    // Times New Roman is what a word processor starts with; Liberation Serif has its metrics.
    // Without either, DejaVu Serif's condensed face keeps "145006,25" inside its 62 pt column.
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

std::unique_ptr<QTextLayout> layText(const QString& text, const QFont& font, Alignment alignment,
                                     QPaintDevice& device, qreal width)
{
    auto layout = std::make_unique<QTextLayout>(printable(text), font, &device);
    QTextOption option(alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft);
    // A word wider than its column breaks inside rather than running over the border.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
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

qreal textHeight(const QTextLayout& layout)
{
    qreal height = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        height += layout.lineAt(i).height();
    return height;
}

} // namespace

QFont ProtocolLayout::font(const TextStyle& style)
{
    return styledFont(chooseBaseFont(), style);
}

ProtocolLayout::ProtocolLayout(const ProtocolDocument& document, QPaintDevice& device, QSizeF contentSize)
    : m_contentSize(contentSize), m_xScale(device.logicalDpiX() / 72.0), m_yScale(device.logicalDpiY() / 72.0)
{
    const QFont base = chooseBaseFont();
    const auto& columns = protocolColumns();

    QList<Piece> pieces;
    for (int p = 0; p < document.paragraphs.size(); ++p) {
        const Paragraph& paragraph = document.paragraphs[p];
        m_paragraphs.push_back(layText(paragraph.text, styledFont(base, paragraph.style),
                                       paragraph.style.alignment, device, contentSize.width()));
        const QTextLayout& layout = *m_paragraphs.back();
        for (int l = 0; l < layout.lineCount(); ++l)
            pieces.append({PieceKind::ParagraphLine, p, l, 0, layout.lineAt(l).height()});
    }

    const qreal padX = CellPaddingXPt * m_xScale;
    const qreal padY = CellPaddingYPt * m_yScale;
    for (int r = 0; r < document.tableRows.size(); ++r) {
        const TableRow& row = document.tableRows[r];
        const QFont font = styledFont(base, row.style);
        TableRowLayout rowLayout;
        qreal tallest = 0;
        for (int c = 0; c < ProtocolColumnCount; ++c) {
            const qreal width = std::max<qreal>(1, columns[c].widthPt * m_xScale - 2 * padX);
            rowLayout.cells.push_back(layText(row.cells[c], font, row.style.alignment, device, width));
            tallest = std::max(tallest, textHeight(*rowLayout.cells.back()));
        }
        rowLayout.height = tallest + 2 * padY;
        pieces.append({PieceKind::TableRow, r, 0, 0, rowLayout.height});
        m_rows.push_back(std::move(rowLayout));
    }

    // Fill pages top to bottom; a piece that does not fit starts the next page, and a header
    // row goes along with the channel row under it rather than end a page alone. The small
    // tolerance keeps rounding from pushing a piece that fits exactly.
    const qreal pageHeight = contentSize.height() + 0.01;
    auto keptWithNext = [&](qsizetype i) {
        const Piece& piece = pieces[i];
        return piece.kind == PieceKind::TableRow && document.tableRows[piece.index].kind == RowKind::Header &&
               i + 1 < pieces.size();
    };
    qreal y = 0;
    m_pages.append(QList<Piece>());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        Piece piece = pieces[i];
        const qreal needed = piece.height + (keptWithNext(i) ? pieces[i + 1].height : 0);
        if (y > 0 && y + needed > pageHeight) {
            m_pages.append(QList<Piece>());
            y = 0;
        }
        piece.y = y;
        m_pages.last().append(piece);
        y += piece.height;
    }
}

ProtocolLayout::~ProtocolLayout() = default;

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
    const auto& columns = protocolColumns();
    const qreal padX = CellPaddingXPt * m_xScale;
    const qreal padY = CellPaddingYPt * m_yScale;
    qreal x = 0;
    for (int c = 0; c < ProtocolColumnCount; ++c) {
        const qreal width = columns[c].widthPt * m_xScale;
        painter.drawRect(QRectF(x, y, width, row.height));
        row.cells[c]->draw(&painter, QPointF(x + padX, y + padY));
        x += width;
    }
}

} // namespace yalmera::report
