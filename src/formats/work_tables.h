#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "services/dbf.h"

// The work tables shared with the timetabler: their names and fields in
// creation order, and the table components through which the runs read them.
namespace mirvane::formats {

struct FieldSpec {
    std::string_view name;
    dbf::FieldType type;
    int size = 0;  // width of a character field
};

struct TableSpec {
    std::string_view name;  // "ASIGNOMT"; the file is ASIGNOMT.DBF
    std::span<const FieldSpec> fields;
};

extern const TableSpec kAsignomt;    // subjects
extern const TableSpec kProft;       // teachers
extern const TableSpec kAulat;       // rooms
extern const TableSpec kGrupost;     // groups
extern const TableSpec kAsigt;       // assignments
extern const TableSpec kDiashorast;  // time slots

// The solution table written by the timetabler, and the fields read from it.
inline constexpr std::string_view kSoluc = "SOLUC";
namespace soluc {
inline constexpr std::string_view kProf = "PROF";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kHora = "HORA";
inline constexpr std::string_view kTarea = "TAREA";
inline constexpr std::string_view kAula = "AULA";
inline constexpr std::string_view kCodgrupo = "CODGRUPO";
inline constexpr std::string_view kAsig = "ASIG";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
}  // namespace soluc

// SOLUC with the fields read from it, in the shape the timetabler writes them
// (character codes, whole-number DIA and HORA): for the generator and tests.
extern const TableSpec kSolucTable;

// Replaces a work table in `folder`: creates it empty with its fields over
// any old .DBF file, then deletes its old .MDX index if there is one. A table
// held by another program is left as it is (the engine's error). The table
// is left closed.
void replaceTable(dbf::Table& table, const std::filesystem::path& folder, const TableSpec& spec);

// The main window's table components, one per table, each bound to its table
// in the work folder by its bare name and opened exclusively.
class WorkTableComponents {
  public:
    explicit WorkTableComponents(const std::filesystem::path& folder);

    // Closes every table (each component also closes itself when it goes).
    void closeAll();

    dbf::Table wwTableNomAsg{"wwTableNomAsg"};
    dbf::Table wwTableProfesor{"wwTableProfesor"};
    dbf::Table wwTableAulas{"wwTableAulas"};
    dbf::Table wwTableGrupos{"wwTableGrupos"};
    dbf::Table wwTableAsig{"wwTableAsig"};
    dbf::Table wwTableTramos{"wwTableTramos"};
    dbf::Table wwTableSoluc{"wwTableSoluc"};
};

}  // namespace mirvane::formats
