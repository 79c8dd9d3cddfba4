#include "serial_port.h"

#include "link/adapter_latency.h"
#include "link/serial_link.h"
#include "model/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <QStringView>

#include "model/windows_api.h"

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <type_traits>
#include <utility>

namespace yalmera {

namespace {

// The number of "COM3", "com12": a port the system numbers, whose device is \\.\COMn (the only
// spelling that reaches COM10 and above); 0 for any other name. No QRegularExpression here: it
// keeps a thread-local JIT stack on the exchange's worker thread, and with MinGW's winpthreads
// that stack's clean-up left the program hanging at its exit (seen under Wine).
int comNumber(QStringView name)
{
    if (name.size() < 4 || !name.startsWith(u"COM", Qt::CaseInsensitive) || name[3] == u'0')
        return 0;
    int number = 0;
    for (const QChar c : name.mid(3)) {
        if (c < u'0' || c > u'9' || number > 9999)
            return 0;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

QString registryText(HKEY key, const wchar_t* valueName)
{
    wchar_t buffer[256] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - sizeof(wchar_t); // room for a terminator the value may lack
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(buffer).trimmed();
}

// A device property as text; empty when the device has none.
QString deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property)
{
    wchar_t text[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                           sizeof text - 2 * sizeof(wchar_t), nullptr))
        return {};
    return QString::fromWCharArray(text).trimmed(); // the first string of a multi-string
}

// The four hexadecimal digits after "VID_" or "PID_" in a hardware id
// ("USB\VID_0403&PID_6001&REV_0600", "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000").
QString usbId(const QString& hardwareId, QStringView tag)
{
    const qsizetype at = hardwareId.indexOf(tag, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : hardwareId.mid(at + tag.size(), 4).toUpper();
}

// What Device Manager says of each present port ("USB-SERIAL CH340 (COM3)", its maker, its USB
// ids and serial number), by port name.
QHash<QString, PortChoice> portDevices()
{
    QHash<QString, PortChoice> ports;
    const HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return ports;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const QString name = registryText(key, L"PortName").toUpper();
        RegCloseKey(key);
        if (name.isEmpty())
            continue;
        PortChoice port;
        port.name = name;
        port.description = deviceProperty(devices, &device, SPDRP_FRIENDLYNAME);
        if (port.description.isEmpty())
            port.description = deviceProperty(devices, &device, SPDRP_DEVICEDESC);
        port.manufacturer = deviceProperty(devices, &device, SPDRP_MFG);
        const QString hardwareId = deviceProperty(devices, &device, SPDRP_HARDWAREID);
        port.vendorId = usbId(hardwareId, u"VID_");
        port.productId = usbId(hardwareId, u"PID_");
        wchar_t instance[512] = {};
        if (SetupDiGetDeviceInstanceIdW(devices, &device, instance,
                                        static_cast<DWORD>(std::size(instance)) - 1, nullptr)) {
            // "USB\VID_0403&PID_6001\A50285BI": the last part is the adapter's serial number
            // when the adapter has one (otherwise Windows makes one up, with '&' in it).
            const QStringList parts = QString::fromWCharArray(instance).split(u'\\');
            if (parts.size() == 3 && parts[0].compare(u"USB", Qt::CaseInsensitive) == 0 &&
                !parts[2].contains(u'&'))
                port.serialNumber = parts[2];
        }
        ports.insert(name, port);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return ports;
}

// FTDI's D2XX library where FTDI's driver installed it: loaded once, at the first need, from the
// program's folder or the system's (never the current folder), and kept. None without it.
const detail::D2xxFunctions* d2xxLibrary()
{
    static const std::optional<detail::D2xxFunctions> library = []() -> std::optional<detail::D2xxFunctions> {
        const HMODULE module = LoadLibraryExW(L"ftd2xx.dll", nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
        if (!module)
            return std::nullopt;
        const auto find = [module](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void*>(GetProcAddress(module, name)));
        };
        detail::D2xxFunctions d2xx;
        find(d2xx.createDeviceInfoList, "FT_CreateDeviceInfoList");
        find(d2xx.open, "FT_Open");
        find(d2xx.getComPortNumber, "FT_GetComPortNumber");
        find(d2xx.getLatencyTimer, "FT_GetLatencyTimer");
        find(d2xx.setLatencyTimer, "FT_SetLatencyTimer");
        find(d2xx.close, "FT_Close");
        return d2xx; // a missing function makes every use of it do nothing
    }();
    return library ? &*library : nullptr;
}

// The COM number of "\\.\COM5"; 0 for any other device.
int deviceComNumber(const QString& device)
{
    return comNumber(device.startsWith(u"\\\\.\\") ? QStringView(device).mid(4) : QStringView(device));
}

} // namespace

std::optional<int> adapterLatencyTimer(const PortChoice& port)
{
    const detail::D2xxFunctions* d2xx = d2xxLibrary();
    if (!d2xx)
        return std::nullopt;
    return detail::d2xxLatencyTimer(*d2xx, comNumber(port.name));
}

QString portDeviceName(const QString& choice)
{
    const QString name = choice.trimmed();
    if (const int number = comNumber(name); number > 0)
        return QStringLiteral("\\\\.\\COM%1").arg(number);
    return name;
}

QString portAccessHint(const QString&)
{
    return {}; // Windows has no group that serial ports belong to
}

QList<PortChoice> serialPorts()
{
    // Every port the drivers announce: value name the device ("\Device\Serial0"), data the port
    // name ("COM1").
    QList<PortChoice> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    const QHash<QString, PortChoice> devices = portDevices();
    for (DWORD i = 0;; ++i) {
        wchar_t device[256] = {};
        DWORD deviceLength = static_cast<DWORD>(std::size(device));
        wchar_t port[64] = {};
        DWORD portSize = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, i, device, &deviceLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(port), &portSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString name = QString::fromWCharArray(port).trimmed().toUpper();
        if (name.isEmpty())
            continue;
        PortChoice choice = devices.value(name);
        choice.name = name;
        if (choice.description.isEmpty())
            choice.description = QString::fromWCharArray(device);
        choice.location = portDeviceName(name);
        ports.append(choice);
    }
    RegCloseKey(key);
    // COM3 before COM10.
    std::sort(ports.begin(), ports.end(), [](const PortChoice& a, const PortChoice& b) {
        const int na = comNumber(a.name);
        const int nb = comNumber(b.name);
        return na != nb ? na < nb : a.name < b.name;
    });
    return ports;
}

namespace detail {

namespace {

QString systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message = length ? QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed()
                                   : QStringLiteral("Windows error %1").arg(error);
    LocalFree(text);
    return systemErrorText(failureOfErrorCode(static_cast<int>(error)), message);
}

// How long a one-byte write may wait for the driver: at a station's line speed without handshake
// it takes a few milliseconds, so this only ends a line that no longer moves.
constexpr DWORD WriteTimeoutMs = 2000;
// The read limit set when the port opens, which shows that it is a serial port; each wait sets
// its own.
constexpr DWORD OpeningReadLimitMs = 200;

} // namespace

struct SerialPort::Private
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD readTimeoutMs = MAXDWORD; // the read part of the timeouts in force; MAXDWORD: none set
    QString lastError;
    LatencyRestore restoreLatency; // after the port closes

