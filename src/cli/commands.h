#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>

#include "base/paths.h"
#include "core/table_set.h"
#include "report/report_file.h"

// The subcommands of mirvane-cli. Each adds itself to the application and,
// when it is the one chosen, sets `action` to the run it performs; the run
// returns the exit status (0 success, 1 failure) and lets errors escape.
namespace mirvane::cli {

using Action = std::function<int()>;

// Adds the arguments both runs take: the exchange document and --carpeta.
void addDocumentAndFolder(CLI::App& command, std::string& document, std::string& folder);
// Adds --carpeta alone.
void addFolder(CLI::App& command, std::string& folder);

// The report's options: --informe RUTA writes it there instead of beside the
// document, --sin-informe writes none.
struct ReportOptions {
    std::string path;
    bool none = false;
};
void addReportOptions(CLI::App& command, ReportOptions& options);

// Asks a run for the report the options call for.
template <typename Run>
void requestReport(Run& run, const ReportOptions& options) {
    if (!options.none) run.requestReport(paths::fromUtf8(options.path));
}

// The line that tells where the report is and how many warnings it holds,
// or why it could not be written; nothing when none was asked for.
void printReportLine(std::ostream& out, const std::optional<report::RunReport>& written);

// How --help names the work folder used without --carpeta.
std::string defaultFolder();

// The work folder given with --carpeta, or C:\KTEMP on this system when none was.
std::filesystem::path workFolder(const std::string& given);

// "No existe archivo", naming the document given, on the errors.
void printNoFile(const std::string& document);

// The line that tells of a change of the work tables that an earlier run left
// half-done, and what became of it; nothing when there was none.
void printRecoveryLine(std::ostream& out, core::Recovery recovery);

void addExportarCommand(CLI::App& app, Action& action);
void addImportarCommand(CLI::App& app, Action& action);
void addRestaurarCommand(CLI::App& app, Action& action);

}  // namespace mirvane::cli
