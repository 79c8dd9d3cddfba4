#pragma once

// An adapter's latency timer, lowered for the length of an exchange and put back after it: FTDI's
// D2XX library on Windows (loaded at run time where FTDI's driver installed it), the sysfs
// latency_timer on Linux. Every failure is silent: the exchange then runs as it would anyway.

#include <QString>

#include <functional>
#include <optional>

namespace yalmera::detail {

#ifdef _WIN32
#define YALMERA_D2XX_CALL __stdcall
#else
#define YALMERA_D2XX_CALL
#endif

// The functions of FTDI's D2XX library the program uses, with their published signatures
// (FT_STATUS, FT_HANDLE, DWORD, LONG, UCHAR as Windows defines them; 0 is FT_OK).
struct D2xxFunctions
{
    using Status = unsigned long;
    using Handle = void*;
    Status(YALMERA_D2XX_CALL* createDeviceInfoList)(unsigned long* count) = nullptr;
    Status(YALMERA_D2XX_CALL* open)(int index, Handle* handle) = nullptr;
    // -1 for a device without a COM port.
    Status(YALMERA_D2XX_CALL* getComPortNumber)(Handle handle, long* number) = nullptr;
    Status(YALMERA_D2XX_CALL* getLatencyTimer)(Handle handle, unsigned char* ms) = nullptr;
    Status(YALMERA_D2XX_CALL* setLatencyTimer)(Handle handle, unsigned char ms) = nullptr;
    Status(YALMERA_D2XX_CALL* close)(Handle handle) = nullptr;
};

// Puts an adapter's latency timer back; empty when nothing was changed.
using LatencyRestore = std::function<void()>;

// The latency timer of the D2XX device on COM port comNumber; none when no device is there or
// D2XX fails.
std::optional<int> d2xxLatencyTimer(const D2xxFunctions& d2xx, int comNumber);
// Sets the latency timer of the D2XX device on COM port comNumber to 1 ms, or to 2 ms where the
// device refuses 1 (D2XX documents 2..255). Call it while the COM port is closed: D2XX opens the
// device itself.
LatencyRestore d2xxLowerLatency(const D2xxFunctions& d2xx, int comNumber);

// The same through sysfs (Linux): <sysfsRoot>/bus/usb-serial/devices/<name>/latency_timer of the
// USB-serial port named name ("ttyUSB0").
std::optional<int> sysfsLatencyTimer(const QString& sysfsRoot, const QString& name);
LatencyRestore sysfsLowerLatency(const QString& sysfsRoot, const QString& name);

// The lowest latency timer these drivers take.
inline constexpr int LowestLatencyTimerMs = 1;

} // namespace yalmera::detail
