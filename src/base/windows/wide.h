#pragma once

#include <string>
#include <string_view>

// UTF-8 and the UTF-16 of the Windows API, for the Windows side only.
namespace mirvane::os {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace mirvane::os
