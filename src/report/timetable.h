#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/import_observer.h"
#include "report/import_causes.h"
#include "report/kept_lessons.h"

// Every lesson of an import as Delphos will receive it, recorded as the
// build tells it, for the timetable page.
namespace mirvane::report {

using importing::SlotRow;

// The names the page shows beside the codes.
struct TimetableNames {
    std::unordered_map<std::string, std::string> subjects;  // NOMBRE of ASIGNOMT by COD
    std::unordered_map<std::string, std::string> rooms;     // NOMBRE of AULAT by ABREV
    std::vector<SlotRow> slots;                             // DIASHORAST in stored order
};

struct TimetableTeacher {
    Teacher teacher;
    std::size_t number = 0;  // EMPLEADO_n
};

struct TimetableLesson {
    std::uint32_t teacher = 0;             // into teachers()
    KeptActivity activity;                 // ACTIVIDAD_n, the keys of SOLUC, what was not found
    std::array<std::uint32_t, 6> codes{};  // what the result document carries
};

class Timetable final : public importing::ImportObserver {
  public:
    void beginTeacher(const Teacher& teacher, std::size_t number) override {
        teachers_.push_back({teacher, number});
    }
    // A lesson of the teacher begun last.
    void lesson(std::size_t number, const ActivityCheck& check,
                const ResolvedCodes& codes) override;
    void subject(const std::string& cod, const std::string& nombre) override {
        names_.subjects.try_emplace(cod, nombre);
    }
    void room(const std::string& abrev, const std::string& nombre) override {
        names_.rooms.try_emplace(abrev, nombre);
    }
    void slot(const SlotRow& row) override { names_.slots.push_back(row); }

    ActivityCheck check(const TimetableLesson& lesson) const {
        return checkOf(lesson.activity, texts_);
    }
    ResolvedCodes codes(const TimetableLesson& lesson) const;

    // The texts the lessons' keys and codes point into: equal texts, equal places.
    const KeptTexts& texts() const { return texts_; }
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
