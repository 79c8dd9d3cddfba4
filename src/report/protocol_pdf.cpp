#include "protocol_pdf.h"

#include "files/whole_file.h"
#include "model/system_error.h"
#include "protocol_layout.h"
#include "report_texts.h"

#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace yalmera::report {

namespace {

// The PDF writer's resolution, dots per inch: fine enough that text positions round invisibly.
constexpr int PdfResolution = 1200;

void setUpWriter(QPdfWriter& writer, const ProtocolDocument& document)
{
    writer.setResolution(PdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(document.serialNumber.isEmpty()
                        ? texts::report::FileNameStem.toString()
                        : texts::report::FileNameStem.toString() + u' ' + document.serialNumber);
    writer.setCreator(QStringLiteral("Yalmera Programmer"));
}

} // namespace

bool paintProtocol(const ProtocolDocument& document, QPagedPaintDevice& device)
{
    const PageSetup& page = document.page;
    QPageLayout wanted = device.pageLayout();
    wanted.setUnits(QPageLayout::Point);
    wanted.setOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    wanted.setMargins(
        QMarginsF(page.leftMarginPt, page.topMarginPt, page.rightMarginPt, page.bottomMarginPt));
    device.setPageLayout(wanted);

    QPainter painter;
    if (!painter.begin(&device))
        return false;

    // The painter's origin is the corner of the margins the device accepted (a printer may
    // insist on wider ones): measure the document's margins from the paper's edge instead.
    const QPageLayout actual = device.pageLayout();
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    const QRect paper = actual.fullRectPixels(dpiX);
    const QRect accepted = actual.paintRectPixels(dpiX);
    const QPointF origin(page.leftMarginPt * dpiX / 72.0 - accepted.left(),
                         page.topMarginPt * dpiY / 72.0 - accepted.top());
    const QSizeF content(paper.width() - (page.leftMarginPt + page.rightMarginPt) * dpiX / 72.0,
                         paper.height() - (page.topMarginPt + page.bottomMarginPt) * dpiY / 72.0);

    const ProtocolLayout layout(document, device, content);
    for (int p = 0; p < layout.pages().size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        painter.save();
        painter.translate(origin);
        layout.paintPage(painter, p);
        painter.restore();
    }
    return painter.end();
}

UserMessage writeProtocolPdf(const ProtocolDocument& document, const QString& path)
{
    QSaveFile file(path);
    if (const QString error = openSaveFile(file); !error.isEmpty())
        return UserMessage::failure(error);
    bool painted = false;
    {
        QPdfWriter writer(&file);
        setUpWriter(writer, document);
        painted = paintProtocol(document, writer);
    }
    if (!painted) {
        const QString error = file.error() != QFileDevice::NoError ? systemErrorText(file.errorString())
                                                                   : texts::report::CannotPaintPdf.toString();
        file.cancelWriting();
        return UserMessage::failure(error);
    }
    if (const QString error = commitSaveFile(file); !error.isEmpty())
        return UserMessage::failure(error);
    return {};
}

} // namespace yalmera::report
