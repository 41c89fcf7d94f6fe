#pragma once

#include <string_view>

#include "dbf/table.h"
#include "import/lesson.h"
#include "import/lookups.h"
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
// lesson on which SOLUC stands: X_ACTIVIDAD, N_DIASEMANA, X_TRAMO,
// X_DEPCENTRO, X_UNIDAD and X_MATERIAOMC, each translated back to the code
// Delphos uses through `lookups`; `codes` holds them afterwards. `check` is
// filled with the lesson's keys and what the lookups did not find. `soluc`
// keeps its position. Both are overwritten whole, so that a build can hand
// the same two to every lesson.
void ResolverActividad(xml::StreamedSave& result, const SolucColumns& soluc, Lookups& lookups,
                       ActivityCheck& check, ResolvedCodes& codes);

}  // namespace mirvane::importing
