#include "adapter_latency.h"

#include <QFile>

namespace yalmera::detail {

namespace {

constexpr D2xxFunctions::Status Ok = 0;

bool complete(const D2xxFunctions& d2xx)
{
    return d2xx.createDeviceInfoList && d2xx.open && d2xx.getComPortNumber && d2xx.getLatencyTimer &&
           d2xx.setLatencyTimer && d2xx.close;
}

// Runs work on the device whose COM port is comNumber, opened for it alone; none when there is
// no such device.
template <typename Work>
auto onDevice(const D2xxFunctions& d2xx, int comNumber, Work work) -> std::optional<decltype(work(nullptr))>
{
    unsigned long count = 0;
    if (comNumber <= 0 || !complete(d2xx) || d2xx.createDeviceInfoList(&count) != Ok)
        return std::nullopt;
    for (unsigned long i = 0; i < count && i < 256; ++i) {
        D2xxFunctions::Handle handle = nullptr;
        if (d2xx.open(static_cast<int>(i), &handle) != Ok)
            continue; // another program holds it
        long number = -1;
        const bool match = d2xx.getComPortNumber(handle, &number) == Ok && number == comNumber;
        std::optional<decltype(work(nullptr))> result;
        if (match)
            result = work(handle);
        d2xx.close(handle);
        if (match)
            return result;
    }
    return std::nullopt;
}

std::optional<int> readTimer(const D2xxFunctions& d2xx, D2xxFunctions::Handle handle)
{
    unsigned char ms = 0;
    if (d2xx.getLatencyTimer(handle, &ms) != Ok)
        return std::nullopt;
    return ms;
}

QString sysfsPath(const QString& root, const QString& name)
{
    return QStringLiteral("%1/bus/usb-serial/devices/%2/latency_timer").arg(root, name);
}

bool writeSysfs(const QString& path, int value)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(value) + '\n') > 0 &&
           file.flush();
}

} // namespace

std::optional<int> d2xxLatencyTimer(const D2xxFunctions& d2xx, int comNumber)
{
    return onDevice(d2xx, comNumber, [&](D2xxFunctions::Handle handle) { return readTimer(d2xx, handle); })
        .value_or(std::nullopt);
}

LatencyRestore d2xxLowerLatency(const D2xxFunctions& d2xx, int comNumber)
{
    const std::optional<int> before =
        onDevice(d2xx, comNumber, [&](D2xxFunctions::Handle handle) -> std::optional<int> {
            const std::optional<int> timer = readTimer(d2xx, handle);
            if (!timer || *timer <= LowestLatencyTimerMs)
                return std::nullopt;
            for (int ms = LowestLatencyTimerMs; ms < *timer && ms <= 2; ++ms) {
                if (d2xx.setLatencyTimer(handle, static_cast<unsigned char>(ms)) == Ok)
                    return timer;
            }
            return std::nullopt;
        }).value_or(std::nullopt);
    if (!before)
        return {};
    // The device is found again by its COM port: the list's order may change meanwhile.
    return [d2xx, comNumber, before = *before] {
        onDevice(d2xx, comNumber, [&](D2xxFunctions::Handle handle) {
            return d2xx.setLatencyTimer(handle, static_cast<unsigned char>(before));
        });
    };
}

std::optional<int> sysfsLatencyTimer(const QString& sysfsRoot, const QString& name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return std::nullopt;
    QFile file(sysfsPath(sysfsRoot, name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int ms = file.read(16).trimmed().toInt(&ok);
    return ok ? std::optional<int>(ms) : std::nullopt;
}

LatencyRestore sysfsLowerLatency(const QString& sysfsRoot, const QString& name)
{
    const std::optional<int> before = sysfsLatencyTimer(sysfsRoot, name);
    const QString path = sysfsPath(sysfsRoot, name);
    if (!before || *before <= LowestLatencyTimerMs || !writeSysfs(path, LowestLatencyTimerMs))
        return {};
    return [path, before = *before] { writeSysfs(path, before); };
}

} // namespace yalmera::detail
