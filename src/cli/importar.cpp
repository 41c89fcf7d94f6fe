#include "cli/commands.h"

namespace mirvane::cli {

void addImportarCommand(CLI::App& app, Action& action) {
    app.add_subcommand("importar", "Transformar datos desde Tablexa hacia Delphos")
        ->callback([&action] { action = [] { return 1; }; });
}

}  // namespace mirvane::cli
