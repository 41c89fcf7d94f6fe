#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "xml/document.h"

// What the export and import runs share: the check for the chosen file, the
// loading of the exchange document, and the texts of their expected outcomes.
namespace mirvane::core {

// Shown when no file exists at the chosen path; the run ends without writing.
inline constexpr std::string_view kNoFileMessage = "No existe archivo";
// Shown when a run has reached its end.
inline constexpr std::string_view kFinishedMessage = "Proceso finalizado";

// Whether a file (not a folder) exists at the chosen path. An empty path,
// as when the file dialog was cancelled before any choice, has none.
bool chosenFileExists(const std::filesystem::path& file);

// A new document with the file loaded into it.
std::unique_ptr<xml::Document> loadDocument(const std::filesystem::path& file,
                                            const xml::LoadOptions& options = {});

}  // namespace mirvane::core
