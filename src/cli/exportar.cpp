#include <sstream>
#include <string>

#include "base/error.h"
#include "base/os_console.h"
#include "base/paths.h"
#include "cli/commands.h"
#include "core/chosen_file.h"
#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "report/school_words.h"

namespace mirvane::cli {
namespace {

struct ExportarOptions {
    std::string document;
    std::string folder;
    std::string startHour{exporting::kInitialStartHour};
    ReportOptions report;
};

int exportar(const ExportarOptions& options) {
    const std::filesystem::path folder = workFolder(options.folder);
    exporting::FixedStartHour prompt(options.startHour);
    core::ExportRun run(folder, prompt);
    requestReport(run, options.report);
    std::optional<core::ExportSummary> summary;
    try {
        summary = run.run(paths::fromUtf8(options.document));
    } catch (const Error& error) {
        // Reported here rather than by main, so that the report's line
        // follows the error that the report explains.
        std::ostringstream out;
        printRecoveryLine(out, run.recovery());
        out << withFullStop(error.what()) << "\n";
        printReportLine(out, run.runReport());
        os::writeConsole(os::Stream::Errors, out.str());
        return 1;
    }
    if (!summary) {
        printNoFile(options.document);
        return 1;
    }
    std::ostringstream out;
    printRecoveryLine(out, run.recovery());
    out << core::kFinishedMessage << "\n"
        << "Tablexa tiene ya los datos del centro en " << paths::toUtf8(folder) << ":\n";
    for (const core::TableRows& table : *summary)
        out << "  " << report::tableRows(table.table, table.rows) << " (" << table.table << ")\n";
    printReportLine(out, run.runReport());
    os::writeConsole(os::Stream::Output, out.str());
    return 0;
}

}  // namespace

void addExportarCommand(CLI::App& app, Action& action) {
    auto options = std::make_shared<ExportarOptions>();
    CLI::App* command =
        app.add_subcommand("exportar",
                           "Transformar datos desde Delphos hacia Tablexa: escribe las "
                           "seis tablas de trabajo a partir del documento XML.");
    addDocumentAndFolder(*command, options->document, options->folder);
    addReportOptions(*command, options->report);
    command
        ->add_option("--hora", options->startHour,
                     "Hora de inicio de la primera clase, HH:MM (por omisión 08:00); la hora "
                     "puede llevar una sola cifra, como en la ventana: 8:30")
        ->transform(CLI::Validator(
            [](std::string& value) -> std::string {
                // The window's field shows a blank first hour position as a
                // space: "8:30" is the " 8:30" it takes.
                if (value.size() == 4 && value[1] == ':') value.insert(0, " ");
                if (exporting::isValidStartHour(value)) return {};
                return "La hora de inicio debe tener la forma HH:MM, con la hora de 00 a 23 y "
                       "los minutos de 00 a 59: " +
                       value;
            },
            ""))
        ->type_name("HH:MM");
    command->callback([&action, options] { action = [options] { return exportar(*options); }; });
}

}  // namespace mirvane::cli
