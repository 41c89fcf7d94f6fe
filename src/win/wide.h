#pragma once

#include <string>
#include <string_view>

// The window speaks UTF-16, the rest of the program UTF-8.
namespace mirvane::win {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace mirvane::win
