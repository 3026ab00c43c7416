#include "console.h"

#include <windows.h>

namespace app {

bool writeToStartingConsole(std::FILE* stream, const QString& line) {
    const HANDLE standard = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (standard != nullptr && standard != INVALID_HANDLE_VALUE) {
        const DWORD type = GetFileType(standard);
        if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
            return false; // `> aide.txt` or `| more`: the C library writes there
        }
    }
    // Started from cmd or PowerShell, the program joins their console; already in one, the call fails and
    // the console stays. Started from the Explorer, there is none, and nothing is written.
    AttachConsole(ATTACH_PARENT_PROCESS);
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) {
        return false;
    }
    // In UTF-16, so that the accents show whatever the console's code page.
    const QString text = line + QStringLiteral("\r\n");
    DWORD written = 0;
    const bool done = WriteConsoleW(console, text.utf16(), DWORD(text.size()), &written, nullptr) != 0;
    CloseHandle(console);
    return done;
}

} // namespace app
