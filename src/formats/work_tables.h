#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

#include "dbf/table.h"

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

// The fields of each table, by name. The definitions below use these names,
// and so do the writers and the lookups.
namespace asignomt {
inline constexpr std::string_view kCod = "COD";
inline constexpr std::string_view kCodlargo = "CODLARGO";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kMateria = "MATERIA";
inline constexpr std::string_view kEstarea = "ESTAREA";
}  // namespace asignomt
namespace proft {
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kDepart = "DEPART";
inline constexpr std::string_view kDni = "DNI";
inline constexpr std::string_view kXEmpleado = "X_EMPLEADO";
inline constexpr std::string_view kFTomapos = "F_TOMAPOS";
inline constexpr std::string_view kEmail = "EMAIL";
}  // namespace proft
namespace aulat {
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kEdificio = "EDIFICIO";
inline constexpr std::string_view kMaxalum = "MAXALUM";
inline constexpr std::string_view kDepcentro = "DEPCENTRO";
}  // namespace aulat
namespace grupost {
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kTurno = "TURNO";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
inline constexpr std::string_view kGrupo = "GRUPO";
inline constexpr std::string_view kUnidad = "UNIDAD";
inline constexpr std::string_view kDescrip = "DESCRIP";
inline constexpr std::string_view kMarco = "MARCO";
}  // namespace grupost
namespace asigt {
inline constexpr std::string_view kCasig = "CASIG";
inline constexpr std::string_view kCprof = "CPROF";
inline constexpr std::string_view kCgrup = "CGRUP";
inline constexpr std::string_view kCaula = "CAULA";
inline constexpr std::string_view kTurno = "TURNO";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
inline constexpr std::string_view kGrupo = "GRUPO";
inline constexpr std::string_view kHoras = "HORAS";
inline constexpr std::string_view kSesiones = "SESIONES";
inline constexpr std::string_view kNconex = "NCONEX";
inline constexpr std::string_view kMateria = "MATERIA";
inline constexpr std::string_view kCtarea = "CTAREA";
}  // namespace asigt
namespace diashorast {
inline constexpr std::string_view kDiho = "DIHO";
inline constexpr std::string_view kCoddiho = "CODDIHO";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kTextodia = "TEXTODIA";
inline constexpr std::string_view kHora = "HORA";
inline constexpr std::string_view kTextohor = "TEXTOHOR";
inline constexpr std::string_view kHoradesde = "HORADESDE";
inline constexpr std::string_view kHorahasta = "HORAHASTA";
inline constexpr std::string_view kMinutos = "MINUTOS";
inline constexpr std::string_view kMarco = "MARCO";
inline constexpr std::string_view kMarcoxml = "MARCOXML";
}  // namespace diashorast

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

// The width of a character field of `table`; no limit for any other field.
std::size_t characterWidth(const TableSpec& table, std::string_view field);

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

    // Closes every table of `components` when it goes, on every path. On the
    // normal path the caller closes them itself first, so that a failure to
    // close is reported; while unwinding, the error on its way is the one the
    // user sees, and a second failure is dropped.
    class ClosedOnExit {
      public:
        explicit ClosedOnExit(WorkTableComponents& components) : components_(components) {}
        ~ClosedOnExit();
        ClosedOnExit(const ClosedOnExit&) = delete;
        ClosedOnExit& operator=(const ClosedOnExit&) = delete;

      private:
        WorkTableComponents& components_;
    };

    dbf::Table wwTableNomAsg{"wwTableNomAsg"};
    dbf::Table wwTableProfesor{"wwTableProfesor"};
    dbf::Table wwTableAulas{"wwTableAulas"};
    dbf::Table wwTableGrupos{"wwTableGrupos"};
    dbf::Table wwTableAsig{"wwTableAsig"};
    dbf::Table wwTableTramos{"wwTableTramos"};
    dbf::Table wwTableSoluc{"wwTableSoluc"};
};

}  // namespace mirvane::formats
