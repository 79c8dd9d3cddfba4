#pragma once

#include "report/protocol_document.h"
#include "session/fleet_exchange.h"

#include <QString>

namespace yalmera::report {

// "Протокол <serial>.docx" with every character a file name cannot hold (\ / : * ? " < > |,
// control characters, trailing dots and blanks) replaced by "_"; "Протокол.docx" for an empty
// serial. A very long serial is shortened so the name stays within file-system limits.
QString protocolFileName(const QString& serialNumber);

struct SavedProtocol
{
    QString path;      // the file written, when error is empty
    UserMessage error; // the platform's error text otherwise
};

// "Создать": saves the protocol as a .docx in folder (created when missing) under
// protocolFileName(document.serialNumber); an earlier protocol is never overwritten, the name
// gets " (2)", " (3)", ... instead.
SavedProtocol saveProtocolDocx(const ProtocolDocument& document, const QString& folder);

// The protocols of the stations a plan is written into, each saved in folder as saveProtocolDocx
// saves it: what a write gives the station runner (FleetRequest::saveProtocol). The plan is
// copied, so the program's own may change meanwhile.
SaveProtocol stationProtocols(const AppState& plan, const QString& folder);

} // namespace yalmera::report
