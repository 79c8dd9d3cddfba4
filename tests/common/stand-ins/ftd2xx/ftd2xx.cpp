// A stand-in for FTDI's D2XX library (ftd2xx.dll) with the functions of its published API that the
// program uses, for the tests under Wine. Its FTDI devices are COM ports named in
// YALMERA_D2XX_DEVICES ("5,7": COM5 and COM7), each with a latency timer of 16 ms at first that
// takes 1..255 ms and keeps what it is set to while the process lives, as an adapter keeps it until
// it is unplugged. Every call is appended to the file YALMERA_D2XX_LOG names.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

using FtStatus = ULONG;
using FtHandle = PVOID;
constexpr FtStatus Ok = 0;
constexpr FtStatus InvalidHandle = 1;
constexpr FtStatus DeviceNotFound = 2;
constexpr FtStatus InvalidParameter = 6;

std::mutex lock;
std::map<long, int> timers; // by COM number

std::string environment(const char* name)
{
    char value[1024] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::vector<long> devices()
{
    std::vector<long> ports;
    const std::string list = environment("YALMERA_D2XX_DEVICES");
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t end = list.find(',', at);
        ports.push_back(std::atol(list.substr(at, end - at).c_str()));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return ports;
}

void log(const std::string& line)
{
    const std::string path = environment("YALMERA_D2XX_LOG");
    if (path.empty())
        return;
    if (FILE* file = std::fopen(path.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

// A handle is the device's COM number; 0 is none.
long comOf(FtHandle handle)
{
    return static_cast<long>(reinterpret_cast<INT_PTR>(handle));
}

std::string com(long number)
{
    return "COM" + std::to_string(number);
}

} // namespace

extern "C" {

__declspec(dllexport) FtStatus WINAPI FT_CreateDeviceInfoList(LPDWORD count)
{
    const std::lock_guard<std::mutex> guard(lock);
    *count = static_cast<DWORD>(devices().size());
    log("FT_CreateDeviceInfoList: " + std::to_string(*count));
    return Ok;
}

__declspec(dllexport) FtStatus WINAPI FT_Open(int index, FtHandle* handle)
{
    const std::lock_guard<std::mutex> guard(lock);
    const std::vector<long> ports = devices();
    if (index < 0 || index >= static_cast<int>(ports.size()))
        return DeviceNotFound;
    *handle = reinterpret_cast<FtHandle>(static_cast<INT_PTR>(ports[static_cast<std::size_t>(index)]));
    timers.emplace(ports[static_cast<std::size_t>(index)], 16);
    log("FT_Open(" + std::to_string(index) + "): " + com(ports[static_cast<std::size_t>(index)]));
    return Ok;
}

__declspec(dllexport) FtStatus WINAPI FT_GetComPortNumber(FtHandle handle, LPLONG number)
{
    if (comOf(handle) <= 0)
        return InvalidHandle;
    *number = comOf(handle);
    return Ok;
}

__declspec(dllexport) FtStatus WINAPI FT_GetLatencyTimer(FtHandle handle, PUCHAR ms)
{
    const std::lock_guard<std::mutex> guard(lock);
    if (comOf(handle) <= 0)
        return InvalidHandle;
    *ms = static_cast<UCHAR>(timers[comOf(handle)]);
    log("FT_GetLatencyTimer(" + com(comOf(handle)) + "): " + std::to_string(*ms) + " ms");
    return Ok;
}

__declspec(dllexport) FtStatus WINAPI FT_SetLatencyTimer(FtHandle handle, UCHAR ms)
{
    const std::lock_guard<std::mutex> guard(lock);
    if (comOf(handle) <= 0)
        return InvalidHandle;
    if (ms < 1)
        return InvalidParameter;
    timers[comOf(handle)] = ms;
    log("FT_SetLatencyTimer(" + com(comOf(handle)) + ", " + std::to_string(ms) + " ms)");
    return Ok;
}

__declspec(dllexport) FtStatus WINAPI FT_Close(FtHandle handle)
{
    const std::lock_guard<std::mutex> guard(lock);
    if (comOf(handle) <= 0)
        return InvalidHandle;
    log("FT_Close(" + com(comOf(handle)) + ")");
    return Ok;
}

} // extern "C"
