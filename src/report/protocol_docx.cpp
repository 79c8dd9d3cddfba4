#include "protocol_docx.h"

#include "files/whole_file.h"
#include "report_texts.h"

#include <zip.h>

#include <utility>

namespace yalmera::report {

namespace {

// WordprocessingML measures page and table geometry in twentieths of a point (twips) and font
// sizes in half-points.
constexpr int twips(int points)
{
    return points * 20;
}
constexpr int halfPoints(int points)
{
    return points * 2;
}

// A4, in twips, portrait edges.
constexpr int A4ShortEdgeTwips = 11906;
constexpr int A4LongEdgeTwips = 16838;
// Distance of an (absent) page header and footer from the paper's edge; inside the margins.
constexpr int HeaderFooterTwips = 720;
// Cell padding left and right: narrow, so that "145006,25" fits its column at 12 pt.
constexpr int CellPaddingTwips = 30;
// Cell borders: single lines of 1/2 pt (eighths of a point).
constexpr int BorderEighths = 4;

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Text content for an element or attribute: markup characters escaped, characters XML 1.0
// cannot carry (most control characters, broken surrogates) shown as U+FFFD.
QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text.mid(i, 2);
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || !isXmlChar(c)) {
            out += QChar(QChar::ReplacementCharacter);
            continue;
        }
        switch (c) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += QChar(c);
        }
    }
    return out;
}

QString runProperties(const TextStyle& style)
{
    QString xml = QStringLiteral("<w:rPr>");
    if (style.bold)
        xml += QStringLiteral("<w:b/><w:bCs/>");
    xml +=
        QStringLiteral("<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/></w:rPr>").arg(halfPoints(style.pointSize));
    return xml;
}

// The runs of a text: tabs and line breaks become their own elements, the rest literal text
// with its blanks kept.
QString runs(const QString& text, const TextStyle& style)
{
    QString xml;
    const QString properties = runProperties(style);
    QString pending;
    auto flushText = [&] {
        if (!pending.isEmpty())
            xml += QStringLiteral("<w:r>%1<w:t xml:space=\"preserve\">%2</w:t></w:r>")
                       .arg(properties, escaped(pending));
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\t' || c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            flushText();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            xml += QStringLiteral("<w:r>%1%2</w:r>")
                       .arg(properties, c == u'\t' ? QStringLiteral("<w:tab/>") : QStringLiteral("<w:br/>"));
        } else {
            pending += c;
        }
    }
    flushText();
    return xml;
}

enum class Keep { Free, WithNext };

// The paragraph mark carries the run properties too, so an empty paragraph keeps its size.
QString paragraph(const QString& text, const TextStyle& style, Keep keep = Keep::Free)
{
    const QString jc =
        style.alignment == Alignment::Center ? QStringLiteral("center") : QStringLiteral("left");
    return QStringLiteral("<w:p><w:pPr>%1<w:jc w:val=\"%2\"/>%3</w:pPr>%4</w:p>")
        .arg(keep == Keep::WithNext ? QStringLiteral("<w:keepNext/>") : QString(), jc, runProperties(style),
             runs(text, style));
}

// The width between the margins, in twips: the table spans it exactly.
int contentWidthTwips(const PageSetup& page)
{
    return (page.landscape ? A4LongEdgeTwips : A4ShortEdgeTwips) - twips(page.leftMarginPt) -
           twips(page.rightMarginPt);
}

QString table(const QList<TableRow>& rows, const PageSetup& page)
{
    const int tableWidth = contentWidthTwips(page);
    const std::array<int, ProtocolColumnCount> widths = fittedColumnWidths(tableWidth);

    QString border;
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
        border += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"%2\" w:space=\"0\" w:color=\"000000\"/>")
                      .arg(QLatin1String(side))
                      .arg(BorderEighths);

    // Element order inside tblPr, trPr and tcPr is fixed by the schema; Word refuses others.
    QString xml =
        QStringLiteral(
            "<w:tbl><w:tblPr><w:tblW w:w=\"%1\" w:type=\"dxa\"/><w:tblInd w:w=\"0\" w:type=\"dxa\"/>"
            "<w:tblBorders>%2</w:tblBorders><w:tblLayout w:type=\"fixed\"/>"
            "<w:tblCellMar><w:left w:w=\"%3\" w:type=\"dxa\"/><w:right w:w=\"%3\" w:type=\"dxa\"/>"
            "</w:tblCellMar><w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>")
            .arg(tableWidth)
            .arg(border)
            .arg(CellPaddingTwips);
    for (const int width : widths)
        xml += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(width);
    xml += QStringLiteral("</w:tblGrid>");

    for (const TableRow& row : rows) {
        // Rows never break across pages and have the exact height the PDF gives them. The repeated
        // header rows are part of the document itself, so no row is marked for Word's own header
        // repetition, which would print them twice.
        xml += QStringLiteral(
                   "<w:tr><w:trPr><w:cantSplit/><w:trHeight w:val=\"%1\" w:hRule=\"exact\"/></w:trPr>")
                   .arg(twips(TableRowHeightPt));
        // A header row stays on the page of the channel row under it.
        const Keep keep = row.kind == RowKind::Header ? Keep::WithNext : Keep::Free;
        for (int i = 0; i < ProtocolColumnCount; ++i) {
            xml +=
                QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/><w:vAlign w:val=\"center\"/>"
                               "</w:tcPr>")
                    .arg(widths[i]);
            xml += paragraph(row.cells[i], row.style, keep);
            xml += QStringLiteral("</w:tc>");
        }
        xml += QStringLiteral("</w:tr>");
    }
    xml += QStringLiteral("</w:tbl>");
    return xml;
}

