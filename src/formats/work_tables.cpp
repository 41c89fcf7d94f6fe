#include "formats/work_tables.h"

#include <array>
#include <limits>
#include <system_error>

#include "base/paths.h"

namespace mirvane::formats {
namespace {

using dbf::FieldType;
constexpr FieldType C = FieldType::Character;
constexpr FieldType L = FieldType::Logical;
constexpr FieldType I = FieldType::Integer;
constexpr FieldType F = FieldType::Float;

constexpr std::array<FieldSpec, 5> kAsignomtFields{{
    {asignomt::kCod, C, 10},
    {asignomt::kCodlargo, C, 10},
    {asignomt::kNombre, C, 80},
    {asignomt::kMateria, C, 12},
    {asignomt::kEstarea, L},
}};

constexpr std::array<FieldSpec, 7> kProftFields{{
    {proft::kAbrev, C, 10},
    {proft::kNombre, C, 80},
    {proft::kDepart, C, 40},
    {proft::kDni, I},
    {proft::kXEmpleado, C, 12},
    {proft::kFTomapos, C, 10},
    {proft::kEmail, C, 100},
}};

constexpr std::array<FieldSpec, 5> kAulatFields{{
    {aulat::kAbrev, C, 10},
    {aulat::kNombre, C, 80},
    {aulat::kEdificio, C, 1},
    {aulat::kMaxalum, I},
    {aulat::kDepcentro, C, 10},
}};

constexpr std::array<FieldSpec, 8> kGrupostFields{{
    {grupost::kAbrev, C, 10},
    {grupost::kTurno, C, 1},
    {grupost::kNivel, C, 5},
    {grupost::kCurso, C, 3},
    {grupost::kGrupo, C, 2},
    {grupost::kUnidad, C, 12},
    {grupost::kDescrip, C, 80},
    {grupost::kMarco, C, 1},
}};

constexpr std::array<FieldSpec, 13> kAsigtFields{{
    {asigt::kCasig, C, 10},
    {asigt::kCprof, C, 10},
    {asigt::kCgrup, C, 10},
    {asigt::kCaula, C, 10},
    {asigt::kTurno, C, 1},
    {asigt::kNivel, C, 5},
    {asigt::kCurso, C, 3},
    {asigt::kGrupo, C, 2},
    {asigt::kHoras, F},
    {asigt::kSesiones, C, 20},
    {asigt::kNconex, C, 4},
    {asigt::kMateria, C, 12},
    {asigt::kCtarea, C, 10},
}};

constexpr std::array<FieldSpec, 11> kDiashorastFields{{
    {diashorast::kDiho, C, 10},
    {diashorast::kCoddiho, C, 10},
    {diashorast::kDia, C, 20},
    {diashorast::kTextodia, C, 20},
    {diashorast::kHora, C, 8},
    {diashorast::kTextohor, C, 15},
    {diashorast::kHoradesde, C, 8},
    {diashorast::kHorahasta, C, 8},
    {diashorast::kMinutos, C, 8},
    {diashorast::kMarco, C, 1},
    {diashorast::kMarcoxml, C, 10},
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

std::size_t characterWidth(const TableSpec& table, std::string_view field) {
    for (const FieldSpec& spec : table.fields)
        if (spec.name == field && spec.type == FieldType::Character)
            return static_cast<std::size_t>(spec.size);
    return std::numeric_limits<std::size_t>::max();
}

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
    os::Failure ignored;
    os::remove(paths::inFolder(folder, std::string(spec.name) + ".MDX"), ignored);
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

WorkTableComponents::ClosedOnExit::~ClosedOnExit() {
    try {
        components_.closeAll();
    } catch (...) {
        // Already unwinding with the run's own error, which is the one to report.
    }
}

void WorkTableComponents::closeAll() {
    for (dbf::Table* table : {&wwTableNomAsg, &wwTableProfesor, &wwTableAulas, &wwTableGrupos,
                              &wwTableAsig, &wwTableTramos, &wwTableSoluc})
        table->close();
}

}  // namespace mirvane::formats
