#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/work_tables.h"

// What the export's writers find that they do not carry over faithfully, and
// how far each table got, told as they work to whoever shows it (the report).
// They know nothing of it, and telling never changes what they write.
namespace mirvane::exporting {

// A subject left out because its code repeats, without regard to letter case,
// the code of a subject written before it. Records count from 1.
struct DroppedSubject {
    std::size_t record = 0;
    std::string materia, cod, nombre;  // the record dropped
    std::size_t keptRecord = 0;
    std::string keptCod;  // the code of the subject kept
};

// A time slot whose DIHO the import will never find. Records count from 1.
struct UnreachableSlot {
    enum class Reason { UnknownWeekday, SlotTextNotPlain };
    Reason reason = Reason::UnknownWeekday;
    std::size_t record = 0;
    std::string slotCode;   // as in the document
    std::string diho;       // as written
    std::string keySought;  // the key the import builds for this slot
};

class ExportObserver {
  public:
    virtual ~ExportObserver() = default;

    // A writer has replaced `table` and starts filling it.
    virtual void beginTable(std::string_view table) = 0;
    virtual void rowPosted() = 0;

    virtual void droppedSubject(DroppedSubject subject) = 0;
    // A record with fewer than two field nodes, which gives no row; `index`
    // counts the section's records from 0.
    virtual void skippedRecord(std::string_view section, std::size_t index, std::size_t fields) = 0;
    // A value longer than `field` of `table`, stored cut to the field's width
    // (formats::characterWidth); `index` counts the section's records from 0.
    virtual void cutValue(const formats::TableSpec& table, std::string_view field,
                          std::string_view value, std::size_t index) = 0;
    virtual void unreachableSlot(UnreachableSlot slot) = 0;
};

}  // namespace mirvane::exporting
