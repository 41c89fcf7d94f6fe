#include "base/windows/wide.h"

#include <windows.h>

#include <climits>

namespace mirvane::os {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX) return {};
    const int length = static_cast<int>(utf16.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

}  // namespace mirvane::os