    void noteFailure(DWORD error) { lastError = systemMessage(error); }

    // Bytes the driver has received and not yet handed over.
    DWORD bytesWaiting() const
    {
        DWORD errors = 0;
        COMSTAT status{};
        return ClearCommError(handle, &errors, &status) ? status.cbInQue : 0;
    }

    // ReadFile returns at once with what has arrived when something has; otherwise with the first
    // byte, or with nothing after timeoutMs.
    bool setReadTimeout(DWORD timeoutMs)
    {
        if (timeoutMs == readTimeoutMs)
            return true;
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = timeoutMs;
        timeouts.WriteTotalTimeoutConstant = WriteTimeoutMs;
        if (!SetCommTimeouts(handle, &timeouts)) {
            noteFailure(GetLastError());
            return false;
        }
        readTimeoutMs = timeoutMs;
        return true;
    }
};

SerialPort::SerialPort() : d(std::make_unique<Private>()) {}

SerialPort::~SerialPort()
{
    close();
}

PortOpenResult SerialPort::open(const QString& device, qint32 baud)
{
    close();
    d->lastError.clear();
    // An FTDI adapter holds each reply up to its latency timer: lowered through D2XX while the
    // COM port is still closed (D2XX opens the device itself), put back once it is closed again.
    if (const detail::D2xxFunctions* d2xx = d2xxLibrary())
        d->restoreLatency = d2xxLowerLatency(*d2xx, deviceComNumber(device));
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(device.utf16()),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        close(); // puts the latency timer back
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return {OpenFailure::NotFound, {}};
        case ERROR_ACCESS_DENIED: // a port another program has open
        case ERROR_SHARING_VIOLATION:
            return {OpenFailure::InUse, {}};
        default:
            return {OpenFailure::Other, systemMessage(error)};
        }
    }
    d->handle = handle;
    d->readTimeoutMs = MAXDWORD;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    bool ok = GetCommState(handle, &dcb);
    if (ok) {
        dcb.BaudRate = static_cast<DWORD>(baud);
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE; // raised while open
        dcb.fRtsControl = RTS_CONTROL_ENABLE; // raised; EscapeCommFunction may drop it
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        // A framing error must not stop every later read until it is cleared.
        dcb.fAbortOnError = FALSE;
        ok = SetCommState(handle, &dcb);
    }
    // The receive queue holds the longest stream a station sends; one byte goes out at a time.
    ok = ok && SetupComm(handle, 8192, 100) && d->setReadTimeout(OpeningReadLimitMs);
    if (!ok) {
        // Something that opens but is no serial port (a file, a printer).
        const QString text = d->lastError.isEmpty() ? systemMessage(GetLastError()) : d->lastError;
        close();
        return {OpenFailure::Other, text, true};
    }
    DWORD errors = 0;
    ClearCommError(handle, &errors, nullptr);
    return {};
}

