#include "report/report_file.h"

#include <string>

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"
#include "base/safe_file.h"

namespace mirvane::report {

namespace {

struct PageNames {
    std::string_view name;        // after the document's own name and " - "
    std::string_view csv;         // what the CSV lists, after the page's name
    std::string_view formerName;  // before the document's whole file name
};

// In the order of Page.
constexpr PageNames kPageNames[] = {
    {"Informe de exportación", "avisos", "InformeExportacion"},
    {"Informe de importación", "clases", "InformeImportacion"},
    {"Horario", "", "HorarioVorsa"},
};

const PageNames& namesOf(Page page) {
    return kPageNames[static_cast<std::size_t>(page)];
}

std::filesystem::path beside(const std::filesystem::path& file, const std::string& name) {
    return file.parent_path() / paths::fromUtf8(name);
}

}  // namespace

std::filesystem::path pageBeside(const std::filesystem::path& document, Page page) {
    return beside(document, paths::toUtf8(document.stem()) + " - " +
                                std::string(namesOf(page).name) + ".html");
}

std::filesystem::path csvBeside(const std::filesystem::path& reportPage, Page page) {
    return beside(reportPage, paths::toUtf8(reportPage.stem()) + " (" +
                                  std::string(namesOf(page).csv) + ").csv");
}

void removeCompanion(const std::filesystem::path& reportPage, Page page) {
    os::Failure ignored;
    os::remove(csvBeside(reportPage, page), ignored);
}

void removeFormerPages(const std::filesystem::path& document, Page page) {
    const std::string former =
        std::string(namesOf(page).formerName) + paths::toUtf8(document.filename());
    os::Failure ignored;
    os::remove(beside(document, former + ".html"), ignored);
    if (!namesOf(page).csv.empty()) os::remove(beside(document, former + ".csv"), ignored);
}

RunReport saveReport(const std::filesystem::path& target, const PieceWriter& page,
                     std::size_t warnings) {
    RunReport written{target, warnings, {}};
    try {
        SafeFileWriter file(target, Durability::Cached);
        page([&file](std::string_view piece) { file.write(piece); });
        file.commit();
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
