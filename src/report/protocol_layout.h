#pragma once

#include "report/protocol_document.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QTextLayout;

namespace yalmera::report {

// The protocol laid out for one paint device: which paragraph lines and table rows stand on
// which page and where. Lengths are the device's pixels; x counts from the left margin, y from
// the top margin. The table spans the width between the margins; its rows have one exact
// height and show one line per cell, cut to the cell's width; paragraph lines are cut to the
// width between the margins, so laying out takes time in proportion to what can show. Each
// block of the table (a header row and the channel rows up to the next one) starts a page,
// except the first when it fits whole under the paragraphs; only a block taller than a page
// breaks, between rows.
class ProtocolLayout
{
public:
    enum class PieceKind { ParagraphLine, TableRow };

    struct Piece
    {
        PieceKind kind = PieceKind::ParagraphLine;
        int index = 0; // paragraph or table row
        int line = 0;  // line of the paragraph
        qreal y = 0;
        qreal height = 0;
    };

    // What a paragraph or a table cell shows once cut to its width, and the box its ink takes up:
    // x from the left margin, y from the top of the paragraph or the row.
    struct ShownText
    {
        QString text;
        QRectF bounds;
    };

    // contentSize: the area inside the margins, in the device's pixels.
    ProtocolLayout(const ProtocolDocument& document, QPaintDevice& device, QSizeF contentSize);
    ~ProtocolLayout();
    ProtocolLayout(const ProtocolLayout&) = delete;
    ProtocolLayout& operator=(const ProtocolLayout&) = delete;

    const QList<QList<Piece>>& pages() const { return m_pages; }
    // The left edges of the 18 columns, then the table's right edge.
    const std::array<qreal, ProtocolColumnCount + 1>& columnEdges() const { return m_columnEdges; }
    ShownText paragraphText(int paragraph) const;
    ShownText cellText(int row, int column) const;
    QSizeF contentSize() const { return m_contentSize; }
    // Points to the device's pixels, horizontally and vertically.
    qreal xScale() const { return m_xScale; }
    qreal yScale() const { return m_yScale; }

    // Paints one page with the painter's origin at the top-left corner of the margins.
    void paintPage(QPainter& painter, int page) const;

    // The typeface: the word processor's usual serif, else what the platform has.
    static QFont font(const TextStyle& style);

private:
    using TableRowLayout = std::array<std::unique_ptr<QTextLayout>, ProtocolColumnCount>;

    // The steps of laying out: the paragraphs' lines, the table's rows (each a piece in the
    // order they are printed), then the pieces onto pages.
    void layParagraphs(const ProtocolDocument& document, QPaintDevice& device, const QFont& base,
                       QList<Piece>& pieces);
    void layTableRows(const ProtocolDocument& document, QPaintDevice& device, const QFont& base,
                      QList<Piece>& pieces);
    void fillPages(const ProtocolDocument& document, const QList<Piece>& pieces);

    // Where a cell's text is drawn, relative to the top-left corner of its row.
    QPointF cellTextOrigin(const QTextLayout& cell, int column) const;
    void paintRow(QPainter& painter, const TableRowLayout& row, qreal y) const;

    QSizeF m_contentSize;
    qreal m_xScale = 1;
    qreal m_yScale = 1;
    qreal m_rowHeight = 0;
    std::array<qreal, ProtocolColumnCount + 1> m_columnEdges{};
    std::vector<std::unique_ptr<QTextLayout>> m_paragraphs;
    std::vector<TableRowLayout> m_rows;
    QList<QList<Piece>> m_pages;
};

} // namespace yalmera::report
