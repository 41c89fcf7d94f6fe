#pragma once

#include <string_view>

// The timetable page's script and style (timetable_page.js and
// timetable_page.css beside this file), written into every page.
namespace mirvane::report {

extern const std::string_view kTimetableScript;
extern const std::string_view kTimetableStyle;

}  // namespace mirvane::report
