#pragma once

#include <ctime>
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
    std::time_t made = 0;            // when the import ran
};

// The timetable as Delphos will receive it, one self-contained page: an
// index of teachers, groups and rooms with a search box, and the week of the
// one chosen (the fragments of timetable_links.h), drawn by the page's script
// from the lessons kept once in the page. Each lesson shows what went empty
// or wrong and with which others it coincides; the lessons that cannot be
// placed are listed under the grid. Printed, a week fills one A4 landscape
// sheet with a header of its own.
void writeTimetablePage(const Timetable& timetable, const TimetableFacts& facts,
                        const PieceSink& sink);

}  // namespace mirvane::report
