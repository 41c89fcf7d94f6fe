#include "core/export_run.h"

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"
#include "core/chosen_file.h"
#include "export/exportar_asignaturas.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"
#include "report/export_report.h"

namespace mirvane::core {
namespace {

// The six tables in the order written.
const formats::TableSpec* const kWrittenTables[] = {&formats::kAsignomt, &formats::kProft,
                                                    &formats::kAulat,    &formats::kGrupost,
                                                    &formats::kAsigt,    &formats::kDiashorast};

// Every table with its state after a failure: those begun as the warnings
// saw them, the rest as an earlier run left them, or absent.
std::vector<report::TableProgress> folderState(const report::ExportWarnings& warnings,
                                               const std::filesystem::path& folder) {
    std::vector<report::TableProgress> tables = warnings.progress();
    for (std::size_t i = tables.size(); i < std::size(kWrittenTables); ++i) {
        const std::string_view name = kWrittenTables[i]->name;
        // Asked while an error is on its way: a folder that cannot be read
        // counts as holding no table rather than raising a second error.
        os::Failure failure;
        const bool exists = os::kindOf(paths::inFolder(folder, std::string(name) + ".DBF"),
                                       failure) == os::Kind::Regular;
        tables.push_back({name, report::TableProgress::State::NotReached, 0, exists});
    }
    return tables;
}

}  // namespace

ExportRun::ExportRun(std::filesystem::path workFolder, exporting::StartHourPrompt& prompt)
    : folder_(std::move(workFolder)), prompt_(prompt), components_(folder_) {}

std::optional<ExportSummary> ExportRun::run(const std::filesystem::path& chosenFile) {
    return runOnChosenFile(*this, chosenFile, &ExportRun::writeTables);
}

void ExportRun::load(const std::filesystem::path& chosenFile) {
    exchange_.reset();  // the previous run's records go first
    chosenFile_ = chosenFile;
    exchange_ = formats::ExchangeRecords::read(chosenFile);
}

void ExportRun::requestReport(std::filesystem::path path) {
    reportPath_ = std::move(path);
}

ExportSummary ExportRun::writeTables() {
    if (!exchange_) fail("No hay ningún documento cargado");
    runReport_.reset();
    if (!reportPath_) return writeAll(nullptr);

    report::ExportWarnings warnings;
    try {
        ExportSummary summary = writeAll(&warnings);
        saveReport(warnings, std::nullopt);
        return summary;
    } catch (const Error& error) {
        // The run stopped half-way: the report says what the folder holds
        // now, and the error goes on to be reported as ever. Stopped before
        // its first table, it changed nothing, and writes nothing either.
        if (!warnings.progress().empty())
            saveReport(warnings,
                       report::ExportFailure{error.what(), folderState(warnings, folder_)});
        throw;
    }
}

ExportSummary ExportRun::writeAll(report::ExportWarnings* warnings) {
    const formats::ExchangeRecords& exchange = *exchange_;
    formats::WorkTableComponents::ClosedOnExit closed(components_);

    ExportSummary summary;
    summary.push_back(
        {formats::kAsignomt.name, exporting::ExportarMaterias(exchange, folder_, warnings)});
    summary.push_back(
        {formats::kProft.name, exporting::ExportarProfesores(exchange, folder_, warnings)});
    summary.push_back(
        {formats::kAulat.name, exporting::ExportarAulas(exchange, folder_, warnings)});
    summary.push_back(
        {formats::kGrupost.name, exporting::ExportarGrupos(exchange, folder_, warnings)});
    summary.push_back(
        {formats::kAsigt.name,
         exporting::ExportarAsignaturas(exchange, folder_, components_.wwTableNomAsg, warnings)});
    summary.push_back({formats::kDiashorast.name,
                       exporting::ExportarTramos(exchange, folder_, prompt_, warnings)});
    components_.closeAll();
    return summary;
}

void ExportRun::saveReport(const report::ExportWarnings& warnings,
                           std::optional<report::ExportFailure> failure) {
    const std::filesystem::path target =
        reportPath_->empty() ? report::reportBeside(chosenFile_, report::kPrefijoInformeExportacion)
                             : *reportPath_;
    // The CSV only when the page leaves rows out.
    const bool shortened = report::exportReportIsShortened(warnings);
    const std::filesystem::path csvTarget = shortened ? report::csvBeside(target) : "";
    const std::string page = report::exportReportPage(
        warnings, {chosenFile_, folder_, std::move(failure), target, csvTarget});
    if (!shortened) {
        runReport_ = report::saveReport(target, page, warnings.count());
        return;
    }
    report::CompanionFile csv(csvTarget);
    csv.write(report::exportWarningsCsv(warnings));
    runReport_ = report::saveReport(target, page, warnings.count(), &csv);
}

}  // namespace mirvane::core
