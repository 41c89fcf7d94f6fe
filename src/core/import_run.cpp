#include "core/import_run.h"

#include "base/error.h"
#include "core/run_common.h"
#include "formats/exchange.h"
#include "report/import_report.h"

namespace mirvane::core {

ImportRun::ImportRun(std::filesystem::path workFolder)
    : workFolder_(std::move(workFolder)), components_(workFolder_) {}

std::optional<ImportSummary> ImportRun::run(const std::filesystem::path& chosenFile) {
    if (!chosenFileExists(chosenFile)) return std::nullopt;
    load(chosenFile);
    return build();
}

void ImportRun::load(const std::filesystem::path& chosenFile) {
    document_.reset();  // the previous run's document goes first
    chosenFile_ = chosenFile;
    // The build replaces SALIDAS: its old content is checked but not kept.
    document_ = loadDocument(chosenFile, {.emptiedSection = formats::kSalidas});
}

void ImportRun::requestReport(std::filesystem::path path) {
    reportPath_ = std::move(path);
}

ImportSummary ImportRun::build() {
    if (!document_) fail("No hay ningún documento cargado");
    runReport_.reset();
    // A build changes the document in place: the next one needs a fresh load.
    std::unique_ptr<xml::Document> document = std::move(document_);
    if (!reportPath_) return importing::ImportarSolucion(*document, chosenFile_, components_);

    report::ImportWarnings warnings;
    ImportSummary summary =
        importing::ImportarSolucion(*document, chosenFile_, components_, &warnings);
    const std::filesystem::path target =
        reportPath_->empty() ? report::reportBeside(chosenFile_, report::kPrefijoInformeImportacion)
                             : *reportPath_;
    const std::string page =
        report::importReportPage(warnings, {chosenFile_, summary.archivo, workFolder_});
    runReport_ = report::saveReport(target, page, warnings.count());
    return summary;
}

}  // namespace mirvane::core
