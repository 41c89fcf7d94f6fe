#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/table.h"
#include "export/export_observer.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

// The record-to-row loop that the export writers share: replace the table,
// select the section's records, skip those with fewer than two field nodes,
// read values by position, append and post one row per record, close.
namespace mirvane::exporting {

// A record's field values by position (Windows-1252, trimmed).
using Values = std::vector<std::string>;

// Where a value of the document is, for the message of a value that does
// not convert: its section, its record (counted from 0) and its field, as the
// user finds it in the document ("8 (minutos)", "MINUTOS").
struct ValuePlace {
    std::string_view section;
    std::size_t index = 0;
    std::string field;
};

// The whole-number conversion of a document's value. A value that does not
// convert raises the conversion's own error followed by where the value is.
std::int32_t recordInteger(std::string_view value, const ValuePlace& place);

[[noreturn]] void failNotInteger(std::string_view value, const ValuePlace& place);

// The row being filled: sets its fields, and tells the warnings (when there
// are any) of every text cut to its field's width.
class Row {
  public:
    Row(dbf::Table& table, const formats::TableSpec& spec, ExportObserver* warnings,
        std::string_view section, std::size_t index)
        : table_(table), spec_(spec), warnings_(warnings), section_(section), index_(index) {}

    void setText(std::string_view field, std::string_view value) {
        if (warnings_ && value.size() > formats::characterWidth(spec_, field))
            warnings_->cutValue(spec_, field, value, index_);
        table_.setText(field, value);
    }
    void setBool(std::string_view field, bool value) { table_.setBool(field, value); }
    void setFloat(std::string_view field, double value) { table_.setFloat(field, value); }

    // Where the record's `field` is in the document.
    ValuePlace place(std::string field) const { return {section_, index_, std::move(field)}; }

  private:
    dbf::Table& table_;
    const formats::TableSpec& spec_;
    ExportObserver* warnings_;
    std::string_view section_;
    std::size_t index_;  // the record's, counted from 0
};

struct RowRule {
    // Whether the record at `index` (from 0) gives a row; empty means every record does.
    std::function<bool(const Values&, std::size_t index)> accept;
    // Sets the fields of the row just appended.
    std::function<void(Row&, const Values&)> fill;
};

struct SectionWrite {
    std::string_view section;            // seq of the section read
    const formats::TableSpec& table;     // table written
    std::size_t positions;               // values read from each record, from position 0
    ExportObserver* warnings = nullptr;  // told what is not carried over, when given
};

// Writes `write.table` in `folder` from the section's records and returns the
// number of rows written. A record with at least two field nodes but fewer than
// `positions` raises an error naming it; the rows posted before it stay.
std::size_t writeRecords(const formats::ExchangeRecords& exchange,
                         const std::filesystem::path& folder, const SectionWrite& write,
                         const RowRule& rule);

// The first `count` field values of a record.
Values readValues(const formats::Record& record, std::size_t count);

// Raises "El registro N de la sección SECTION " followed by `problem`; N counts
// the section's records from 1.
[[noreturn]] void failRecord(std::string_view section, std::size_t index, std::string_view problem);

// The problem text for a record with too few field nodes.
std::string tooFewFields(std::size_t found, std::size_t expected);

}  // namespace mirvane::exporting
