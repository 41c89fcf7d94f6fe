#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/work_tables.h"
#include "schoolgen/school.h"

// A timetable solution for a generated school, as the timetabler leaves it in
// the work folder: SOLUC, one row per placed lesson.
namespace mirvane::schoolgen {

inline const formats::TableSpec& kSolucSpec = formats::kSolucTable;

struct Lesson {
    std::string prof;  // the teacher's abbreviation
    int dia = 0;       // weekday 1 to 7; 0 for a lesson left unplaced
    int hora = 0;      // slot of the day, from 1
    std::string tarea;
    std::string aula;
    std::string codgrupo;
    std::string asig;
    std::string nivel;
    std::string curso;
};

// Every lesson of every assignment placed in a slot of its teacher's week,
// in the order of the week. One lesson per assignment, two for 110 minutes a
// week or more. For variety a few lessons are left unplaced (DIA 0), repeated,
// or carry a room, group, subject or teacher the work tables do not know, or
// no task. The same school and seed give the same lessons.
std::vector<Lesson> solution(const School& school, std::uint32_t seed);

// The lessons as a timetabler that works from other tables would leave them,
// for trying the import report on thousands of warnings from a few causes:
// most groups renamed to one of a few hundred codes GRUPOST lacks, one
// lesson in five in a room AULAT lacks, and Friday's slots numbered from 11,
// a scheme DIASHORAST does not have.
std::vector<Lesson> mismatched(std::vector<Lesson> lessons, std::uint32_t seed);

// SOLUC.DBF in `folder`, replacing an earlier one, with the lessons in order.
void writeSoluc(const std::vector<Lesson>& lessons, const std::filesystem::path& folder);

}  // namespace mirvane::schoolgen
