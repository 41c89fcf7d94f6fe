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

// Which of a lesson's keys the returned check holds besides those every
// lookup reads (TAREA, DIA, AULA, CODGRUPO, ASIG and the slot key).
enum class KeysKept {
    None,    // no more, and no finding either: nothing is recorded
    Missed,  // HORA, NIVEL and CURSO as well when a lookup found nothing
    All,     // HORA, NIVEL and CURSO always
};

// Writes into the open activity record of `result` the six fields of the
// lesson on which SOLUC stands: X_ACTIVIDAD, N_DIASEMANA, X_TRAMO, X_DEPCENTRO, X_UNIDAD and
// X_MATERIAOMC, each translated back to the code Delphos uses through
// `lookups`. `soluc` keeps its position. Returns the lesson's keys as
// `kept` asks and, unless KeysKept::None, what the lookups did not find;
// the fields written are the same either way. Given codes, fills them with
// the six texts written.
report::ActivityCheck ResolverActividad(xml::StreamedSave& result, const SolucColumns& soluc,
                                        Lookups& lookups, KeysKept kept = KeysKept::None,
                                        report::ResolvedCodes* codes = nullptr);

}  // namespace mirvane::importing
