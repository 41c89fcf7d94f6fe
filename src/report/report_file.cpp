#include "report/report_file.h"

#include <string>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"

namespace mirvane::report {

std::filesystem::path reportBeside(const std::filesystem::path& document, std::string_view prefix) {
    std::filesystem::path name = paths::fromUtf8(std::string(prefix));
    name += document.filename();
    name += ".html";
    return document.parent_path() / name;
}

std::filesystem::path csvBeside(const std::filesystem::path& page) {
    std::filesystem::path csv = page;
    return csv.replace_extension(".csv");
}

namespace {

void saveInPieces(const std::filesystem::path& target, const PieceWriter& write) {
    SafeFileWriter file(target);
    write([&file](std::string_view piece) { file.write(piece); });
    file.commit();
}

}  // namespace

RunReport saveReport(const std::filesystem::path& target, const PieceWriter& page,
                     std::size_t warnings) {
    RunReport written{target, warnings, {}};
    try {
        saveInPieces(target, page);
    } catch (const Error& error) {
        written.failure = error.what();
    }
    return written;
}

RunReport saveReport(const std::filesystem::path& target, std::string_view page,
                     std::size_t warnings, std::initializer_list<Companion> companions) {
    RunReport written{target, warnings, {}};
    try {
        for (const Companion& companion : companions) saveInPieces(companion.path, companion.write);
        saveFileSafely(target, page);
    } catch (const Error& error) {
        written.failure = error.what();
    }
    return written;
}

}  // namespace mirvane::report
