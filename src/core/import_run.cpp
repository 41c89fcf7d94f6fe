#include "core/import_run.h"

#include "base/error.h"
#include "core/run_common.h"
#include "formats/exchange.h"

namespace mirvane::core {

ImportRun::ImportRun(std::filesystem::path workFolder) : components_(workFolder) {}

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

ImportSummary ImportRun::build() {
    if (!document_) fail("No hay ningún documento cargado");
    // A build changes the document in place: the next one needs a fresh load.
    std::unique_ptr<xml::Document> document = std::move(document_);
    return importing::ImportarSolucion(*document, chosenFile_, components_);
}

}  // namespace mirvane::core
