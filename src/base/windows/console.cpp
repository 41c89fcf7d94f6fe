#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "base/os_console.h"
#include "base/windows/wide.h"

namespace mirvane::os {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

void writeConsole(Stream stream, std::string_view utf8) {
    std::FILE* file = stream == Stream::Output ? stdout : stderr;
    std::fflush(file);
    const HANDLE handle =
        GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = widen(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Redirected to a file or a pipe: UTF-8, as a script reads it.
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
}

}  // namespace mirvane::os
