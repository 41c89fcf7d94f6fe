#pragma once

#include <functional>

#include <CLI/CLI.hpp>

// The subcommands of mirvane-cli. Each adds itself to the application and,
// when it is the one chosen, sets `action` to the run it performs; the run
// returns the exit status (0 success, 1 failure) and lets errors escape.
namespace mirvane::cli {

using Action = std::function<int()>;

void addExportarCommand(CLI::App& app, Action& action);
void addImportarCommand(CLI::App& app, Action& action);

}  // namespace mirvane::cli
