// mirvane-cli: the export and import runs without a window.
//
// Exit status: 0 success, 1 a run that failed or found no file, 2 a usage error.

#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/os_console.h"
#include "cli/commands.h"
#include "version.h"

namespace {

using mirvane::os::Stream;
using mirvane::os::writeConsole;

int runCommandLine(int argc, char** argv) {
    CLI::App app{"Mirvane: datos entre Delphos y Tablexa, sin ventana.", "mirvane-cli"};
    app.set_version_flag("--version", "mirvane-cli " MIRVANE_VERSION);
    app.require_subcommand(1);
    // "/tmp/datos.xml" is a file, not a "/t" option, on Windows too.
    app.allow_windows_style_options(false);

    mirvane::cli::Action action;
    mirvane::cli::addExportarCommand(app, action);
    mirvane::cli::addImportarCommand(app, action);

    // UTF-8 arguments on every system (on Windows read as wide characters).
    std::vector<std::string> arguments = mirvane::os::commandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {  // --help, --version
            std::ostringstream out, errors;
            const int status = app.exit(error, out, errors);
            writeConsole(Stream::Output, out.str());
            writeConsole(Stream::Errors, errors.str());
            return status;
        }
        writeConsole(Stream::Errors, std::string(error.what()) + "\n\n" + app.help());
        return 2;
    }

    try {
        return action();
    } catch (const mirvane::Error& error) {
        writeConsole(Stream::Errors, mirvane::withFullStop(error.what()) + "\n");
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return runCommandLine(argc, argv);
    } catch (const std::exception& error) {
        // No layer below raises anything but mirvane::Error; should one still
        // slip through, the user reads a message rather than a crash.
        writeConsole(Stream::Errors, std::string("Error interno de Mirvane: ") + error.what() +
                                         ". Comuníquelo al servicio técnico.\n");
        return 1;
    }
}
