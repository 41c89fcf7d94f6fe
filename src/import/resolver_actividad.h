#pragma once

#include <string>
#include <string_view>

#include "dbf/table.h"
#include "import/lookups.h"
#include "report/import_warnings.h"
#include "xml/streamed_save.h"

namespace mirvane::importing {

// The activity code written when the lesson's task resolves to a blank text.
inline constexpr std::string_view kActividadPorDefecto = "G439";

// The slot key of the SOLUC row on which `soluc` stands: DIA as text followed
// by HORA as a whole number without leading zeros (DIA 1, HORA 4 gives "14").
std::string claveTramo(const dbf::Table& soluc);

// Writes into the open activity record of `result` the six fields of the lesson on which `soluc`
// stands: X_ACTIVIDAD, N_DIASEMANA, X_TRAMO, X_DEPCENTRO, X_UNIDAD and
// X_MATERIAOMC, each translated back to the code Delphos uses through
// `lookups`. `soluc` keeps its position. Given a check, fills it with what
// the lookups did not find and, when they missed anything, the lesson's keys;
// the fields written are the same either way. Given codes as well, fills
// them with the six texts written and the check with the keys in any case.
void ResolverActividad(xml::StreamedSave& result, const dbf::Table& soluc, Lookups& lookups,
                       report::ActivityCheck* check = nullptr,
                       report::ResolvedCodes* codes = nullptr);

}  // namespace mirvane::importing
