#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/background_queue.h"
#include "report/import_causes.h"
#include "report/import_csv.h"
#include "report/import_lesson.h"
#include "report/key_counter.h"
#include "report/report_file.h"

// What an import run could not resolve, recorded while it builds the result
// document: counted by cause and key as the lessons come, with a few
// examples per teacher, and every affected activity handed to the CSV at
// once. Nothing grows with the number of lessons. Recording never changes
// what the build writes.
namespace mirvane::report {

// An activity shown as an example: its number and its check, whose keys
// are kept in the warnings' own block of texts.
struct ExampleActivity {
    std::uint32_t number = 0;  // ACTIVIDAD_n
    std::uint32_t keys = 0;    // where its keys start in that block
    ActivityCode actividad = ActivityCode::Found;
    bool slotFound = true, roomFound = true, groupFound = true, subjectFound = true;
};

// A teacher with at least one lesson with a problem.
struct TeacherProblems {
    Teacher teacher;
    std::size_t number = 0;                         // EMPLEADO_n
    std::size_t activities = 0;                     // the lessons with a problem
    std::array<std::size_t, kCauseCount> causes{};  // of those, how many per cause
    std::vector<ExampleActivity> examples;          // the first few of them
};

class ImportWarnings {
  public:
    // Each teacher's row in the report shows this many of their activities.
    static constexpr std::size_t kExamplesPerTeacher = 3;

    // Where the recording is done: where it is asked for, or on a thread of
    // its own, beside the build, until finish().
    enum class Recording { InPlace, Beside };

    ImportWarnings() = default;
    // Every activity with a problem also goes to the CSV, through `csv`.
    explicit ImportWarnings(PieceSink csv, Recording recording = Recording::InPlace);
    ImportWarnings(const ImportWarnings&) = delete;
    ImportWarnings& operator=(const ImportWarnings&) = delete;

    // The lessons that follow are this teacher's.
    void beginTeacher(Teacher teacher, std::size_t number);
    // The current teacher's ACTIVIDAD_n, counted when it found a problem.
    void activity(std::size_t number, const ActivityCheck& check);
    // A row of SOLUC that is no lesson (DIA 0).
    void skippedDayZero() { ++dayZero_; }
    // A lesson of SOLUC whose PROF is no teacher's ABREV.
    void lessonWithoutTeacher(const std::string& prof) { ++withoutTeacher_[prof]; }
    // Hands the CSV its last rows, once the build is over. What follows may
    // be asked only after it.
    void finish();

    // An example's check, with its keys.
    ActivityCheck check(const ExampleActivity& example) const;

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
    void recordTeacher(Teacher&& teacher, std::size_t number);
    void recordActivity(std::size_t number, const ActivityCheck& check);
    // Room for a record of `bytes` at the end of the packed ones.
    char* room(std::size_t bytes);
    // Hands the records packed so far to the recording thread.
    void handOn();
    void recordPacked(std::string_view records);

    Teacher current_;  // the teacher begun last, kept once a lesson of theirs has a problem
    std::size_t currentNumber_ = 0;
    bool currentKept_ = false;
    std::vector<TeacherProblems> teachers_;
    std::string exampleKeys_;  // each example's keys, each preceded by its length
    std::array<std::size_t, kCauseCount> activities_{};
    std::array<KeyCounter, kCauseCount> keys_;
    std::map<std::string, std::size_t> withoutTeacher_;
    std::size_t dayZero_ = 0;
    std::optional<ImportActivitiesCsv> csv_;
    // Records not yet handed to the recording thread, packed (see the .cpp):
    // the first `used_` bytes (sized once a batch, so that records are
    // written in place).
    std::string packed_;
    std::size_t used_ = 0;
    // Last: its thread is stopped before what it records into goes.
    std::unique_ptr<BackgroundQueue<std::string>> beside_;
};

}  // namespace mirvane::report
