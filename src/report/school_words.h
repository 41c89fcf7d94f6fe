#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The words a head of studies uses for what the tables hold: the pages and
// the command line say "28 materias" and "lunes, 3.er tramo", and keep the
// table and field names for a technical line of their own. UTF-8.
namespace mirvane::report {

// "lunes" … "domingo" for the weekday digits "1" … "7"; empty for anything else.
std::string_view weekdayName(std::string_view digit);

// "1.er tramo", "2.º tramo", "3.er tramo", … as Spanish abbreviates the ordinals.
std::string slotOrdinal(long number);

// When a lesson of SOLUC falls, from its DIA and HORA: "lunes, 3.er tramo";
// "día 9, tramo x" when they are no weekday and slot number; empty when both
// are blank.
std::string lessonWhen(std::string_view dia, std::string_view hora);

// The same from a slot key, a weekday digit followed by the slot number
// ("13"); the key itself when it is not of that shape.
std::string slotKeyWhen(std::string_view key);

// What the rows of a work table, or the records of a section, are: "28
// materias", "1 profesor". Tables and sections not known are named as they are.
std::string tableRows(std::string_view table, std::size_t rows);
std::string sectionRecords(std::string_view section, std::size_t records);
// The plural alone: "materias", "asignaciones de materia a grupo".
std::string_view tableNoun(std::string_view table);
std::string_view sectionNoun(std::string_view section);

// What a field of a work table holds: "nombre de la materia", "turno".
std::string_view fieldWords(std::string_view table, std::string_view field);

// A count with its noun: "1 clase", "3 clases".
std::string counted(std::size_t n, std::string_view one, std::string_view many);

// "a", "a y b", "a, b y c" (or with " o " before the last).
std::string listed(const std::vector<std::string>& items, std::string_view last = " y ");

// When a page was made, in the machine's local time: "10 de diciembre de
// 2026 a las 15:10".
std::string madeOn(std::time_t made);

}  // namespace mirvane::report
