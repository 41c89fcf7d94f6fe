#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <CLI/CLI.hpp>

// The subcommands of mirvane-cli. Each adds itself to the application and,
// when it is the one chosen, sets `action` to the run it performs; the run
// returns the exit status (0 success, 1 failure) and lets errors escape.
namespace mirvane::cli {

using Action = std::function<int()>;

// Adds the arguments both runs take: the exchange document and --carpeta.
void addDocumentAndFolder(CLI::App& command, std::string& document, std::string& folder);

// The work folder given with --carpeta, or C:\KTEMP on this system when none was.
std::filesystem::path workFolder(const std::string& given);

void addExportarCommand(CLI::App& app, Action& action);
void addImportarCommand(CLI::App& app, Action& action);

}  // namespace mirvane::cli
