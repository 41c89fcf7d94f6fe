#include "import/resolver_actividad.h"

#include "base/text.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::importing {
namespace {

// TAREA translated through the subjects table; a blank result becomes the
// default code, whether the row matched with a blank MATERIA or nothing matched.
std::string actividad(const std::string& tarea, Lookups& lookups, ActivityCode& how) {
    auto materia = lookups.materiaDeCodigo(tarea);
    how = ActivityCode::Found;
    // The plain lesson code matches no subject and is meant to go as it is.
    if (!materia && !text::isBlank(tarea) && tarea != formats::kNotATask)
        how = ActivityCode::TaskCode;
    std::string value = materia ? std::move(*materia) : tarea;
    if (text::isBlank(value)) {
        value = kActividadPorDefecto;
        how = ActivityCode::Default;
    }
    return value;
}

// The three-stage search for the subject's Delphos code: by subject and
// group, then by subject, level and year, then by the subject code alone.
// Each later stage runs only while the value is still blank.
std::string materiaOmc(const ActivityCheck& lesson, Lookups& lookups) {
    std::string value;
    if (auto materia = lookups.materiaPorGrupo(lesson.asig, lesson.codgrupo))
        value = std::move(*materia);
    if (text::isBlank(value)) {
        if (auto materia = lookups.materiaPorNivel(lesson.asig, lesson.nivel, lesson.curso))
            value = std::move(*materia);
    }
    if (text::isBlank(value)) {
        if (auto materia = lookups.materiaDeCodigo(lesson.asig)) value = std::move(*materia);
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
                       ActivityCheck& check, ResolvedCodes& codes) {
    check.tarea = soluc.tarea.text();
    check.dia = soluc.dia.text();
    check.hora = soluc.hora.text();
    check.aula = soluc.aula.text();
    check.codgrupo = soluc.codgrupo.text();
    check.asig = soluc.asig.text();
    check.nivel = soluc.nivel.text();
    check.curso = soluc.curso.text();
    LessonFlags& flags = check.flags;

    codes.actividad = actividad(check.tarea, lookups, flags.actividad);
    formats::writeField(result, formats::kXActividad, codes.actividad);

    // The weekday written is the slot table's, never SOLUC's own DIA. The
    // slot key is DIA as text followed by HORA as a whole number without
    // leading zeros (DIA 1, HORA 4 gives "14").
    check.slotKey = check.dia + std::to_string(soluc.hora.integer());
    auto slot = lookups.tramo(check.slotKey);
    flags.slotFound = slot.has_value();
    codes.diasemana = slot ? std::move(slot->dia) : std::string();
    codes.tramo = slot ? std::move(slot->coddiho) : std::string();
    formats::writeField(result, formats::kNDiasemana, codes.diasemana);
    formats::writeField(result, formats::kXTramo, codes.tramo);

    // A lesson without a room or group lacks nothing.
    auto room = lookups.depcentro(check.aula);
    flags.roomFound = room || text::isBlank(check.aula);
    codes.depcentro = room ? std::move(*room) : std::string();
    formats::writeField(result, formats::kXDepcentro, codes.depcentro);
    auto group = lookups.unidad(check.codgrupo);
    flags.groupFound = group || text::isBlank(check.codgrupo);
    codes.unidad = group ? std::move(*group) : std::string();
    formats::writeField(result, formats::kXUnidad, codes.unidad);

    codes.materiaomc = materiaOmc(check, lookups);
    flags.subjectFound = !text::isBlank(codes.materiaomc);
    formats::writeField(result, formats::kXMateriaomc, codes.materiaomc);
}

}  // namespace mirvane::importing
