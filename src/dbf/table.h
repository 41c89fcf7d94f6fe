#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Our dBase table engine. A Table is a table component: it names a table in
// a folder, creates it from field definitions, opens it (exclusively when so
// set), appends rows, scans them in stored order and reads fields by name.
// Field values are Windows-1252 byte strings. Every failure raises
// mirvane::Error with a message naming the table and the fault.
//
// Tables are written as dBase III (no memo) with the Windows-1252 language
// driver; an integer field is N(11,0) and a float field N(19,9). Any common
// dBase or FoxPro table is read, its text converted to Windows-1252.
namespace mirvane::dbf {

enum class FieldType { Character, Logical, Integer, Float };
enum class TableType { dBase };

// A field of an open table found once by its name, to read it row after row
// without looking the name up again. Good while the table stays open.
struct FieldHandle {
    std::uint32_t index = 0;
};

class Table {
  public:
    // `componentName` ("wwTableSoluc", ...) precedes field errors: "wwTableSoluc: Field 'X' not
    // found".
    explicit Table(std::string componentName = {});
    ~Table();  // closes the table and releases its lock
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& componentName() const;

    void setDatabaseName(const std::filesystem::path& folder);
    void setTableName(std::string_view name);  // "PROFT" or "PROFT.DBF"; ".DBF" added when missing
    void setTableType(TableType type);
    void setExclusive(bool exclusive);
    // The table's file; an existing file whose name differs only in letter case is found.
    std::filesystem::path filePath() const;

    void clearFieldDefs();
    // `size` is the width of a character field; the engine chooses it for the others.
    void addFieldDef(std::string_view name, FieldType type, int size = 0);
    // An empty table with the defined fields, replacing one of that name. The table must be closed.
    void createTable();

    void open();  // opening an open table changes nothing
    void close();
    bool active() const;

    // A new row at the end; fields not set stay empty. A value set reads back before the post.
    void append();
    void setText(std::string_view field, std::string_view value);  // cut to the field's width
    void setBool(std::string_view field, bool value);
    void setFloat(std::string_view field, double value);
    void post();

    // Rows in stored order; deleted rows and rows outside the filter are not seen.
    void first();
    void next();
    bool eof() const;

    // Character fields without the blanks that pad them on the right; whole
    // numbers without blanks; numbers with decimals as their shortest text.
    std::string asText(std::string_view field) const;
    // Blank numbers read as 0; text goes through the whole-number conversion.
    std::int32_t asInteger(std::string_view field) const;
    // The same through a handle; finding it fails as reading by name does.
    FieldHandle field(std::string_view name) const;
    std::string asText(FieldHandle field) const;
    std::int32_t asInteger(FieldHandle field) const;
    double asFloat(std::string_view field) const;

    // The one filter form the program uses: PROF= 'value' (inner quotes doubled),
    // an exact, case-sensitive equality. Switching it on moves to the first matching row.
    void setFilter(std::string_view expression);
    void setFiltered(bool on);
    // Every text `field` holds in the rows a scan without the filter sees,
    // each once, in no set order: what a filter on it can select. Costs
    // nothing more once that field has been filtered on.
    std::vector<std::string> filterValues(std::string_view field);

    // Rows visible to a scan without the filter (deleted rows excluded).
    std::size_t recordCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One field of a table read row after row: found by its name at the first
// read, which fails then as reading by name does, and read through its
// handle after that. Good while the table stays open.
class Column {
  public:
    Column(const Table& table, std::string_view name) : table_(table), name_(name) {}
    std::string text() const { return table_.asText(handle()); }
    std::int32_t integer() const { return table_.asInteger(handle()); }

  private:
    FieldHandle handle() const {
        if (!handle_) handle_ = table_.field(name_);
        return *handle_;
    }
    const Table& table_;
    std::string_view name_;  // one of the program's constant names
    mutable std::optional<FieldHandle> handle_;
};

}  // namespace mirvane::dbf
