#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
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
    void skippedDayZero() override { ++dayZero_; }
    void lessonWithoutTeacher(const std::string& prof) override { ++withoutTeacher_[prof]; }
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
    std::size_t dayZeroRows() const { return dayZero_; }

    // Lessons left out plus lessons with a problem; rows with DIA 0 are no
    // lessons and do not count.
    std::size_t count() const;

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
    std::size_t dayZero_ = 0;
    std::optional<ImportActivitiesCsv> csv_;
};

}  // namespace mirvane::report
