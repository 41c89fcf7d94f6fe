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
};

// The export report: a failed run's state of the work folder first, then
// what the tables lost, the worst first, or a line saying nothing was lost.
std::string exportReportPage(const ExportWarnings& warnings, const ExportReportFacts& facts);

}  // namespace mirvane::report
