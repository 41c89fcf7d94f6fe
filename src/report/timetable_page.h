#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "report/report_file.h"
#include "report/timetable.h"

namespace mirvane::report {

struct TimetableFacts {
    std::filesystem::path document;  // the chosen exchange document
    std::filesystem::path result;    // the result document written
    std::filesystem::path page;      // where this page goes, for its links
    std::filesystem::path report;    // the import report; empty when none is written
};

// The timetable as Delphos will receive it: an index of teachers and groups,
// then a week grid per teacher and per group, one to a printed page, with
// what went empty or wrong and what coincides marked in its cells, and the
// lessons that cannot be placed listed under the grid.
void writeTimetablePage(const Timetable& timetable, const TimetableFacts& facts,
                        const PieceSink& sink);

}  // namespace mirvane::report
