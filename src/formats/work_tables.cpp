#include "formats/work_tables.h"

#include <array>
#include <system_error>

#include "services/paths.h"

namespace mirvane::formats {
namespace {

using dbf::FieldType;
constexpr FieldType C = FieldType::Character;
constexpr FieldType L = FieldType::Logical;
constexpr FieldType I = FieldType::Integer;
constexpr FieldType F = FieldType::Float;

constexpr std::array<FieldSpec, 5> kAsignomtFields{{
    {"COD", C, 10},
    {"CODLARGO", C, 10},
    {"NOMBRE", C, 80},
    {"MATERIA", C, 12},
    {"ESTAREA", L},
}};

constexpr std::array<FieldSpec, 7> kProftFields{{
    {"ABREV", C, 10},
    {"NOMBRE", C, 80},
    {"DEPART", C, 40},
    {"DNI", I},
    {"X_EMPLEADO", C, 12},
    {"F_TOMAPOS", C, 10},
    {"EMAIL", C, 100},
}};

constexpr std::array<FieldSpec, 5> kAulatFields{{
    {"ABREV", C, 10},
    {"NOMBRE", C, 80},
    {"EDIFICIO", C, 1},
    {"MAXALUM", I},
    {"DEPCENTRO", C, 10},
}};

constexpr std::array<FieldSpec, 8> kGrupostFields{{
    {"ABREV", C, 10},
    {"TURNO", C, 1},
    {"NIVEL", C, 5},
    {"CURSO", C, 3},
    {"GRUPO", C, 2},
    {"UNIDAD", C, 12},
    {"DESCRIP", C, 80},
    {"MARCO", C, 1},
}};

constexpr std::array<FieldSpec, 13> kAsigtFields{{
    {"CASIG", C, 10},
    {"CPROF", C, 10},
    {"CGRUP", C, 10},
    {"CAULA", C, 10},
    {"TURNO", C, 1},
    {"NIVEL", C, 5},
    {"CURSO", C, 3},
    {"GRUPO", C, 2},
    {"HORAS", F},
    {"SESIONES", C, 20},
    {"NCONEX", C, 4},
    {"MATERIA", C, 12},
    {"CTAREA", C, 10},
}};

constexpr std::array<FieldSpec, 11> kDiashorastFields{{
    {"DIHO", C, 10},
    {"CODDIHO", C, 10},
    {"DIA", C, 20},
    {"TEXTODIA", C, 20},
    {"HORA", C, 8},
    {"TEXTOHOR", C, 15},
    {"HORADESDE", C, 8},
    {"HORAHASTA", C, 8},
    {"MINUTOS", C, 8},
    {"MARCO", C, 1},
    {"MARCOXML", C, 10},
}};

constexpr std::array<FieldSpec, 9> kSolucFields{{
    {"PROF", C, 10},
    {"DIA", I},
    {"HORA", I},
    {"TAREA", C, 10},
    {"AULA", C, 10},
    {"CODGRUPO", C, 10},
    {"ASIG", C, 10},
    {"NIVEL", C, 5},
    {"CURSO", C, 3},
}};

void configure(dbf::Table& table, const std::filesystem::path& folder, std::string_view name) {
    table.setDatabaseName(folder);
    table.setTableName(name);
    table.setTableType(dbf::TableType::dBase);
    table.setExclusive(true);
}

}  // namespace

const TableSpec kAsignomt{"ASIGNOMT", kAsignomtFields};
const TableSpec kProft{"PROFT", kProftFields};
const TableSpec kAulat{"AULAT", kAulatFields};
const TableSpec kGrupost{"GRUPOST", kGrupostFields};
const TableSpec kAsigt{"ASIGT", kAsigtFields};
const TableSpec kDiashorast{"DIASHORAST", kDiashorastFields};
const TableSpec kSolucTable{kSoluc, kSolucFields};

void replaceTable(dbf::Table& table, const std::filesystem::path& folder, const TableSpec& spec) {
    table.setDatabaseName(folder);
    table.setTableName(std::string(spec.name) + ".DBF");
    table.setTableType(dbf::TableType::dBase);
    table.clearFieldDefs();
    for (const FieldSpec& field : spec.fields)
        table.addFieldDef(field.name, field.type, field.size);
    // Creating the table replaces the old .DBF in one step, and refuses while
    // another program holds it; deleting the file first would pull it from
    // under that program where the system lets an open file be deleted.
    table.createTable();

    // The old index belongs to the old table. A failed deletion is not
    // reported by itself.
    std::error_code ignored;
    std::filesystem::remove(paths::inFolder(folder, std::string(spec.name) + ".MDX"), ignored);
}

WorkTableComponents::WorkTableComponents(const std::filesystem::path& folder) {
    configure(wwTableNomAsg, folder, kAsignomt.name);
    configure(wwTableProfesor, folder, kProft.name);
    configure(wwTableAulas, folder, kAulat.name);
    configure(wwTableGrupos, folder, kGrupost.name);
    configure(wwTableAsig, folder, kAsigt.name);
    configure(wwTableTramos, folder, kDiashorast.name);
    configure(wwTableSoluc, folder, kSoluc);
}

void WorkTableComponents::closeAll() {
    for (dbf::Table* table : {&wwTableNomAsg, &wwTableProfesor, &wwTableAulas, &wwTableGrupos,
                              &wwTableAsig, &wwTableTramos, &wwTableSoluc})
        table->close();
}

}  // namespace mirvane::formats
