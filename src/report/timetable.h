#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "report/import_lesson.h"

// Every lesson of an import as Delphos will receive it, recorded while the
// result document is built, for the timetable page. Recording never changes
// what the build writes.
namespace mirvane::report {

// A row of DIASHORAST.
struct SlotRow {
    std::string diho, dia, desde, hasta;  // DIHO, DIA, HORADESDE, HORAHASTA
};

// The names the page shows beside the codes, gathered by the same reads of
// the work tables that the lookups make.
struct TimetableNames {
    std::unordered_map<std::string, std::string> subjects;  // NOMBRE of ASIGNOMT by COD
    std::unordered_map<std::string, std::string> rooms;     // NOMBRE of AULAT by ABREV
    std::vector<SlotRow> slots;                             // DIASHORAST in stored order
};

struct TimetableTeacher {
    Teacher teacher;
    std::size_t number = 0;  // EMPLEADO_n
};

// A lesson as kept: its texts once for all lessons (see Timetable::check).
struct TimetableLesson {
    std::uint32_t teacher = 0;             // into teachers()
    KeptActivity activity;                 // ACTIVIDAD_n, the keys of SOLUC, what was not found
    std::array<std::uint32_t, 6> codes{};  // what the result document carries
};

class Timetable {
  public:
    void beginTeacher(Teacher teacher, std::size_t number) {
        teachers_.push_back({std::move(teacher), number});
    }
    // A lesson of the teacher begun last.
    void lesson(std::size_t number, ActivityCheck check, ResolvedCodes codes);

    ActivityCheck check(const TimetableLesson& lesson) const {
        return checkOf(lesson.activity, texts_);
    }
    ResolvedCodes codes(const TimetableLesson& lesson) const;

    // The texts the lessons' keys and codes point into: equal texts, equal places.
    const KeptTexts& texts() const { return texts_; }
    TimetableNames& names() { return names_; }
    const TimetableNames& names() const { return names_; }
    const std::vector<TimetableTeacher>& teachers() const { return teachers_; }
    const std::vector<TimetableLesson>& lessons() const { return lessons_; }

  private:
    std::vector<TimetableTeacher> teachers_;
    std::vector<TimetableLesson> lessons_;
    KeptTexts texts_;
    TimetableNames names_;
};

}  // namespace mirvane::report
