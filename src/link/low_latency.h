#pragma once

#include <QtGlobal>

namespace yalmera {

// Asks the serial driver of an open port to hand over each received byte at once. USB-serial
// adapters otherwise hold received bytes up to their latency timer (16 ms by default on a common
// chip), and with one reply awaited per byte that can double a write. Linux only
// (ASYNC_LOW_LATENCY); elsewhere, and on ports whose driver knows no such setting (a
// pseudo-terminal), it does nothing. Returns whether the driver took the request.
bool requestLowLatency(qintptr handle);

} // namespace yalmera
