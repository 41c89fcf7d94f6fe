#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "report/import_causes.h"
#include "report/import_lesson.h"
#include "report/report_file.h"

namespace mirvane::report {

// The CSV of every activity with a problem, one row per activity: its
// teacher, its number, what failed and every key of SOLUC. Rows are written
// as the build records them and handed on in large pieces, so that the file
// is never whole in memory however many activities it lists.
class ImportActivitiesCsv {
  public:
    explicit ImportActivitiesCsv(PieceSink sink);  // writes the byte-order mark and the header

    // The activities that follow are this teacher's.
    void teacher(const Teacher& teacher, std::size_t number);
    void activity(std::size_t number, const ActivityCheck& check);
    // Hands on the last rows.
    void finish();

  private:
    const std::string& failures(const ActivityCheck& check);
    // Room for `bytes` more at the end of the rows not yet handed on.
    char* room(std::size_t bytes);
    void append(std::string_view bytes);

    PieceSink sink_;
    std::string rows_;       // rows not yet handed on: the first `used_` bytes
    std::size_t used_ = 0;   // (sized once, so that rows are written in place)
    std::string teacher_;    // the teacher's fields, the start of each of their rows
    std::string converted_;  // a key that is not plain, as written
    // The "Qué falla" field of each set of causes, made once.
    std::array<std::optional<std::string>, std::size_t{1} << kCauseCount> failures_;
};

}  // namespace mirvane::report
