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
    SafeFileWriter file(target, Durability::Cached);
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

CompanionFile::CompanionFile(const std::filesystem::path& target) {
    try {
        file_.emplace(target, Durability::Cached);
    } catch (const Error& error) {
        failure_ = error.what();
    }
}

void CompanionFile::write(std::string_view piece) {
    if (!file_) return;
    try {
        file_->write(piece);
    } catch (const Error& error) {
        failure_ = error.what();
        file_.reset();  // its temporary file goes with it
    }
}

bool CompanionFile::commit() {
    if (!file_) return false;
    try {
        file_->commit();
    } catch (const Error& error) {
        failure_ = error.what();
    }
    file_.reset();
    return failure_.empty();
}

RunReport saveReport(const std::filesystem::path& target, std::string_view page,
                     std::size_t warnings, CompanionFile* companion) {
    RunReport written{target, warnings, {}};
    if (companion && !companion->commit()) {
        written.failure = companion->failure();
        return written;
    }
    try {
        saveFileSafely(target, page, Durability::Cached);
    } catch (const Error& error) {
        written.failure = error.what();
    }
    return written;
}

}  // namespace mirvane::report
