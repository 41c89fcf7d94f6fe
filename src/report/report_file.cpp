#include "report/report_file.h"

#include <string>

#include "base/error.h"
#include "base/safe_file.h"

namespace mirvane::report {

std::filesystem::path reportBeside(const std::filesystem::path& document, std::string_view prefix) {
    return document.parent_path() / (std::string(prefix) + document.filename().string() + ".html");
}

RunReport saveReport(const std::filesystem::path& target, std::string_view page,
                     std::size_t warnings) {
    RunReport written{target, warnings, {}};
    try {
        saveFileSafely(target, page);
    } catch (const Error& error) {
        written.failure = error.what();
    }
    return written;
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace mirvane::report
