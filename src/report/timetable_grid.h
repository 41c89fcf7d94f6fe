#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "report/timetable.h"

// Where each lesson falls in the week, and which lessons coincide.
namespace mirvane::report {

// A cell of the week: a column (a weekday) and a row (a slot's times).
struct Cell {
    std::size_t column = 0, row = 0;
    bool operator==(const Cell&) const = default;
};

// What coincides with a lesson in its cell.
struct Coincidence {
    bool teacher = false, group = false, room = false;
    bool any() const { return teacher || group || room; }
};

struct Week {
    std::vector<std::string> days;                          // DIA digits, Monday first
    std::vector<std::pair<std::string, std::string>> rows;  // start and end, earliest first
    std::vector<std::optional<Cell>> cells;  // per lesson; nothing when its slot was not found
    std::vector<Coincidence> coincidences;   // per lesson
};

// The week of the slots in DIASHORAST: the days that occur as columns, in
// weekday order (other digits after, in byte order); the distinct start and
// end times as rows, by start time. A lesson goes where the slot its key
// found puts it (the first row of DIASHORAST with that DIHO, as the lookup).
Week layOut(const Timetable& timetable);

// "Lunes" … "Domingo" for the digits 1 to 7; "Día" and the digit otherwise.
std::string dayName(const std::string& digit);

}  // namespace mirvane::report
