#include <windows.h>

#include <climits>

#include "base/os_codepage.h"
#include "base/windows/wide.h"

namespace mirvane::os {

std::optional<std::string> decodeCodePage(unsigned codePage, std::string_view bytes) {
    if (!IsValidCodePage(codePage)) return std::nullopt;
    if (bytes.empty()) return std::string();
    if (bytes.size() > INT_MAX / 2) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    // Without MB_ERR_INVALID_CHARS a byte that does not convert becomes the
    // code page's default character, which Windows-1252 lacks and so ends as '?'.
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return std::string(bytes.size(), '?');
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), needed);
    return narrow(wide);
}

}  // namespace mirvane::os
