#include "report/timetable_links.h"

#include <fmt/format.h>

#include "base/text.h"

namespace mirvane::report {
namespace {

// The code in UTF-8 with every byte but letters, digits, "-", "_" and "."
// percent-encoded: one fragment for one code, whatever it holds.
std::string encoded(std::string_view kind, std::string_view code) {
    std::string out(kind);
    out += '-';
    for (const unsigned char c : text::toUtf8(code)) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.')
            out += static_cast<char>(c);
        else
            out += fmt::format("%{:02X}", c);
    }
    return out;
}

}  // namespace

std::string teacherFragment(std::size_t number) {
    return "profesor-" + std::to_string(number);
}

std::string groupFragment(std::string_view code) {
    return encoded("grupo", code);
}

std::string roomFragment(std::string_view code) {
    return encoded("aula", code);
}

}  // namespace mirvane::report
