#pragma once

#include <cstddef>
#include <filesystem>

#include "export/export_observer.h"
#include "formats/exchange.h"

// The teachers, rooms and groups tables, one row per record of their section.
// Each returns the number of rows written and, given warnings, records in
// them what it did not carry over faithfully.
namespace mirvane::exporting {

// PROFT from "PROFESORES"; the same teacher twice gives two rows.
std::size_t ExportarProfesores(const formats::ExchangeRecords& exchange,
                               const std::filesystem::path& folder,
                               ExportObserver* warnings = nullptr);

// AULAT from "AULAS"; a room without an abbreviation takes its DEPCENTRO value.
std::size_t ExportarAulas(const formats::ExchangeRecords& exchange,
                          const std::filesystem::path& folder, ExportObserver* warnings = nullptr);

// GRUPOST from "GRUPOS"; an empty level is "NIV".
std::size_t ExportarGrupos(const formats::ExchangeRecords& exchange,
                           const std::filesystem::path& folder, ExportObserver* warnings = nullptr);

}  // namespace mirvane::exporting
