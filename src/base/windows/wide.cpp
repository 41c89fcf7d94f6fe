#include "base/windows/wide.h"

#include "base/text.h"

// wchar_t is the Windows API's UTF-16 code unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace mirvane::os {

std::wstring widen(std::string_view utf8) {
    const std::u16string utf16 = text::utf8ToUtf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string narrow(std::wstring_view utf16) {
    const std::u16string units(utf16.begin(), utf16.end());
    return text::utf16ToUtf8(units);
}

}  // namespace mirvane::os
