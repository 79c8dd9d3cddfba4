#include "system_error.h"

#include "model/model_texts.h"

#include <QCoreApplication>

#include "model/windows_api.h"

#ifndef Q_OS_WIN
#include <cerrno>
#endif

namespace yalmera {

namespace {

struct KnownCode
{
    int code;
    SystemFailure failure;
};

// The codes of the common failures, as the platform's file and port calls report them.
constexpr KnownCode KnownCodes[] = {
#ifdef Q_OS_WIN
    {ERROR_FILE_NOT_FOUND, SystemFailure::NoSuchFile},
    {ERROR_PATH_NOT_FOUND, SystemFailure::NoSuchFile},
    {ERROR_ACCESS_DENIED, SystemFailure::NoPermission},
    {ERROR_WRITE_PROTECT, SystemFailure::ReadOnly},
    {ERROR_HANDLE_DISK_FULL, SystemFailure::NoSpace},
    {ERROR_DISK_FULL, SystemFailure::NoSpace},
    {ERROR_SHARING_VIOLATION, SystemFailure::Busy},
    {ERROR_LOCK_VIOLATION, SystemFailure::Busy},
    {ERROR_GEN_FAILURE, SystemFailure::DeviceGone}, // a USB-serial adapter pulled out
    {ERROR_DEV_NOT_EXIST, SystemFailure::DeviceGone},
    {ERROR_DEVICE_NOT_CONNECTED, SystemFailure::DeviceGone},
#else
    {ENOENT, SystemFailure::NoSuchFile},  {EACCES, SystemFailure::NoPermission},
    {EPERM, SystemFailure::NoPermission}, {ENOSPC, SystemFailure::NoSpace},
    {EDQUOT, SystemFailure::NoSpace},     {EROFS, SystemFailure::ReadOnly},
    {EBUSY, SystemFailure::Busy},         {ETXTBSY, SystemFailure::Busy},
    {ENODEV, SystemFailure::DeviceGone},  {ENXIO, SystemFailure::DeviceGone},
#endif
};

const char* wordsOf(SystemFailure failure)
{
    switch (failure) {
    case SystemFailure::NoSuchFile:
        return texts::model::NoSuchFileWords;
    case SystemFailure::NoPermission:
        return texts::model::NoPermissionWords;
    case SystemFailure::NoSpace:
        return texts::model::NoSpaceWords;
    case SystemFailure::ReadOnly:
        return texts::model::ReadOnlyWords;
    case SystemFailure::Busy:
        return texts::model::BusyWords;
    case SystemFailure::DeviceGone:
        return texts::model::DeviceGoneWords;
    case SystemFailure::Other:
        break;
    }
    return nullptr;
}

// "Access is denied." and "access is denied" say the same.
QString comparable(const QString& text)
{
    QString trimmed = text.trimmed();
    while (trimmed.endsWith(u'.'))
        trimmed.chop(1);
    return trimmed.toCaseFolded();
}

} // namespace

SystemFailure failureOfErrorCode(int code)
{
    for (const KnownCode& known : KnownCodes) {
        if (known.code == code)
            return known.failure;
    }
    return SystemFailure::Other;
}

SystemFailure failureOfSystemText(const QString& systemText)
{
    for (const KnownCode& known : KnownCodes) {
        if (systemText == qt_error_string(known.code))
            return known.failure;
    }
    return SystemFailure::Other;
}

QString systemErrorText(SystemFailure failure, const QString& systemText)
{
    const char* words = wordsOf(failure);
    if (!words)
        return systemText;
    const QString own = QCoreApplication::translate("SystemError", words);
    if (systemText.trimmed().isEmpty() || comparable(systemText) == comparable(own))
        return own;
    return QStringLiteral("%1 (%2)").arg(own, systemText.trimmed());
}

QString systemErrorText(const QString& systemText)
{
    return systemErrorText(failureOfSystemText(systemText), systemText);
}

} // namespace yalmera
