#pragma once

#include "link/exchange_report.h"
#include "link/read_exchange.h"
#include "session/fleet_exchange.h"

#include <QString>

#include <memory>

namespace yalmera::cli {

// The station-link window's status text of a phase ("ЗП", "ПП", "AK", "- -").
QStringView statusText(ExchangePhase phase);

// The title of a step's progress line, in the user's language; none for Ended.
QString stepText(FleetStep step);

// The station-link window's gauge and status field, on stderr.
std::unique_ptr<ExchangeObserver> makeTerminalProgress(const QString& title);
// Ends the progress line, so what follows starts on a line of its own.
void endTerminalProgress(ExchangeObserver& progress);

// Says why an exchange on port failed, with the way out when the user may not use the port;
// exit code 1 for a refused stream, interruptedExit for an exchange stopped by a signal
// (InterruptStop::exitCode), 3 for a link failure.
int linkFailureExit(const QString& name, ExchangeOutcome outcome, const UserMessage& message,
                    const QString& port, int interruptedExit);

} // namespace yalmera::cli
