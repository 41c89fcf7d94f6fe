#include "cli/commands.h"

namespace mirvane::cli {

void addExportarCommand(CLI::App& app, Action& action) {
    app.add_subcommand("exportar", "Transformar datos desde Delphos hacia Tablexa")
        ->callback([&action] { action = [] { return 1; }; });
}

}  // namespace mirvane::cli
