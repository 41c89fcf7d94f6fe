#include "core/export_run.h"

#include "core/run_common.h"
#include "export/exportar_asignaturas.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"
#include "services/error.h"

namespace mirvane::core {
namespace {

// Closes every table component when the writers are done, on every path. On
// the normal path closing is done (and may fail) before this runs.
class ClosedOnExit {
  public:
    explicit ClosedOnExit(formats::WorkTableComponents& components) : components_(components) {}
    ~ClosedOnExit() {
        try {
            components_.closeAll();
        } catch (...) {
            // Already unwinding with the run's own error, which is the one to report.
        }
    }
    ClosedOnExit(const ClosedOnExit&) = delete;
    ClosedOnExit& operator=(const ClosedOnExit&) = delete;

  private:
    formats::WorkTableComponents& components_;
};

}  // namespace

ExportRun::ExportRun(std::filesystem::path workFolder, exporting::StartHourPrompt& prompt)
    : folder_(std::move(workFolder)), prompt_(prompt), components_(folder_) {}

std::optional<ExportSummary> ExportRun::run(const std::filesystem::path& chosenFile) {
    if (!chosenFileExists(chosenFile)) return std::nullopt;
    load(chosenFile);
    return writeTables();
}

void ExportRun::load(const std::filesystem::path& chosenFile) {
    document_.reset();  // the previous run's document goes first
    document_ = loadDocument(chosenFile);
}

ExportSummary ExportRun::writeTables() {
    if (!document_) fail("No hay ningún documento cargado");
    const xml::Document& document = *document_;
    ClosedOnExit closed(components_);

    ExportSummary summary;
    summary.push_back({formats::kAsignomt.name, exporting::ExportarMaterias(document, folder_)});
    summary.push_back({formats::kProft.name, exporting::ExportarProfesores(document, folder_)});
    summary.push_back({formats::kAulat.name, exporting::ExportarAulas(document, folder_)});
    summary.push_back({formats::kGrupost.name, exporting::ExportarGrupos(document, folder_)});
    summary.push_back({formats::kAsigt.name, exporting::ExportarAsignaturas(
                                                 document, folder_, components_.wwTableNomAsg)});
    summary.push_back(
        {formats::kDiashorast.name, exporting::ExportarTramos(document, folder_, prompt_)});
    components_.closeAll();
    return summary;
}

}  // namespace mirvane::core
