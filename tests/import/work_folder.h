#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dbf/table.h"
#include "formats/work_tables.h"
#include "support/testing.h"

// Work folders for the import tests: the six work tables and a SOLUC as the
// timetabler writes it, filled with the rows a test gives.
namespace mirvane::testing {

// A row: values by field name; fields not named stay empty.
using Row = std::vector<std::pair<std::string, std::string>>;
using Rows = std::vector<Row>;

inline const formats::TableSpec& kSolucSpec = formats::kSolucTable;

// Creates the table of `spec` in `folder` holding `rows`. Numbers are given as
// text; a logical field takes "T" for true.
inline void writeTable(const std::filesystem::path& folder, const formats::TableSpec& spec,
                       const Rows& rows) {
    dbf::Table table;
    formats::replaceTable(table, folder, spec);
    table.open();
    for (const Row& row : rows) {
        table.append();
        for (const auto& [name, value] : row) {
            dbf::FieldType type = dbf::FieldType::Character;
            for (const formats::FieldSpec& field : spec.fields)
                if (field.name == name) type = field.type;
            if (type == dbf::FieldType::Character)
                table.setText(name, value);
            else if (type == dbf::FieldType::Logical)
                table.setBool(name, value == "T");
            else if (!value.empty())
                table.setFloat(name, std::stod(value));
        }
        table.post();
    }
    table.close();
}

// A temporary work folder holding all seven tables, empty until filled.
class WorkFolder {
  public:
    WorkFolder() {
        for (const formats::TableSpec* spec : allSpecs()) writeTable(dir_.path(), *spec, {});
    }
    const std::filesystem::path& path() const { return dir_.path(); }
    std::filesystem::path operator/(std::string_view name) const { return dir_ / name; }
    void fill(const formats::TableSpec& spec, const Rows& rows) {
        writeTable(dir_.path(), spec, rows);
    }

    static std::vector<const formats::TableSpec*> allSpecs() {
        return {&formats::kAsignomt, &formats::kProft,      &formats::kAulat, &formats::kGrupost,
                &formats::kAsigt,    &formats::kDiashorast, &kSolucSpec};
    }

  private:
    TempDir dir_;
};

}  // namespace mirvane::testing