QString sectionProperties(const PageSetup& page)
{
    const int width = page.landscape ? A4LongEdgeTwips : A4ShortEdgeTwips;
    const int height = page.landscape ? A4ShortEdgeTwips : A4LongEdgeTwips;
    QString xml = QStringLiteral("<w:sectPr><w:pgSz w:w=\"%1\" w:h=\"%2\"").arg(width).arg(height);
    if (page.landscape)
        xml += QStringLiteral(" w:orient=\"landscape\"");
    xml +=
        QStringLiteral("/><w:pgMar w:top=\"%1\" w:right=\"%2\" w:bottom=\"%3\" w:left=\"%4\" w:header=\"%5\" "
                       "w:footer=\"%5\" w:gutter=\"0\"/><w:cols w:space=\"720\"/></w:sectPr>")
            .arg(twips(page.topMarginPt))
            .arg(twips(page.rightMarginPt))
            .arg(twips(page.bottomMarginPt))
            .arg(twips(page.leftMarginPt))
            .arg(HeaderFooterTwips);
    return xml;
}

const char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char WordNamespace[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

QByteArray documentXml(const ProtocolDocument& document)
{
    QString body;
    for (const Paragraph& p : document.paragraphs)
        body += paragraph(p.text, p.style);
    body += table(document.tableRows, document.page);
    // A document always ends in a paragraph; after the table it is kept tiny (1 pt) so it never
    // pushes a blank page of its own.
    body += paragraph(QString(), TextStyle{Alignment::Left, false, 1});
    body += sectionProperties(document.page);

    return QByteArray(XmlDeclaration) + "<w:document xmlns:w=\"" + WordNamespace + "\"><w:body>" +
           body.toUtf8() + "</w:body></w:document>";
}

QByteArray stylesXml()
{
    // Defaults: 12 pt, single line spacing with no space after paragraphs, Russian proofing.
    return QByteArray(XmlDeclaration) + "<w:styles xmlns:w=\"" + WordNamespace +
           "\"><w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>"
           "<w:lang w:val=\"ru-RU\" w:eastAsia=\"en-US\" w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault>"
           "<w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
           "</w:pPrDefault></w:docDefaults>"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
           "<w:qFormat/></w:style></w:styles>";
}

// Without a compatibility mode of its own Word opens a document in "Compatibility Mode" of an
// old version; 15 is the mode of Word 2013 and later.
QByteArray settingsXml()
{
    return QByteArray(XmlDeclaration) + "<w:settings xmlns:w=\"" + WordNamespace +
           "\"><w:compat><w:compatSetting w:name=\"compatibilityMode\" "
           "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat></w:settings>";
}

QByteArray contentTypesXml()
{
    return QByteArray(XmlDeclaration) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/word/document.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/"
           ">"
           "<Override PartName=\"/word/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
           "<Override PartName=\"/word/settings.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/>"
           "</Types>";
}

QByteArray packageRelsXml()
{
    return QByteArray(XmlDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
           "Target=\"word/document.xml\"/></Relationships>";
}

QByteArray documentRelsXml()
{
    return QByteArray(XmlDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
           "Target=\"styles.xml\"/><Relationship Id=\"rId2\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings\" "
           "Target=\"settings.xml\"/></Relationships>";
}

// Zips the entries in memory. libzip reads the entries' bytes only in zip_close, so they must
// stay alive until then; the caller's list guarantees that.
std::optional<QByteArray> zipped(const QList<std::pair<const char*, QByteArray>>& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!target) {
        zip_error_fini(&error);
        return std::nullopt;
    }
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(target);
        return std::nullopt;
    }
    zip_source_keep(target); // still needed after zip_close to read the archive back

    bool ok = true;
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!source) {
            ok = false;
            break;
        }
        if (zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            ok = false;
            break;
        }
    }
    // A failed zip_close leaves the archive open: it is discarded like an unfinished one.
    if (!ok || zip_close(archive) < 0) {
        zip_discard(archive);
        zip_source_free(target);
        return std::nullopt;
    }

    std::optional<QByteArray> result;
    if (zip_source_open(target) == 0) {
        if (zip_source_seek(target, 0, SEEK_END) == 0) {
            const zip_int64_t size = zip_source_tell(target);
            if (size >= 0 && zip_source_seek(target, 0, SEEK_SET) == 0) {
                QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
                if (zip_source_read(target, bytes.data(), static_cast<zip_uint64_t>(size)) == size)
                    result = std::move(bytes);
            }
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    return result;
}

} // namespace

std::optional<QByteArray> protocolDocxBytes(const ProtocolDocument& document)
{
    const QList<std::pair<const char*, QByteArray>> entries{
        {"[Content_Types].xml", contentTypesXml()},
        {"_rels/.rels", packageRelsXml()},
        {"word/document.xml", documentXml(document)},
        {"word/_rels/document.xml.rels", documentRelsXml()},
        {"word/styles.xml", stylesXml()},
        {"word/settings.xml", settingsXml()},
    };
    return zipped(entries);
}

UserMessage writeProtocolDocx(const ProtocolDocument& document, const QString& path)
{
    const std::optional<QByteArray> bytes = protocolDocxBytes(document);
    if (!bytes)
        return UserMessage::failure(texts::report::CannotAssembleDocx.toString());
    if (const QString error = saveWholeFile(path, *bytes); !error.isEmpty())
        return UserMessage::failure(error);
    return {};
}

} // namespace yalmera::report
