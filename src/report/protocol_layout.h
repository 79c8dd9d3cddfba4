#pragma once

#include "report/protocol_document.h"

#include <QFont>
#include <QList>
#include <QSizeF>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QTextLayout;

namespace yalmera::report {

// The protocol laid out for one paint device: which paragraph lines and table rows stand on
// which page and where. Lengths are the device's pixels; y counts from the top margin. A
// paragraph may break between its lines; a table row never breaks and goes to the next page
// whole (a row taller than a page stands alone on its page and runs past the bottom margin).
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

    // contentSize: the area inside the margins, in the device's pixels.
    ProtocolLayout(const ProtocolDocument& document, QPaintDevice& device, QSizeF contentSize);
    ~ProtocolLayout();
    ProtocolLayout(const ProtocolLayout&) = delete;
    ProtocolLayout& operator=(const ProtocolLayout&) = delete;

    const QList<QList<Piece>>& pages() const { return m_pages; }
    QSizeF contentSize() const { return m_contentSize; }
    // Points to the device's pixels, horizontally and vertically.
    qreal xScale() const { return m_xScale; }
    qreal yScale() const { return m_yScale; }

    // Paints one page with the painter's origin at the top-left corner of the margins.
    void paintPage(QPainter& painter, int page) const;

    // The typeface: the word processor's usual serif, else what the platform has.
    static QFont font(const TextStyle& style);

private:
    struct TableRowLayout
    {
        std::vector<std::unique_ptr<QTextLayout>> cells;
        qreal height = 0;
    };

    void paintRow(QPainter& painter, const TableRowLayout& row, qreal y) const;

    QSizeF m_contentSize;
    qreal m_xScale = 1;
    qreal m_yScale = 1;
    std::vector<std::unique_ptr<QTextLayout>> m_paragraphs;
    std::vector<TableRowLayout> m_rows;
    QList<QList<Piece>> m_pages;
};

} // namespace yalmera::report
