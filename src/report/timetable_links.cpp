#include "report/timetable_links.h"

#include "base/text.h"
#include "report/html.h"

namespace mirvane::report {
namespace {

// The code in UTF-8 with every byte but letters, digits, "-", "_" and "."
// percent-encoded: one fragment for one code, whatever it holds.
std::string encoded(std::string_view kind, std::string_view code) {
    return std::string(kind) + '-' + html::percentEncoded(text::toUtf8(code), "-_.");
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
