#pragma once

#include <cstddef>
#include <string>

#include "report/import_causes.h"
#include "report/report_file.h"

namespace mirvane::report {

// The CSV of every activity with a problem, one row per activity: its
// teacher, its number, what failed and every key of SOLUC. Rows are written
// as the build tells of them and handed on in large pieces, so that the file
// is never whole in memory however many activities it lists.
class ImportActivitiesCsv {
  public:
    explicit ImportActivitiesCsv(PieceSink sink);  // writes the byte-order mark and the header
    ImportActivitiesCsv(const ImportActivitiesCsv&) = delete;
    ImportActivitiesCsv& operator=(const ImportActivitiesCsv&) = delete;

    // The activities that follow are this teacher's.
    void teacher(const Teacher& teacher, std::size_t number);
    void activity(std::size_t number, const ActivityCheck& check);
    // Hands on the last rows.
    void finish();

  private:
    PieceSink sink_;
    PieceBuffer rows_;     // hands pieces to sink_
    std::string teacher_;  // the teacher's fields, the start of each of their rows
};

}  // namespace mirvane::report
