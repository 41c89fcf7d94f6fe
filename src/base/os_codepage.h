#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's code page conversions (iconv on POSIX, MultiByteToWideChar on
// Windows), behind one function.
namespace mirvane::os {

// `bytes` in the code page with Windows' number `codePage` (437, 850, 932,
// 10000 for the Macintosh one...) as UTF-8; a byte or sequence that does not
// convert becomes '?'. Nothing when the system lacks the code page.
std::optional<std::string> decodeCodePage(unsigned codePage, std::string_view bytes);

}  // namespace mirvane::os
