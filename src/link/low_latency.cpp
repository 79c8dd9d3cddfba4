#include "low_latency.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace yalmera {

bool requestLowLatency(qintptr handle)
{
#ifdef Q_OS_LINUX
    // A failure is harmless and stays silent: the port works as before, only replies may come a
    // latency timer late. Drivers without the setting (pseudo-terminals, some adapters) refuse
    // TIOCGSERIAL or TIOCSSERIAL.
    const int fd = static_cast<int>(handle);
    serial_struct serial{};
    if (fd < 0 || ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return false;
    if (serial.flags & ASYNC_LOW_LATENCY)
        return true;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &serial) == 0;
#else
    // Windows: the adapter's latency timer is a setting of its driver (Device Manager), which
    // the user guide describes.
    Q_UNUSED(handle);
    return false;
#endif
}

} // namespace yalmera
