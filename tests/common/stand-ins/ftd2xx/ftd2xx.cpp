// A stand-in for FTDI's D2XX library (ftd2xx.dll) with the functions of its published API the
// program uses: a DLL beside the tests under Wine, linked into them elsewhere. Its FTDI devices
// are the COM ports YALMERA_D2XX_DEVICES names ("5,7:2": COM5, and COM7 taking no timer below
// 2 ms), each at 16 ms at first, keeping what it is set to while the process lives (as an adapter
// does until unplugged). The timers set are appended to the file YALMERA_D2XX_LOG names.

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#ifdef _WIN32
#define D2XX_EXPORT extern "C" __declspec(dllexport)
#define D2XX_CALL __stdcall
#else
#define D2XX_EXPORT extern "C"
#define D2XX_CALL
#endif

namespace {

struct Device
{
    long com;
    int lowest;
};

std::mutex lock;
std::map<long, int> timers; // by COM number

std::vector<Device> devices()
{
    std::vector<Device> found;
    const char* list = std::getenv("YALMERA_D2XX_DEVICES");
    for (char* at = const_cast<char*>(list); at && *at;) {
        Device device{std::strtol(at, &at, 10), 1};
        if (*at == ':')
            device.lowest = static_cast<int>(std::strtol(at + 1, &at, 10));
        found.push_back(device);
        at += *at == ',' ? 1 : 0;
    }
    return found;
}

// A handle is its device's index + 1.
const Device* deviceOf(void* handle)
{
    static thread_local std::vector<Device> list;
    list = devices();
    const auto index = reinterpret_cast<std::size_t>(handle);
    return index >= 1 && index <= list.size() ? &list[index - 1] : nullptr;
}

} // namespace

D2XX_EXPORT unsigned long D2XX_CALL FT_CreateDeviceInfoList(unsigned long* count)
{
    *count = static_cast<unsigned long>(devices().size());
    return 0;
}

D2XX_EXPORT unsigned long D2XX_CALL FT_Open(int index, void** handle)
{
    *handle = reinterpret_cast<void*>(static_cast<std::size_t>(index) + 1);
    return deviceOf(*handle) ? 0 : 2; // FT_DEVICE_NOT_FOUND
}

D2XX_EXPORT unsigned long D2XX_CALL FT_GetComPortNumber(void* handle, long* number)
{
    const Device* device = deviceOf(handle);
    *number = device ? device->com : -1;
    return device ? 0 : 1; // FT_INVALID_HANDLE
}

D2XX_EXPORT unsigned long D2XX_CALL FT_GetLatencyTimer(void* handle, unsigned char* ms)
{
    const Device* device = deviceOf(handle);
    const std::lock_guard<std::mutex> guard(lock);
    *ms = device ? static_cast<unsigned char>(timers.emplace(device->com, 16).first->second) : 0;
    return device ? 0 : 1;
}

D2XX_EXPORT unsigned long D2XX_CALL FT_SetLatencyTimer(void* handle, unsigned char ms)
{
    const Device* device = deviceOf(handle);
    if (!device || ms < device->lowest)
        return device ? 6 : 1; // FT_INVALID_PARAMETER
    const std::lock_guard<std::mutex> guard(lock);
    timers[device->com] = ms;
    if (const char* path = std::getenv("YALMERA_D2XX_LOG"); path && *path) {
        if (FILE* log = std::fopen(path, "ab")) { // "\n" as written, also on Windows
            std::fprintf(log, "FT_SetLatencyTimer(COM%ld, %d ms)\n", device->com, ms);
            std::fclose(log);
        }
    }
    return 0;
}

D2XX_EXPORT unsigned long D2XX_CALL FT_Close(void* handle)
{
    return deviceOf(handle) ? 0 : 1;
}
