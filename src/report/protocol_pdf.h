#pragma once

#include "report/protocol_document.h"

#include <QString>

class QPagedPaintDevice;

namespace yalmera::report {

// Paints the whole protocol on device page by page: landscape on the device's paper, the
// document's margins measured from the paper's edge whatever margins the device accepts, table
// rows never split across pages. Usable for a PDF writer and for a printer (print preview).
// False when painting could not begin on the device.
bool paintProtocol(const ProtocolDocument& document, QPagedPaintDevice& device);

// Writes the protocol as a PDF on A4 with its fonts embedded, through a temporary file renamed
// into place. Empty on success, otherwise the platform's error text. Both functions lay text out
// with the platform's fonts and so need a QGuiApplication.
UserMessage writeProtocolPdf(const ProtocolDocument& document, const QString& path);

} // namespace yalmera::report
