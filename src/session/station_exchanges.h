#pragma once

#include "link/read_exchange.h"
#include "link/write_exchange.h"

#include <QString>

namespace yalmera {

class AppState;

// What an exchange with a station takes from the program's state, copied when it starts.
// The write: the image of the last check with the current module type and band code.
WriteRequest writeRequest(const AppState& state, const QString& port);
// The read: the selected band, whose constants decode a station whose code names none.
ReadRequest readRequest(const AppState& state, const QString& port);

} // namespace yalmera
