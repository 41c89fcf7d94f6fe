#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "export/export_observer.h"
#include "formats/work_tables.h"

// What an export run did not carry over faithfully, recorded as its writers
// tell it. Record numbers count a section's records from 1, in document order.
namespace mirvane::report {

using exporting::DroppedSubject;
using exporting::UnreachableSlot;

// A record with fewer than two field nodes, which gives no row.
struct SkippedRecord {
    std::string_view section;
    std::size_t record = 0;
    std::size_t fields = 0;
};

// A value longer than its field, stored cut to the field's width. The same
// value cut in the same field is recorded once, with the number of rows.
struct CutValue {
    std::string_view table, field;
    std::string value, stored;
    bool readBack = false;  // the import looks rows up by it or returns it to Delphos
    bool expected = false;  // the field keeps only an initial by design: no warning
    std::size_t firstRecord = 0;
    std::size_t rows = 0;
};

// A work table the run began, and the rows written to it so far.
struct TableProgress {
    std::string_view table;
    std::size_t rows = 0;
};

// Whether the import reads `field` of `table` back: to look a lesson's rows
// up by it, or to return it to Delphos. A cut value there comes back wrong.
bool isReadBack(std::string_view table, std::string_view field);

// Whether a value cut to `field` of `table` is cut by design: a field of one
// character keeps the initial of a word (the turno MAÑANA is stored as M),
// which is all the timetabler reads there.
bool isExpectedCut(const formats::TableSpec& table, std::string_view field);

class ExportWarnings final : public exporting::ExportObserver {
  public:
    void beginTable(std::string_view table) override;
    void rowPosted() override { ++progress_.back().rows; }

    void droppedSubject(DroppedSubject subject) override;
    void skippedRecord(std::string_view section, std::size_t index, std::size_t fields) override;
    void cutValue(const formats::TableSpec& table, std::string_view field, std::string_view value,
                  std::size_t index) override;
    void unreachableSlot(UnreachableSlot slot) override;

    // The tables begun so far, in the order begun, with their rows.
    const std::vector<TableProgress>& progress() const { return progress_; }
    const std::vector<DroppedSubject>& droppedSubjects() const { return dropped_; }
    const std::vector<SkippedRecord>& skippedRecords() const { return skipped_; }
    // Cut values in the order first met.
    const std::vector<CutValue>& cutValues() const { return cuts_; }
    const std::vector<UnreachableSlot>& unreachableSlots() const { return slots_; }

    // Every warning; a value cut in many rows counts once, and a cut by
    // design (isExpectedCut) does not count.
    std::size_t count() const;

  private:
    std::vector<TableProgress> progress_;
    std::vector<DroppedSubject> dropped_;
    std::vector<SkippedRecord> skipped_;
    std::vector<CutValue> cuts_;
    std::map<std::tuple<std::string_view, std::string_view, std::string>, std::size_t> cutIndex_;
    std::vector<UnreachableSlot> slots_;
    std::size_t expectedCuts_ = 0;
};

}  // namespace mirvane::report
