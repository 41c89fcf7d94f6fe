#include "import/resolver_actividad.h"

#include "base/text.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::importing {
namespace {

// TAREA translated through the subjects table; a blank result becomes the
// default code, whether the row matched with a blank MATERIA or nothing matched.
std::string actividad(const std::string& tarea, Lookups& lookups, report::ActivityCheck* check) {
    auto materia = lookups.materiaDeCodigo(tarea);
    // The plain lesson code matches no subject and is meant to go as it is.
    if (check && !materia && !text::isBlank(tarea) && tarea != formats::kNotATask)
        check->actividad = report::ActivityCode::TaskCode;
    std::string value = materia ? std::move(*materia) : tarea;
    if (text::isBlank(value)) {
        value = kActividadPorDefecto;
        if (check) check->actividad = report::ActivityCode::Default;
    }
    return value;
}

// The three-stage search for the subject's Delphos code: by subject and
// group, then by subject, level and year, then by the subject code alone.
// Each later stage runs only while the value is still blank. NIVEL and CURSO
// are read into the lesson's keys only when the second stage needs them.
std::string materiaOmc(const SolucColumns& soluc, Lookups& lookups, report::ActivityCheck& lesson,
                       bool& levelRead) {
    std::string value;
    if (auto materia = lookups.materiaPorGrupo(lesson.asig, lesson.codgrupo))
        value = std::move(*materia);
    if (text::isBlank(value)) {
        lesson.nivel = soluc.nivel.text();
        lesson.curso = soluc.curso.text();
        levelRead = true;
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

report::ActivityCheck ResolverActividad(xml::StreamedSave& result, const SolucColumns& soluc,
                                        Lookups& lookups, KeysKept kept,
                                        report::ResolvedCodes* codes) {
    auto append = [&](std::string_view label, std::string_view value) {
        formats::writeField(result, label, value);
    };
    // The keys the lookups need, read straight into the check returned: tens
    // of thousands of lessons, each key a string. The others come later.
    report::ActivityCheck lesson{.tarea = soluc.tarea.text(),
                                 .dia = soluc.dia.text(),
                                 .hora = {},
                                 .aula = soluc.aula.text(),
                                 .codgrupo = soluc.codgrupo.text(),
                                 .asig = soluc.asig.text(),
                                 .nivel = {},
                                 .curso = {},
                                 .slotKey = {}};
    report::ActivityCheck* check = kept == KeysKept::None ? nullptr : &lesson;
    const std::string code = actividad(lesson.tarea, lookups, check);
    append(formats::kXActividad, code);

    // The weekday written is the slot table's, never SOLUC's own DIA. The
    // slot key is DIA as text followed by HORA as a whole number without
    // leading zeros (DIA 1, HORA 4 gives "14").
    Tramo tramo;
    lesson.slotKey = lesson.dia + std::to_string(soluc.hora.integer());
    auto slot = lookups.tramo(lesson.slotKey);
    if (slot) tramo = std::move(*slot);
    append(formats::kNDiasemana, tramo.dia);
    append(formats::kXTramo, tramo.coddiho);

    auto room = lookups.depcentro(lesson.aula);
    append(formats::kXDepcentro, room.value_or(""));
    auto group = lookups.unidad(lesson.codgrupo);
    append(formats::kXUnidad, group.value_or(""));
    bool levelRead = false;
    const std::string materia = materiaOmc(soluc, lookups, lesson, levelRead);
    append(formats::kXMateriaomc, materia);

    if (check) {
        check->slotFound = slot.has_value();
        // A lesson without a room or group lacks nothing.
        check->roomFound = room.has_value() || text::isBlank(check->aula);
        check->groupFound = group.has_value() || text::isBlank(check->codgrupo);
        check->subjectFound = !text::isBlank(materia);
        if (kept == KeysKept::All || !check->faithful()) {
            check->hora = soluc.hora.text();
            if (!levelRead) {
                check->nivel = soluc.nivel.text();
                check->curso = soluc.curso.text();
            }
        }
    }
    if (codes)
        *codes = {code, tramo.dia, tramo.coddiho, room.value_or(""), group.value_or(""), materia};
    return lesson;
}

}  // namespace mirvane::importing
