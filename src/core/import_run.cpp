#include "core/import_run.h"

#include <ctime>
#include <vector>

#include "base/error.h"
#include "core/chosen_file.h"
#include "formats/exchange.h"
#include "report/import_report.h"
#include "report/timetable_page.h"

namespace mirvane::core {
namespace {

// Tells every page that asked for it what the build finds.
class Observers final : public importing::ImportObserver {
  public:
    void add(ImportObserver& observer) { observers_.push_back(&observer); }
    // Whom the build tells: the one page asked for, or every one through
    // this, or nobody.
    ImportObserver* told() {
        if (observers_.size() < 2) return observers_.empty() ? nullptr : observers_.front();
        return this;
    }

    void expectLessons(std::size_t rows) override {
        for (ImportObserver* o : observers_) o->expectLessons(rows);
    }
    void beginTeacher(const importing::Teacher& teacher, std::size_t number) override {
        for (ImportObserver* o : observers_) o->beginTeacher(teacher, number);
    }
    void lesson(std::size_t number, const importing::ActivityCheck& check,
                const importing::ResolvedCodes& codes) override {
        for (ImportObserver* o : observers_) o->lesson(number, check, codes);
    }
    void unplacedLesson(const importing::UnplacedLesson& lesson) override {
        for (ImportObserver* o : observers_) o->unplacedLesson(lesson);
    }
    void lessonWithoutTeacher(const std::string& prof) override {
        for (ImportObserver* o : observers_) o->lessonWithoutTeacher(prof);
    }
    void subject(const std::string& cod, const std::string& nombre) override {
        for (ImportObserver* o : observers_) o->subject(cod, nombre);
    }
    void room(const std::string& abrev, const std::string& nombre) override {
        for (ImportObserver* o : observers_) o->room(abrev, nombre);
    }
    void slot(const importing::SlotRow& row) override {
        for (ImportObserver* o : observers_) o->slot(row);
    }

  private:
    std::vector<ImportObserver*> observers_;
};

}  // namespace

ImportRun::ImportRun(std::filesystem::path workFolder)
    : workFolder_(std::move(workFolder)), components_(workFolder_) {}

std::optional<ImportSummary> ImportRun::run(const std::filesystem::path& chosenFile) {
    return runOnChosenFile(*this, chosenFile, &ImportRun::build);
}

void ImportRun::load(const std::filesystem::path& chosenFile) {
    document_.reset();  // the previous run's document goes first
    chosenFile_ = chosenFile;
    auto document = std::make_unique<xml::Document>();
    // The build replaces SALIDAS: its old content is checked but not kept.
    document->load(chosenFile, {.emptiedSection = formats::kSalidas});
    document_ = std::move(document);
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

    using report::Page;
    std::filesystem::path reportTarget, timetableTarget;
    if (reportPath_)
        reportTarget = reportPath_->empty() ? report::pageBeside(chosenFile_, Page::ImportReport)
                                            : *reportPath_;
    if (timetableRequested_) timetableTarget = report::pageBeside(chosenFile_, Page::Timetable);

    // The CSV of the affected activities is written while the build goes,
    // and put in place with the page once the result document is.
    const std::filesystem::path csvTarget = report::csvBeside(reportTarget, Page::ImportReport);
    std::optional<report::CompanionFile> csv;
    std::optional<report::ImportWarnings> warnings;
    std::optional<report::Timetable> timetable;
    Observers observers;
    if (reportPath_) {
        csv.emplace(csvTarget);
        observers.add(warnings.emplace(csv->sink()));
    }
    if (timetableRequested_) observers.add(timetable.emplace());
    ImportSummary summary =
        importing::ImportarSolucion(*document, chosenFile_, components_, observers.told());

    if (warnings) {
        warnings->finish();
        const std::string page = report::importReportPage(
            *warnings, {chosenFile_, summary.archivo, workFolder_, reportTarget, csvTarget,
                        timetableTarget, std::time(nullptr)});
        runReport_ = report::saveReport(reportTarget, page, warnings->count(), &*csv);
        warnings.reset();
        if (reportPath_->empty() && runReport_->failure.empty())
            report::removeFormerPages(chosenFile_, Page::ImportReport);
    }
    if (timetable) {
        const report::TimetableFacts facts{chosenFile_, summary.archivo, timetableTarget,
                                           reportTarget, std::time(nullptr)};
        auto page = [&](const report::PieceSink& sink) {
            report::writeTimetablePage(*timetable, facts, sink);
        };
        timetable_ = report::saveReport(timetableTarget, page, timetable->marked());
        if (timetable_->failure.empty()) report::removeFormerPages(chosenFile_, Page::Timetable);
    }
    return summary;
}

}  // namespace mirvane::core
