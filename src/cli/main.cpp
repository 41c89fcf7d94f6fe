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
#include "cli/usage.h"
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
    mirvane::cli::addRestaurarCommand(app, action);
    mirvane::cli::speakSpanish(app);

    // UTF-8 arguments on every system (on Windows read as wide characters).
    std::vector<std::string> arguments = mirvane::os::commandLineArguments(argc, argv);
    app.failure_message([&arguments](const CLI::App* parsed, const CLI::Error& error) {
        return mirvane::cli::usageErrorLine(*parsed, error, arguments);
    });
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        // --help and --version on the output, a usage error's one line on
        // the errors.
        std::ostringstream out, errors;
        const bool usageError = app.exit(error, out, errors) != 0;
        writeConsole(Stream::Output, out.str());
        writeConsole(Stream::Errors, errors.str());
        return usageError ? 2 : 0;
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
                                         ". Comuníquelo al servicio técnico de Mirvane.\n");
        return 1;
    }
}
