#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

// mirvane-cli's help and usage errors in Spanish, through CLI11's own hooks:
// a formatter for the help, and the failure message for a usage error.
namespace mirvane::cli {

// Gives `app` and its subcommands the Spanish help: headings, usage line,
// labels, the help and version flags. Call it once every option and
// subcommand is added. The checks (validators) of the options must say what
// is wrong in Spanish themselves.
void speakSpanish(CLI::App& app);

// The one line a usage error prints: what is wrong, told from the kind of
// error and from what was parsed of `arguments`, and where the help is.
std::string usageErrorLine(const CLI::App& app, const CLI::Error& error,
                           const std::vector<std::string>& arguments);

}  // namespace mirvane::cli
