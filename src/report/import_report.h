#pragma once

#include <filesystem>
#include <string>

#include "report/import_warnings.h"
#include "report/report_file.h"

namespace mirvane::report {

struct ImportReportFacts {
    std::filesystem::path document;  // the chosen exchange document
    std::filesystem::path result;    // the result document written
    std::filesystem::path workFolder;
    std::filesystem::path page;       // where the report goes, for its links
    std::filesystem::path csv;        // the affected activities; empty when none is written
    std::filesystem::path timetable;  // the timetable page; empty when none is written
};

// The import report: a table of causes, the worst first, with the keys not
// found and how often, then each teacher's count per cause with a few
// examples, or a line saying nothing was lost. Every affected activity is in
// the CSV file, which the page links to.
std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts);

}  // namespace mirvane::report
