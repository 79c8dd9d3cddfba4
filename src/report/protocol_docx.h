#pragma once

#include "report/protocol_document.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace yalmera::report {

// The protocol as a word-processing document (Office Open XML, .docx): A4 landscape with the
// document's margins, a fixed-layout table spanning the width between them whose rows have the
// exact height of the PDF's and never break across pages. Nothing when the archive could not be
// made (out of memory).
std::optional<QByteArray> protocolDocxBytes(const ProtocolDocument& document);

// Writes the .docx to path through a temporary file renamed into place. Empty on success,
// otherwise the platform's error text.
UserMessage writeProtocolDocx(const ProtocolDocument& document, const QString& path);

} // namespace yalmera::report
