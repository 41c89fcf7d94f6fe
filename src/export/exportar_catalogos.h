#pragma once

#include <cstddef>
#include <filesystem>

#include "xml/document.h"

// The teachers, rooms and groups tables, one row per record of their section.
// Each returns the number of rows written.
namespace mirvane::exporting {

// PROFT from "PROFESORES"; the same teacher twice gives two rows.
std::size_t ExportarProfesores(const xml::Document& document, const std::filesystem::path& folder);

// AULAT from "AULAS"; a room without an abbreviation takes its DEPCENTRO value.
std::size_t ExportarAulas(const xml::Document& document, const std::filesystem::path& folder);

// GRUPOST from "GRUPOS"; an empty level is "NIV".
std::size_t ExportarGrupos(const xml::Document& document, const std::filesystem::path& folder);

}  // namespace mirvane::exporting
