#include "core/import_run.h"

#include "base/error.h"
#include "core/run_common.h"
#include "formats/exchange.h"
#include "report/import_report.h"
#include "report/timetable_page.h"

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
    timetable_.reset();
    recovery_ = recoverInterruptedChange(workFolder_);
    // A build changes the document in place: the next one needs a fresh load.
    std::unique_ptr<xml::Document> document = std::move(document_);

    std::filesystem::path reportTarget, timetableTarget;
    if (reportPath_)
        reportTarget = reportPath_->empty()
                           ? report::reportBeside(chosenFile_, report::kPrefijoInformeImportacion)
                           : *reportPath_;
    if (timetableRequested_)
        timetableTarget = report::reportBeside(chosenFile_, report::kPrefijoHorario);

    // The CSV of the affected activities is written while the build goes,
    // and put in place with the page once the result document is.
    const std::filesystem::path csvTarget = report::csvBeside(reportTarget);
    std::optional<report::CompanionFile> csv;
    std::optional<report::ImportWarnings> warnings;
    if (reportPath_) {
        csv.emplace(csvTarget);
        warnings.emplace(csv->sink(), report::ImportWarnings::Recording::Beside);
    }
    std::optional<report::Timetable> timetable;
    if (timetableRequested_) timetable.emplace();
    ImportSummary summary = importing::ImportarSolucion(*document, chosenFile_, components_,
                                                        warnings ? &*warnings : nullptr,
                                                        timetable ? &*timetable : nullptr);

    if (warnings) {
        warnings->finish();
        const std::string page = report::importReportPage(
            *warnings,
            {chosenFile_, summary.archivo, workFolder_, reportTarget, csvTarget, timetableTarget});
        runReport_ = report::saveReport(reportTarget, page, warnings->count(), &*csv);
        warnings.reset();
    }
    if (timetable) {
        std::size_t marked = 0;
        for (const report::TimetableLesson& lesson : timetable->lessons())
            marked += !lesson.activity.faithful();
        const report::TimetableFacts facts{chosenFile_, summary.archivo, timetableTarget,
                                           reportTarget};
        auto page = [&](const report::PieceSink& sink) {
            report::writeTimetablePage(*timetable, facts, sink);
        };
        timetable_ = report::saveReport(timetableTarget, page, marked);
    }
    return summary;
}

}  // namespace mirvane::core
