#pragma once

#include <string>
#include <string_view>

#include "dbf/table.h"
#include "import/lookups.h"
#include "report/import_lesson.h"
#include "xml/streamed_save.h"

namespace mirvane::importing {

// The activity code written when the lesson's task resolves to a blank text.
inline constexpr std::string_view kActividadPorDefecto = "G439";

// The fields of SOLUC a lesson is read from, each found once per build.
struct SolucColumns {
    explicit SolucColumns(const dbf::Table& soluc);
    dbf::Column tarea, dia, hora, aula, codgrupo, asig, nivel, curso;
};

// Writes into the open activity record of `result` the six fields of the
// lesson on which SOLUC stands: X_ACTIVIDAD, N_DIASEMANA, X_TRAMO, X_DEPCENTRO, X_UNIDAD and
// X_MATERIAOMC, each translated back to the code Delphos uses through
// `lookups`. `soluc` keeps its position. Given a check, fills it with what
// the lookups did not find and, when they missed anything, the lesson's keys;
// the fields written are the same either way. Given codes as well, fills
// them with the six texts written and the check with the keys in any case.
void ResolverActividad(xml::StreamedSave& result, const SolucColumns& soluc, Lookups& lookups,
                       report::ActivityCheck* check = nullptr,
                       report::ResolvedCodes* codes = nullptr);

}  // namespace mirvane::importing
