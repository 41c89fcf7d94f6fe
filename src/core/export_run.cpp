#include "core/export_run.h"

#include "base/error.h"
#include "core/run_common.h"
#include "export/exportar_asignaturas.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"

namespace mirvane::core {
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
    formats::WorkTableComponents::ClosedOnExit closed(components_);

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
