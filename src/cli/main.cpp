// mirvane-cli: the export and import runs without a window.
//
// Exit status: 0 success, 1 a run that failed or found no file, 2 a usage error.

#include <iostream>

#include "base/error.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Mirvane: datos entre Delphos y Tablexa, sin ventana.", "mirvane-cli"};
    app.set_version_flag("--version", "mirvane-cli 1.0.0");
    app.require_subcommand(1);

    mirvane::cli::Action action;
    mirvane::cli::addExportarCommand(app, action);
    mirvane::cli::addImportarCommand(app, action);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
        std::cerr << error.what() << "\n\n" << app.help();
        return 2;
    }

    try {
        return action();
    } catch (const mirvane::Error& error) {
        std::cerr << mirvane::withFullStop(error.what()) << "\n";
        return 1;
    }
}
