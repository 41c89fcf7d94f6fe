#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "core/table_set.h"
#include "formats/work_tables.h"
#include "import/importar_solucion.h"
#include "report/report_file.h"
#include "xml/document.h"

// A whole import run, as the main window performs it and the command line
// too: load the chosen exchange document, build the result document from the
// timetabler's solution and the work tables, save it beside the chosen file.
namespace mirvane::core {

// Teachers and activities written, and where the result document is.
using ImportSummary = importing::ResultadoImportacion;

class ImportRun {
  public:
    explicit ImportRun(std::filesystem::path workFolder);

    // The whole run: nothing when no file exists at `chosenFile` (the caller
    // shows kNoFileMessage), otherwise load() and build(). Errors are not
    // caught: the caller reports them once.
    std::optional<ImportSummary> run(const std::filesystem::path& chosenFile);

    // The steps of run(), for a caller that does something around them (the
    // window sets the hourglass cursor before the document is loaded).
    void load(const std::filesystem::path& chosenFile);
    // Builds and saves the result document from the loaded one, once a change
    // of the work tables cut short is finished or undone. Whatever happens,
    // every table component is closed on return, and a failed build writes
    // no file.
    ImportSummary build();

    // What the last build found of a change an earlier run left half-done.
    Recovery recovery() const { return recovery_; }

    // Asks the next builds for a report of what the result document does not
    // carry faithfully, at `path`, or beside the chosen document when it is
    // empty (its name without the extension, then " - Informe de importación.html").
    // Without it a build writes none, and nothing else about it changes.
    void requestReport(std::filesystem::path path = {});
    // The report of the last build that saved its result; a failed build
    // changed nothing and writes none. A report that could not be saved
    // carries the reason instead.
    const std::optional<report::RunReport>& runReport() const { return runReport_; }

    // Asks the next builds for the timetable page beside the chosen document
    // (its name without the extension, then " - Horario.html"). Without it a
    // build writes none, and nothing else about it changes.
    void requestTimetable() { timetableRequested_ = true; }
    // The timetable page of the last build that saved its result, with the
    // number of lessons it marks as reaching Delphos empty or wrong.
    const std::optional<report::RunReport>& timetable() const { return timetable_; }

    formats::WorkTableComponents& components() { return components_; }

  private:
    std::filesystem::path workFolder_;
    std::filesystem::path chosenFile_;
    std::optional<std::filesystem::path> reportPath_;  // set when a report is asked for
    std::optional<report::RunReport> runReport_;
    bool timetableRequested_ = false;
    std::optional<report::RunReport> timetable_;
    std::unique_ptr<xml::Document> document_;  // replaced by each load
    Recovery recovery_ = Recovery::None;
    formats::WorkTableComponents components_;
};

}  // namespace mirvane::core
