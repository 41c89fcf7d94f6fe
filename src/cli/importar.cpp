#include <memory>
#include <sstream>
#include <string>

#include "base/error.h"
#include "base/os_console.h"
#include "base/paths.h"
#include "cli/commands.h"
#include "core/chosen_file.h"
#include "core/import_run.h"
#include "report/school_words.h"

namespace mirvane::cli {
namespace {

struct ImportarOptions {
    std::string document;
    std::string folder;
    ReportOptions report;
    bool noTimetable = false;
};

// The timetable's line, after the report's: where it is, or why it could not
// be written; nothing when none was asked for.
void printTimetableLine(std::ostream& out, const std::optional<report::RunReport>& written) {
    if (!written) return;
    if (!written->failure.empty())
        out << "No se pudo escribir el horario: " << withFullStop(written->failure) << "\n";
    else
        out << "Horario: " << paths::toUtf8(written->path) << "\n";
}

int importar(const ImportarOptions& options) {
    const std::filesystem::path folder = workFolder(options.folder);
    core::ImportRun run(folder);
    requestReport(run, options.report);
    if (!options.noTimetable) run.requestTimetable();
    const auto summary = run.run(paths::fromUtf8(options.document));
    if (!summary) {
        printNoFile(options.document);
        return 1;
    }
    std::ostringstream out;
    printRecoveryLine(out, run.recovery());
    out << core::kFinishedMessage << "\n"
        << "Documento de resultado, con "
        << report::tableRows("PROFT", static_cast<std::size_t>(summary->profesores)) << " y "
        << summary->actividades << (summary->actividades == 1 ? " clase" : " clases") << ": "
        << paths::toUtf8(summary->archivo) << "\n";
    printReportLine(out, run.runReport());
    printTimetableLine(out, run.timetable());
    os::writeConsole(os::Stream::Output, out.str());
    return 0;
}

}  // namespace

void addImportarCommand(CLI::App& app, Action& action) {
    auto options = std::make_shared<ImportarOptions>();
    CLI::App* command =
        app.add_subcommand("importar",
                           "Transformar datos desde Tablexa hacia Delphos: escribe el documento "
                           "de resultado ResultadoVorsa<DOCUMENTO> junto al documento elegido, "
                           "a partir de la solución (SOLUC) y las tablas de trabajo.");
    addDocumentAndFolder(*command, options->document, options->folder);
    addReportOptions(*command, options->report);
    command->add_flag("--sin-horario", options->noTimetable,
                      "No escribir el horario («<DOCUMENTO> - Horario.html»), la página que "
                      "muestra por profesor, por grupo y por aula las clases tal como las "
                      "recibirá Delphos");
    command->callback([&action, options] { action = [options] { return importar(*options); }; });
}

}  // namespace mirvane::cli
