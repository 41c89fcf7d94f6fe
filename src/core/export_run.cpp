#include "core/export_run.h"

#include <ctime>

#include "base/error.h"
#include "base/paths.h"
#include "core/chosen_file.h"
#include "export/exportar_asignaturas.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"
#include "report/export_report.h"

namespace mirvane::core {
namespace {

// "MATERIAS, PROFESORES, …, ASIGNATURAS ni TRAMOS".
std::string sectionList(const std::vector<std::string_view>& sections, std::string_view last) {
    std::string list;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i > 0)
            list += i + 1 == sections.size() ? std::string(" ") + std::string(last) + " "
                                             : std::string(", ");
        list += sections[i];
    }
    return list;
}

[[noreturn]] void failNotAnExchangeDocument(const std::filesystem::path& file,
                                            const std::vector<std::string_view>& sections) {
    fail("El archivo «" + paths::toUtf8(file.filename()) +
         "» no es un documento de intercambio de Delphos: no tiene ninguna de las secciones " +
         sectionList(sections, "ni") + ". Elija el documento que exportó Delphos.");
}

}  // namespace

ExportRun::ExportRun(std::filesystem::path workFolder, exporting::StartHourPrompt& prompt)
    : folder_(std::move(workFolder)), prompt_(prompt) {}

std::optional<ExportSummary> ExportRun::run(const std::filesystem::path& chosenFile) {
    return runOnChosenFile(*this, chosenFile, &ExportRun::writeTables);
}

void ExportRun::load(const std::filesystem::path& chosenFile) {
    exchange_.reset();  // the previous run's records go first
    chosenFile_ = chosenFile;
    formats::ExchangeRecords exchange = formats::ExchangeRecords::read(chosenFile);
    emptySections_ = exchange.emptySections();
    if (emptySections_.size() == std::size(formats::kExportSections))
        failNotAnExchangeDocument(chosenFile, emptySections_);
    exchange_ = std::move(exchange);
}

void ExportRun::requestReport(std::filesystem::path path) {
    reportPath_ = std::move(path);
}

ExportSummary ExportRun::writeTables() {
    if (!exchange_) fail("No hay ningún documento cargado");
    runReport_.reset();
    recovery_ = recoverInterruptedChange(folder_);
    // Before anything is written or asked: a table the timetabler holds
    // would stop the run at its end.
    checkNoTableHeld(folder_);
    if (!reportPath_) return writeAll(nullptr);

    report::ExportWarnings warnings;
    try {
        ExportSummary summary = writeAll(&warnings);
        saveReport(warnings, std::nullopt);
        return summary;
    } catch (const Error& error) {
        // The run stopped half-way, and the work folder is as it was: the
        // report says where it stopped, and the error goes on to be reported
        // as ever. Stopped before its first table, it writes nothing either.
        if (!warnings.progress().empty()) saveReport(warnings, report::ExportFailure{error.what()});
        throw;
    }
}

ExportSummary ExportRun::writeAll(report::ExportWarnings* warnings) {
    const formats::ExchangeRecords& exchange = *exchange_;
    StagedTableSet staged(folder_);
    const std::filesystem::path& folder = staged.folder();
    components_.emplace(folder);
    // Declared after the staged tables, so that they are closed before the
    // staging folder goes.
    formats::WorkTableComponents::ClosedOnExit closed(*components_);

    ExportSummary summary;
    summary.push_back(
        {formats::kAsignomt.name, exporting::ExportarMaterias(exchange, folder, warnings)});
    summary.push_back(
        {formats::kProft.name, exporting::ExportarProfesores(exchange, folder, warnings)});
    summary.push_back({formats::kAulat.name, exporting::ExportarAulas(exchange, folder, warnings)});
    summary.push_back(
        {formats::kGrupost.name, exporting::ExportarGrupos(exchange, folder, warnings)});
    summary.push_back(
        {formats::kAsigt.name,
         exporting::ExportarAsignaturas(exchange, folder, components_->wwTableNomAsg, warnings)});
    summary.push_back({formats::kDiashorast.name,
                       exporting::ExportarTramos(exchange, folder, prompt_, warnings)});
    components_->closeAll();
    staged.putInPlace();
    return summary;
}

void ExportRun::saveReport(const report::ExportWarnings& warnings,
                           std::optional<report::ExportFailure> failure) {
    using report::Page;
    const bool beside = reportPath_->empty();
    const std::filesystem::path target =
        beside ? report::pageBeside(chosenFile_, Page::ExportReport) : *reportPath_;
    // The CSV only when the page leaves rows out.
    const bool shortened = report::exportReportIsShortened(warnings);
    const std::filesystem::path csvTarget =
        shortened ? report::csvBeside(target, Page::ExportReport) : "";
    const TableSetFolders folders(folder_);
    std::vector<std::string> earlierFiles;
    if (!failure) earlierFiles = tableFilesIn(folders.earlier);
    const report::ExportReportFacts facts{
        chosenFile_,       folder_,        std::move(failure), target,
        csvTarget,         emptySections_, folders.earlier,    std::move(earlierFiles),
        std::time(nullptr)};
    const std::string page = report::exportReportPage(warnings, facts);
    if (shortened) {
        report::CompanionFile csv(csvTarget);
        csv.write(report::exportWarningsCsv(warnings));
        runReport_ = report::saveReport(target, page, warnings.count(), &csv);
    } else {
        runReport_ = report::saveReport(target, page, warnings.count());
        // An earlier run's CSV would list warnings this page no longer has.
        if (runReport_->failure.empty()) report::removeCompanion(target, Page::ExportReport);
    }
    if (beside && runReport_->failure.empty())
        report::removeFormerPages(chosenFile_, Page::ExportReport);
}

}  // namespace mirvane::core
