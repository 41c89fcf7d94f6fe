#pragma once

#include <ctime>
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
    std::time_t made = 0;             // when the import ran
};

// The import report: what Delphos receives in numbers, then the causes, the
// worst first, each with what it means, the keys not found and how often,
// and what to do; then each teacher's count per cause with a few examples,
// or a line saying nothing was lost; last, the lessons the timetabler did not
// place. Every affected lesson is in the CSV file, which the page links to,
// and teachers, groups and rooms link to their week in the timetable page.
std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts);

}  // namespace mirvane::report