void SerialPort::close()
{
    if (d->handle != INVALID_HANDLE_VALUE)
        CloseHandle(d->handle);
    d->handle = INVALID_HANDLE_VALUE;
    if (const LatencyRestore restore = std::exchange(d->restoreLatency, {}))
        restore();
}

bool SerialPort::isOpen() const
{
    return d->handle != INVALID_HANDLE_VALUE;
}

void SerialPort::setRts(bool on)
{
    // A pseudo-terminal behind Wine's COM port refuses it (no modem lines): the line works all the
    // same.
    EscapeCommFunction(d->handle, on ? SETRTS : CLRRTS);
}

void SerialPort::purgeInput()
{
    PurgeComm(d->handle, PURGE_RXABORT | PURGE_RXCLEAR);
}

void SerialPort::purgeOutput()
{
    PurgeComm(d->handle, PURGE_TXABORT | PURGE_TXCLEAR);
}

bool SerialPort::write(char byte)
{
    DWORD written = 0;
    if (!WriteFile(d->handle, &byte, 1, &written, nullptr)) {
        d->noteFailure(GetLastError());
        return false;
    }
    if (written != 1) {
        d->noteFailure(ERROR_TIMEOUT);
        return false;
    }
    return true;
}

std::optional<QByteArray> SerialPort::read(std::chrono::milliseconds wait)
{
    // One byte is asked for first, the rest once something has arrived: a ReadFile for more than
    // has arrived waits for the whole limit under Wine, where the timeouts above are not taken to
    // mean "return with the first byte".
    QByteArray bytes;
    DWORD waiting = d->bytesWaiting();
    if (waiting == 0 && wait.count() > 0) {
        const auto limit = std::min<std::chrono::milliseconds::rep>(wait.count(), 60'000);
        char first = 0;
        DWORD received = 0;
        if (!d->setReadTimeout(static_cast<DWORD>(limit)))
            return std::nullopt;
        if (!ReadFile(d->handle, &first, 1, &received, nullptr)) {
            d->noteFailure(GetLastError());
            return std::nullopt;
        }
        if (received == 0)
            return bytes;
        bytes.append(first);
        waiting = d->bytesWaiting();
    }
    if (waiting > 0) {
        char rest[512];
        DWORD received = 0;
        if (!ReadFile(d->handle, rest, std::min<DWORD>(waiting, sizeof rest), &received, nullptr)) {
            d->noteFailure(GetLastError());
            return std::nullopt;
        }
        bytes.append(rest, static_cast<qsizetype>(received));
    }
    return bytes;
}

QString SerialPort::errorString() const
{
    return d->lastError;
}

namespace {

// The state file of a port: "COM7" for \\.\COM7, in the user's local application-data folder
// (a port's state belongs to this machine, not to a roaming profile).
QString statePath(const QString& device, const QString& kind)
{
    QString name = device;
    if (name.startsWith(u"\\\\.\\"))
        name = name.mid(4);
    name.replace(u'\\', u'_');
    name.replace(u'/', u'_');
    name.replace(u':', u'_');
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/yalmera");
    QDir().mkpath(folder);
    return QStringLiteral("%1/yalmera-%2..%3").arg(folder, kind, name.toUpper());
}

} // namespace

std::optional<QByteArray> readPortState(const QString& device, const QString& kind)
{
    QFile file(statePath(device, kind));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(256);
}

void writePortState(const QString& device, const QString& kind, const QByteArray& content)
{
    QFile file(statePath(device, kind));
    if (content.isEmpty()) {
        file.remove();
        return;
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

} // namespace detail

} // namespace yalmera
