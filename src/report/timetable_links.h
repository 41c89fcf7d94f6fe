#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Where the timetable page keeps each teacher's, group's and room's week, so
// that the reports can link to the week a cause or an example concerns:
// "#profesor-12", "#grupo-1%C2%BAA", "#aula-A1". The page gives each week
// its fragment; the reports append one to the page's name.
namespace mirvane::report {

// The teacher of EMPLEADO_n, numbered as the result document numbers them.
std::string teacherFragment(std::size_t number);
// A group (SOLUC's CODGRUPO) and a room (SOLUC's AULA), Windows-1252 codes.
std::string groupFragment(std::string_view code);
std::string roomFragment(std::string_view code);

}  // namespace mirvane::report
