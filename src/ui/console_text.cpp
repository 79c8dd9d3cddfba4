#include "console_text.h"

#include <QString>

#include "model/windows_api.h"

namespace yalmera::ui {

void printToConsole(FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && !GetConsoleMode(handle, &mode)) {
        const QByteArray bytes = text.toUtf8();
        DWORD written = 0;
        WriteFile(handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return;
    }
    AttachConsole(ATTACH_PARENT_PROCESS); // fails harmlessly when already attached
    handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return; // started without a console: nowhere to write
    DWORD written = 0;
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), static_cast<DWORD>(text.size()),
                  &written, nullptr);
    CloseHandle(handle);
#else
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
#endif
}

} // namespace yalmera::ui
