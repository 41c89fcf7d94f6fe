#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/table.h"
#include "formats/work_tables.h"
#include "xml/document.h"

// The record-to-row loop that the export writers share: replace the table,
// select the section's records, skip those with fewer than two field nodes,
// read values by position, append and post one row per record, close.
namespace mirvane::exporting {

// A record's field values by position (Windows-1252, trimmed).
using Values = std::vector<std::string>;

struct RowRule {
    // Whether the record gives a row; empty means every record does.
    std::function<bool(const Values&)> accept;
    // Sets the fields of the row just appended.
    std::function<void(dbf::Table&, const Values&)> fill;
};

struct SectionWrite {
    std::string_view section;         // seq of the section read
    const formats::TableSpec& table;  // table written
    std::size_t positions;            // values read from each record, from position 0
};

// Writes `write.table` in `folder` from the section's records and returns the
// number of rows written. A record with at least two field nodes but fewer than
// `positions` raises an error naming it; the rows posted before it stay.
std::size_t writeRecords(const xml::Document& document, const std::filesystem::path& folder,
                         const SectionWrite& write, const RowRule& rule);

// The first `count` field values of a record's field nodes.
Values readValues(const xml::NodeList& fields, std::size_t count);

// Raises "El registro N de la sección SECTION " followed by `problem`; N counts
// the section's records from 1.
[[noreturn]] void failRecord(std::string_view section, std::size_t index, std::string_view problem);

// The problem text for a record with too few field nodes.
std::string tooFewFields(std::size_t found, std::size_t expected);

}  // namespace mirvane::exporting
