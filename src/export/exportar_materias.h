#pragma once

#include <cstddef>
#include <filesystem>

#include "export/export_observer.h"
#include "formats/exchange.h"

namespace mirvane::exporting {

// ASIGNOMT from the "MATERIAS" section: one row per subject code, the first
// record with a code winning over later ones with the same code in any letter
// case. Returns the number of rows written; given warnings, records in them
// the subjects dropped and the values cut.
std::size_t ExportarMaterias(const formats::ExchangeRecords& exchange,
                             const std::filesystem::path& folder,
                             ExportObserver* warnings = nullptr);

}  // namespace mirvane::exporting
