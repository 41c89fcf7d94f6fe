#include "import/resolver_actividad.h"

#include "base/text.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::importing {
namespace {

namespace field = formats::soluc;

// TAREA translated through the subjects table; a blank result becomes the
// default code, whether the row matched with a blank MATERIA or nothing matched.
std::string actividad(const dbf::Table& soluc, Lookups& lookups) {
    std::string value = soluc.asText(field::kTarea);
    if (auto materia = lookups.materiaDeCodigo(value)) value = std::move(*materia);
    if (text::isBlank(value)) value = kActividadPorDefecto;
    return value;
}

// The three-stage search for the subject's Delphos code: by subject and
// group, then by subject, level and year, then by the subject code alone.
// Each later stage runs only while the value is still blank.
std::string materiaOmc(const dbf::Table& soluc, Lookups& lookups) {
    const std::string asig = soluc.asText(field::kAsig);
    std::string value;
    if (auto materia = lookups.materiaPorGrupo(asig, soluc.asText(field::kCodgrupo)))
        value = std::move(*materia);
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

void ResolverActividad(xml::Document& document, xml::Node& actividadRecord, const dbf::Table& soluc,
                       Lookups& lookups) {
    auto append = [&](std::string_view label, std::string_view value) {
        formats::appendField(document, actividadRecord, label, value);
    };
    append(formats::kXActividad, actividad(soluc, lookups));

    // The weekday written is the slot table's, never SOLUC's own DIA.
    Tramo tramo;
    if (auto found = lookups.tramo(claveTramo(soluc))) tramo = std::move(*found);
    append(formats::kNDiasemana, tramo.dia);
    append(formats::kXTramo, tramo.coddiho);

    append(formats::kXDepcentro, lookups.depcentro(soluc.asText(field::kAula)).value_or(""));
    append(formats::kXUnidad, lookups.unidad(soluc.asText(field::kCodgrupo)).value_or(""));
    append(formats::kXMateriaomc, materiaOmc(soluc, lookups));
}

}  // namespace mirvane::importing
