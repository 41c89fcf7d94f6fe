#include "import/resolver_actividad.h"

#include "base/text.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::importing {
namespace {

// TAREA translated through the subjects table; a blank result becomes the
// default code, whether the row matched with a blank MATERIA or nothing matched.
std::string actividad(std::string value, Lookups& lookups, report::ActivityCheck* check) {
    auto materia = lookups.materiaDeCodigo(value);
    // The plain lesson code matches no subject and is meant to go as it is.
    if (check && !materia && !text::isBlank(value) && value != formats::kNotATask)
        check->actividad = report::ActivityCode::TaskCode;
    if (materia) value = std::move(*materia);
    if (text::isBlank(value)) {
        value = kActividadPorDefecto;
        if (check) check->actividad = report::ActivityCode::Default;
    }
    return value;
}

// The three-stage search for the subject's Delphos code: by subject and
// group, then by subject, level and year, then by the subject code alone.
// Each later stage runs only while the value is still blank.
struct LevelAndYear {
    std::string nivel, curso;  // NIVEL and CURSO of SOLUC, once read
    bool read = false;
};

std::string materiaOmc(const SolucColumns& soluc, Lookups& lookups, const std::string& asig,
                       const std::string& codgrupo, LevelAndYear& level) {
    std::string value;
    if (auto materia = lookups.materiaPorGrupo(asig, codgrupo)) value = std::move(*materia);
    if (text::isBlank(value)) {
        level = {soluc.nivel.text(), soluc.curso.text(), true};
        if (auto materia = lookups.materiaPorNivel(asig, level.nivel, level.curso))
            value = std::move(*materia);
    }
    if (text::isBlank(value)) {
        if (auto materia = lookups.materiaDeCodigo(asig)) value = std::move(*materia);
    }
    return value;
}

}  // namespace

SolucColumns::SolucColumns(const dbf::Table& soluc)
    : tarea(soluc, formats::soluc::kTarea),
      dia(soluc, formats::soluc::kDia),
      hora(soluc, formats::soluc::kHora),
      aula(soluc, formats::soluc::kAula),
      codgrupo(soluc, formats::soluc::kCodgrupo),
      asig(soluc, formats::soluc::kAsig),
      nivel(soluc, formats::soluc::kNivel),
      curso(soluc, formats::soluc::kCurso) {}

void ResolverActividad(xml::StreamedSave& result, const SolucColumns& soluc, Lookups& lookups,
                       report::ActivityCheck* check, report::ResolvedCodes* codes) {
    auto append = [&](std::string_view label, std::string_view value) {
        formats::writeField(result, label, value);
    };
    std::string tarea = soluc.tarea.text();
    const std::string code = actividad(tarea, lookups, check);
    append(formats::kXActividad, code);

    // The weekday written is the slot table's, never SOLUC's own DIA. The
    // slot key is DIA as text followed by HORA as a whole number without
    // leading zeros (DIA 1, HORA 4 gives "14").
    Tramo tramo;
    std::string dia = soluc.dia.text();
    std::string clave = dia + std::to_string(soluc.hora.integer());
    auto slot = lookups.tramo(clave);
    if (slot) tramo = std::move(*slot);
    append(formats::kNDiasemana, tramo.dia);
    append(formats::kXTramo, tramo.coddiho);

    std::string aula = soluc.aula.text();
    auto room = lookups.depcentro(aula);
    append(formats::kXDepcentro, room.value_or(""));
    std::string codgrupo = soluc.codgrupo.text();
    auto group = lookups.unidad(codgrupo);
    append(formats::kXUnidad, group.value_or(""));
    std::string asig = soluc.asig.text();
    LevelAndYear level;
    const std::string materia = materiaOmc(soluc, lookups, asig, codgrupo, level);
    append(formats::kXMateriaomc, materia);

    if (check) {
        check->slotFound = slot.has_value();
        // A lesson without a room or group lacks nothing.
        check->roomFound = room.has_value() || text::isBlank(aula);
        check->groupFound = group.has_value() || text::isBlank(codgrupo);
        check->subjectFound = !text::isBlank(materia);
        // Without a timetable the keys are read only for the lessons the
        // report shows.
        if (codes || !check->faithful()) {
            check->dia = std::move(dia);
            check->hora = soluc.hora.text();
            if (!level.read) level = {soluc.nivel.text(), soluc.curso.text()};
            check->nivel = std::move(level.nivel);
            check->curso = std::move(level.curso);
            check->tarea = std::move(tarea);
            check->aula = std::move(aula);
            check->codgrupo = std::move(codgrupo);
            check->asig = std::move(asig);
            check->slotKey = std::move(clave);
        }
    }
    if (codes)
        *codes = {code, tramo.dia, tramo.coddiho, room.value_or(""), group.value_or(""), materia};
}

}  // namespace mirvane::importing
