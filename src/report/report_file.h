#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/safe_file.h"

// Where a run's report goes and how it is written.
namespace mirvane::report {

// The pages a run writes beside the chosen document.
enum class Page { ExportReport, ImportReport, Timetable };

// Where `page` goes beside `document`: named after the document without its
// extension, so that Explorer, which hides extensions, never shows a page
// under a name that reads as an XML file to hand to Delphos, and sorted
// beside the document: datos.xml gives "datos - Informe de exportación.html".
std::filesystem::path pageBeside(const std::filesystem::path& document, Page page);

// The CSV of a report page, beside it wherever it is, named after it and
// what it lists: "datos - Informe de importación (clases).csv".
std::filesystem::path csvBeside(const std::filesystem::path& reportPage, Page page);

// Removes the CSV of a report page saved without one.
void removeCompanion(const std::filesystem::path& reportPage, Page page);

// Removes what earlier versions wrote beside `document` for `page` under
// other names ("InformeExportaciondatos.xml.html" and its CSV), once the
// page has been written under its own. One that cannot be removed stays.
void removeFormerPages(const std::filesystem::path& document, Page page);

// A run's report: where it is and how many warnings it holds, or why it could
// not be saved (the run's own outcome stays as it was).
struct RunReport {
    std::filesystem::path path;
    std::size_t warnings = 0;
    std::string failure;  // empty when the report was saved
};

// A large file is written piece by piece, never whole in memory: its writer
// is given a function that takes each piece.
using PieceSink = std::function<void(std::string_view)>;
using PieceWriter = std::function<void(const PieceSink&)>;

// A file that goes with a page (its CSV), written piece by piece, even
// while the run still works. A failure to write it is kept, not raised: the
// run goes on, and the page's report then carries it. The file replaces its
// target only when the page is saved with it; until then an earlier one
// stays as it was, and stays if this one is dropped.
class CompanionFile {
  public:
    explicit CompanionFile(const std::filesystem::path& target);
    CompanionFile(const CompanionFile&) = delete;
    CompanionFile& operator=(const CompanionFile&) = delete;

    // After a failure, pieces go nowhere.
    void write(std::string_view piece);
    PieceSink sink() {
        return [this](std::string_view piece) { write(piece); };
    }
    // Replaces the target; false, with failure() saying why, when it cannot.
    bool commit();
    const std::string& failure() const { return failure_; }

  private:
    std::optional<SafeFileWriter> file_;
    std::string failure_;
};

// Replaces `target` with the page once it is complete (an older report stays
// whole until then) and returns what it wrote. A failure to save is
// returned, not raised: the run has already done its work, and a failed
// export's own error is the one the user must see. A companion is put in
// place first; when it fails, the page is not saved either.
RunReport saveReport(const std::filesystem::path& target, std::string_view page,
                     std::size_t warnings, CompanionFile* companion = nullptr);
RunReport saveReport(const std::filesystem::path& target, const PieceWriter& page,
                     std::size_t warnings);

// Gathers pieces and hands them on in large ones.
class PieceBuffer {
  public:
    explicit PieceBuffer(const PieceSink& sink) : sink_(sink) {}
    std::string& text() { return text_; }
    // Hands on what is gathered once it is large.
    void pass() {
        if (text_.size() >= kPiece) flush();
    }
    void flush() {
        sink_(text_);
        text_.clear();
    }

  private:
    static constexpr std::size_t kPiece = 1 << 16;
    const PieceSink& sink_;
    std::string text_;
};

}  // namespace mirvane::report
