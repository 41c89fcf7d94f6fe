#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/export_warnings.h"

namespace mirvane::report {

// An export run that stopped on an error, and what the work folder holds now.
struct ExportFailure {
    std::string message;                // the error as the user saw it (UTF-8)
    std::vector<TableProgress> tables;  // all six, in the order they are written
};

struct ExportReportFacts {
    std::filesystem::path document;
    std::filesystem::path workFolder;
    std::optional<ExportFailure> failure;
    std::filesystem::path page;  // where the report goes, for its link to the CSV
    std::filesystem::path csv;   // every warning, when a section shows only its first ones
};

// The export report: a failed run's state of the work folder first, then
// what the tables lost, the worst first, or a line saying nothing was lost.
// A section shows its first kShownRows rows and says how many more the CSV has.
std::string exportReportPage(const ExportWarnings& warnings, const ExportReportFacts& facts);

inline constexpr std::size_t kShownRows = 100;

// Whether a section has more rows than the page shows, so that the CSV is written.
bool exportReportIsShortened(const ExportWarnings& warnings);

// Every warning, one row each, in the order of the page's sections.
std::string exportWarningsCsv(const ExportWarnings& warnings);

}  // namespace mirvane::report
