#pragma once

#include <filesystem>
#include <string>

#include "report/import_warnings.h"

namespace mirvane::report {

struct ImportReportFacts {
    std::filesystem::path document;  // the chosen exchange document
    std::filesystem::path result;    // the result document written
    std::filesystem::path workFolder;
};

// The import report: lessons Delphos will not receive, then activities it
// will receive with empty or wrong fields, teacher by teacher, or a line
// saying nothing was lost.
std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts);

}  // namespace mirvane::report
