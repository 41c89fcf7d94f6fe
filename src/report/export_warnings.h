#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "formats/work_tables.h"

// What an export run did not carry over faithfully, recorded while its
// writers work. Recording never changes what they write. Record numbers count
// a section's records from 1, in document order.
namespace mirvane::report {

// A subject left out because its code repeats, without regard to letter case,
// the code of a subject written before it.
struct DroppedSubject {
    std::size_t record = 0;
    std::string materia, cod, nombre;  // the record dropped
    std::size_t keptRecord = 0;
    std::string keptCod;  // the code of the subject kept
};

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
    bool matchField = false;  // the import looks rows up by this field
    std::size_t firstRecord = 0;
    std::size_t rows = 0;
};

// A time slot whose DIHO the import will never find.
struct UnreachableSlot {
    enum class Reason { UnknownWeekday, SlotTextNotPlain };
    Reason reason = Reason::UnknownWeekday;
    std::size_t record = 0;
    std::string slotCode;   // as in the document
    std::string diho;       // as written
    std::string keySought;  // the key the import builds for this slot
};

// How far a work table got in the run.
struct TableProgress {
    enum class State { Complete, Partial, NotReached };
    std::string_view table;
    State state = State::NotReached;
    std::size_t rows = 0;
};

// Whether the import looks rows up by a field of this name.
bool isMatchField(std::string_view field);

class ExportWarnings {
  public:
    // A writer has replaced `table` and starts filling it.
    void beginTable(std::string_view table);
    void rowPosted() { ++progress_.back().rows; }
    // The table begun last is complete.
    void endTable();

    void droppedSubject(DroppedSubject subject);
    void skippedRecord(std::string_view section, std::size_t index, std::size_t fields);
    // Records a cut when `value` is longer than `field` of `table`; `index`
    // counts the section's records from 0.
    void checkWidth(const formats::TableSpec& table, std::string_view field, std::string_view value,
                    std::size_t index) {
        if (value.size() > widthOf(table, field)) cutValue(table, field, value, index);
    }
    void unreachableSlot(UnreachableSlot slot);

    // The tables begun so far, in the order begun, with their rows.
    const std::vector<TableProgress>& progress() const { return progress_; }
    const std::vector<DroppedSubject>& droppedSubjects() const { return dropped_; }
    const std::vector<SkippedRecord>& skippedRecords() const { return skipped_; }
    // Cut values in the order first met.
    const std::vector<CutValue>& cutValues() const { return cuts_; }
    const std::vector<UnreachableSlot>& unreachableSlots() const { return slots_; }

    // Every warning; a value cut in many rows counts once.
    std::size_t count() const;

  private:
    static std::size_t widthOf(const formats::TableSpec& table, std::string_view field);
    void cutValue(const formats::TableSpec& table, std::string_view field, std::string_view value,
                  std::size_t index);

    std::vector<TableProgress> progress_;
    std::vector<DroppedSubject> dropped_;
    std::vector<SkippedRecord> skipped_;
    std::vector<CutValue> cuts_;
    std::map<std::tuple<std::string_view, std::string_view, std::string>, std::size_t> cutIndex_;
    std::vector<UnreachableSlot> slots_;
};

}  // namespace mirvane::report
