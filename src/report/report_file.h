#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

// Where a run's report goes and how it is written.
namespace mirvane::report {

inline constexpr std::string_view kPrefijoInformeExportacion = "InformeExportacion";
inline constexpr std::string_view kPrefijoInformeImportacion = "InformeImportacion";

// `prefix` followed by the document's file name and ".html", in the
// document's folder: datos.xml gives InformeExportaciondatos.xml.html.
std::filesystem::path reportBeside(const std::filesystem::path& document, std::string_view prefix);

// The CSV file beside a report page: the page's name with ".csv" for ".html".
std::filesystem::path csvBeside(const std::filesystem::path& page);

// A run's report: where it is and how many warnings it holds, or why it could
// not be saved (the run's own outcome stays as it was).
struct RunReport {
    std::filesystem::path path;
    std::size_t warnings = 0;
    std::string failure;  // empty when the report was saved
};

// Replaces `target` with the page in one step (an older report stays whole
// until the new one is complete) and returns what it wrote. A failure to save
// is returned, not raised: the run has already done its work, and a failed
// export's own error is the one the user must see.
//
// A large file is written piece by piece, never whole in memory: its writer
// is given a function that takes each piece.
using PieceSink = std::function<void(std::string_view)>;
using PieceWriter = std::function<void(const PieceSink&)>;

// Files that go with the page (its CSV) are saved first, the same way.
struct Companion {
    std::filesystem::path path;
    PieceWriter write;
};
RunReport saveReport(const std::filesystem::path& target, std::string_view page,
                     std::size_t warnings, std::initializer_list<Companion> companions = {});
RunReport saveReport(const std::filesystem::path& target, const PieceWriter& page,
                     std::size_t warnings);

// Gathers pieces and hands them on in large ones.
class PieceBuffer {
  public:
    explicit PieceBuffer(const PieceSink& sink) : sink_(sink) {}
    ~PieceBuffer() = default;
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
