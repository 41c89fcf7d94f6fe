#include "import/resolver_actividad.h"

#include "base/text.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::importing {
namespace {

namespace field = formats::soluc;

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

// The keys that the lookups did not read as text.
void readOtherKeys(const dbf::Table& soluc, report::ActivityCheck& check) {
    check.dia = soluc.asText(field::kDia);
    check.hora = soluc.asText(field::kHora);
    check.nivel = soluc.asText(field::kNivel);
    check.curso = soluc.asText(field::kCurso);
}

// The three-stage search for the subject's Delphos code: by subject and
// group, then by subject, level and year, then by the subject code alone.
// Each later stage runs only while the value is still blank.
std::string materiaOmc(const dbf::Table& soluc, Lookups& lookups, const std::string& asig,
                       const std::string& codgrupo) {
    std::string value;
    if (auto materia = lookups.materiaPorGrupo(asig, codgrupo)) value = std::move(*materia);
    if (text::isBlank(value)) {
        if (auto materia = lookups.materiaPorNivel(asig, soluc.asText(field::kNivel),
                                                   soluc.asText(field::kCurso)))
            value = std::move(*materia);
    }
    if (text::isBlank(value)) {
        if (auto materia = lookups.materiaDeCodigo(asig)) value = std::move(*materia);
    }
    return value;
}

}  // namespace

std::string claveTramo(const dbf::Table& soluc) {
    return soluc.asText(field::kDia) + std::to_string(soluc.asInteger(field::kHora));
}

void ResolverActividad(xml::StreamedSave& result, const dbf::Table& soluc, Lookups& lookups,
                       report::ActivityCheck* check, report::ResolvedCodes* codes) {
    auto append = [&](std::string_view label, std::string_view value) {
        formats::writeField(result, label, value);
    };
    std::string tarea = soluc.asText(field::kTarea);
    const std::string code = actividad(tarea, lookups, check);
    append(formats::kXActividad, code);

    // The weekday written is the slot table's, never SOLUC's own DIA.
    Tramo tramo;
    const std::string clave = claveTramo(soluc);
    auto slot = lookups.tramo(clave);
    if (slot) tramo = std::move(*slot);
    append(formats::kNDiasemana, tramo.dia);
    append(formats::kXTramo, tramo.coddiho);

    std::string aula = soluc.asText(field::kAula);
    auto room = lookups.depcentro(aula);
    append(formats::kXDepcentro, room.value_or(""));
    std::string codgrupo = soluc.asText(field::kCodgrupo);
    auto group = lookups.unidad(codgrupo);
    append(formats::kXUnidad, group.value_or(""));
    std::string asig = soluc.asText(field::kAsig);
    const std::string materia = materiaOmc(soluc, lookups, asig, codgrupo);
    append(formats::kXMateriaomc, materia);

    if (check) {
        check->slotFound = slot.has_value();
        // A lesson without a room or group lacks nothing.
        check->roomFound = room.has_value() || text::isBlank(aula);
        check->groupFound = group.has_value() || text::isBlank(codgrupo);
        check->subjectFound = !text::isBlank(materia);
        // Without a timetable the keys are read only for the few lessons the
        // report shows.
        if (codes || !check->faithful()) {
            readOtherKeys(soluc, *check);
            check->tarea = std::move(tarea);
            check->aula = std::move(aula);
            check->codgrupo = std::move(codgrupo);
            check->asig = std::move(asig);
            check->slotKey = clave;
        }
    }
    if (codes)
        *codes = {code, tramo.dia, tramo.coddiho, room.value_or(""), group.value_or(""), materia};
}

}  // namespace mirvane::importing
