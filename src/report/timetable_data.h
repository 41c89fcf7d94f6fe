#pragma once

#include "report/report_file.h"
#include "report/timetable.h"
#include "report/timetable_grid.h"

// The timetable as the page's script reads it (timetable_page.js): one JSON
// object in which every text is written once, the most used first, and
// every lesson is a row of numbers that point to them. Tens of thousands of
// lessons take a few megabytes, and the browser reads them at once.
namespace mirvane::report {

// The fields of a lesson's row in "clases", in order: its teacher (in
// "profesores", PROFT's order), its cell in the week (-1 when no slot has
// its key), its group and room (in "grupos" and "aulas"; -1 when blank),
// ASIG, its causes (bit n for the n-th of kCauses), TAREA and X_MATERIAOMC.
// Its other codes follow from its keys ("codigos", "codigosAparte"), and its
// ACTIVIDAD_n from its place among its teacher's lessons ("numerosAparte"
// where it does not).
inline constexpr int kLessonFields = 8;

void writeTimetableData(const Timetable& timetable, const Week& week, PieceBuffer& out);

}  // namespace mirvane::report
