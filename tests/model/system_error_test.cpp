#include "model/system_error.h"

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#endif

using namespace yalmera;

// The common failures by their platform codes, in the program's words with the system's text
// beside them, whether the code comes along or only the system's text for it; any other failure
// keeps the system's text alone.
TEST(SystemError, CommonFailuresInTheProgramsWordsBesideTheSystemsText)
{
    const std::pair<int, const char*> cases[] = {
#ifdef Q_OS_WIN
        {ERROR_FILE_NOT_FOUND, "Нет такого файла или папки"},
        {ERROR_PATH_NOT_FOUND, "Нет такого файла или папки"},
        {ERROR_ACCESS_DENIED, "Отказано в доступе"},
        {ERROR_DISK_FULL, "На диске нет места"},
        {ERROR_WRITE_PROTECT, "Диск или файловая система только для чтения"},
        {ERROR_SHARING_VIOLATION, "Занято другой программой"},
        {ERROR_DEVICE_NOT_CONNECTED, "Устройство отключено"},
        {ERROR_INVALID_FUNCTION, nullptr},
#else
        {ENOENT, "Нет такого файла или папки"},
        {EACCES, "Отказано в доступе"},
        {ENOSPC, "На диске нет места"},
        {EROFS, "Диск или файловая система только для чтения"},
        {EBUSY, "Занято другой программой"},
        {ENODEV, "Устройство отключено"},
        {EIO, nullptr},
#endif
    };
    for (const auto& [code, words] : cases) {
        const QString system = qt_error_string(code);
        const QString expected =
            words ? QStringLiteral("%1 (%2)").arg(QString::fromUtf8(words), system) : system;
        EXPECT_EQ(systemErrorText(failureOfErrorCode(code), system), expected) << code;
        EXPECT_EQ(systemErrorText(system), expected) << code;
    }
}
