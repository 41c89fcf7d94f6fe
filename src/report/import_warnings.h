#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "import/import_observer.h"
#include "report/import_causes.h"
#include "report/import_csv.h"
#include "report/kept_lessons.h"
#include "report/report_file.h"

// What an import run could not resolve, recorded as the build tells it:
// counted by cause and key, with a few examples per teacher, and every
// affected activity written to the CSV as it comes. Nothing grows with the
// number of lessons.
namespace mirvane::report {

// A teacher with at least one lesson with a problem.
struct TeacherProblems {
    Teacher teacher;
    std::size_t number = 0;                         // EMPLEADO_n
    std::size_t activities = 0;                     // the lessons with a problem
    std::array<std::size_t, kCauseCount> causes{};  // of those, how many per cause
    std::vector<KeptActivity> examples;             // the first few of them
};

// Lessons the timetabler left unplaced, of one teacher, subject, group and task.
struct UnplacedLessons {
    Teacher teacher;
    std::size_t number = 0;  // EMPLEADO_n
    std::string asig, codgrupo, tarea;
    std::size_t lessons = 0;
};

class ImportWarnings final : public importing::ImportObserver {
  public:
    // Each teacher's row in the report shows this many of their activities.
    static constexpr std::size_t kExamplesPerTeacher = 3;

    ImportWarnings() = default;
    // Every activity with a problem also goes to the CSV, through `csv`.
    explicit ImportWarnings(PieceSink csv) { csv_.emplace(std::move(csv)); }

    void beginTeacher(const Teacher& teacher, std::size_t number) override;
    // Counted when it found a problem.
    void lesson(std::size_t number, const ActivityCheck& check,
                const ResolvedCodes& codes) override;
    void unplacedLesson(const importing::UnplacedLesson& lesson) override;
    void lessonWithoutTeacher(const std::string& prof) override { ++withoutTeacher_[prof]; }
    // The names and times the page shows beside the codes.
    void subject(const std::string& cod, const std::string& nombre) override {
        subjectNames_.try_emplace(cod, nombre);
    }
    void slot(const importing::SlotRow& row) override { slots_.try_emplace(row.diho, row); }
    // Hands the CSV its last rows, once the build is over.
    void finish();

    // An example's check, with its keys.
    ActivityCheck check(const KeptActivity& example) const { return checkOf(example, texts_); }

    // The causes that occur, in the order of Cause, each with its keys.
    std::vector<CauseGroup> causes() const;
    // The teachers with at least one lesson with a problem, in PROFT order.
    const std::vector<TeacherProblems>& teachersWithProblems() const { return teachers_; }
    // Lessons left out, by the PROF that no teacher has.
    const std::map<std::string, std::size_t>& lessonsWithoutTeacher() const {
        return withoutTeacher_;
    }
    // Grouped, in PROFT order, then by subject, group and task.
    std::vector<UnplacedLessons> unplacedLessons() const;
    std::size_t unplacedCount() const { return unplacedCount_; }
    // Teachers and lessons in the result document.
    std::size_t teachers() const { return teacherCount_; }
    std::size_t lessons() const { return lessonCount_; }

    // The name of a subject of ASIGNOMT (its first row of COD `cod`), and the
    // DIASHORAST row of a slot key; nothing when the tables have none.
    const std::string* subjectName(const std::string& cod) const;
    const importing::SlotRow* slotRow(const std::string& diho) const;

    // The lessons left out, and the lessons in the document with a problem.
    std::size_t lessonsWithoutTeacherCount() const;
    std::size_t lessonsWithProblems() const;
    // Both together; lessons the timetabler did not place are its own to
    // place, and do not count.
    std::size_t count() const { return lessonsWithoutTeacherCount() + lessonsWithProblems(); }

  private:
    Teacher current_;  // the teacher begun last, kept once a lesson of theirs has a problem
    std::size_t currentNumber_ = 0;
    bool currentKept_ = false;
    std::vector<TeacherProblems> teachers_;
    KeptTexts texts_;  // the examples' keys
    std::array<std::size_t, kCauseCount> activities_{};
    // Per cause, how many activities lack each key.
    std::array<std::unordered_map<std::string, std::size_t>, kCauseCount> keys_;
    std::map<std::string, std::size_t> withoutTeacher_;
    // By EMPLEADO_n, then ASIG, CODGRUPO and TAREA: how many unplaced.
    std::map<std::tuple<std::size_t, std::string, std::string, std::string>, std::size_t> unplaced_;
    std::map<std::size_t, Teacher> unplacedTeachers_;
    std::size_t unplacedCount_ = 0;
    std::size_t teacherCount_ = 0;
    std::size_t lessonCount_ = 0;
    std::unordered_map<std::string, std::string> subjectNames_;
    std::unordered_map<std::string, importing::SlotRow> slots_;
    std::optional<ImportActivitiesCsv> csv_;
};

}  // namespace mirvane::report
