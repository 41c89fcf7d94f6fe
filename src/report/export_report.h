#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/export_warnings.h"

namespace mirvane::report {

// An export run that stopped on an error; it left the work folder as it was.
struct ExportFailure {
    std::string message;  // the error as the user saw it (UTF-8)
};

struct ExportReportFacts {
    std::filesystem::path document;
    std::filesystem::path workFolder;
    std::optional<ExportFailure> failure;
    std::filesystem::path page;  // where the report goes, for its link to the CSV
    std::filesystem::path csv;   // every warning, when a section shows only its first ones
    std::vector<std::string_view> emptySections;  // sections without a record
    std::filesystem::path earlierFolder;          // where the replaced tables are kept
    std::vector<std::string> earlierFiles;        // the files kept there
    std::time_t made = 0;                         // when the run wrote its tables
};

// The export report: a failed run's error first, or what Tablexa has now, the
// sections the document lacks and where the replaced tables are kept; then
// what the tables lost, the worst first, each with what to do, or a line
// saying nothing was lost; last, folded, the cuts made by design.
// A section shows its first kShownRows rows and says how many more the CSV has.
std::string exportReportPage(const ExportWarnings& warnings, const ExportReportFacts& facts);

inline constexpr std::size_t kShownRows = 100;

// Whether a section has more rows than the page shows, so that the CSV is written.
bool exportReportIsShortened(const ExportWarnings& warnings);

// Every warning, one row each, in the order of the page's sections.
std::string exportWarningsCsv(const ExportWarnings& warnings);

}  // namespace mirvane::report
