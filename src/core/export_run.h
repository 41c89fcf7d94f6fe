#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/table_set.h"
#include "export/start_hour_prompt.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"
#include "report/export_report.h"
#include "report/report_file.h"

// A whole export run, as the main window performs it and the command line too:
// load the chosen exchange document, write the six work tables in their order
// beside the work folder's, put all six in place together, report how many
// rows each one got. A run that stops at any point leaves the work folder's
// tables as they were.
namespace mirvane::core {

struct TableRows {
    std::string_view table;  // "ASIGNOMT", ...
    std::size_t rows = 0;
    bool operator==(const TableRows&) const = default;
};

// The tables written, in the order written.
using ExportSummary = std::vector<TableRows>;

class ExportRun {
  public:
    ExportRun(std::filesystem::path workFolder, exporting::StartHourPrompt& prompt);

    // The whole run: nothing when no file exists at `chosenFile` (the caller
    // shows kNoFileMessage), otherwise load() and writeTables(). Errors are
    // not caught: the caller reports them once.
    std::optional<ExportSummary> run(const std::filesystem::path& chosenFile);

    // The steps of run(), for a caller that does something between them (the
    // window sets the hourglass cursor once the document is loaded). The load
    // refuses a document that has none of the six sections: it is no
    // exchange document, and would empty every table.
    void load(const std::filesystem::path& chosenFile);
    // Finishes or undoes a change an earlier run left half-done, calls the six
    // writers in their order on tables of their own, and puts the six in the
    // work folder together, keeping those they replace. Whatever happens,
    // every table component is closed on return; a run that stops leaves the
    // work folder's tables as they were, and nothing of its own behind.
    ExportSummary writeTables();

    // What the last writeTables() found of a change an earlier run left half-done.
    Recovery recovery() const { return recovery_; }

    // Asks the next runs for a report of what they do not carry over
    // faithfully, at `path`, or beside the chosen document when it is empty
    // (InformeExportacion followed by its file name and ".html"). Without
    // it a run writes none, and nothing else about a run changes with it.
    void requestReport(std::filesystem::path path = {});
    // The report of the last run that wrote tables, also of one that failed
    // (it then opens with what the work folder holds); nothing when none was
    // asked for. A report that could not be saved does not fail the run: it
    // carries the reason instead.
    const std::optional<report::RunReport>& runReport() const { return runReport_; }

    // The table components of the last run that wrote tables, bound to them.
    std::optional<formats::WorkTableComponents>& components() { return components_; }

  private:
    ExportSummary writeAll(report::ExportWarnings* warnings);
    void saveReport(const report::ExportWarnings& warnings,
                    std::optional<report::ExportFailure> failure);

    std::filesystem::path folder_;
    exporting::StartHourPrompt& prompt_;
    std::filesystem::path chosenFile_;
    std::optional<std::filesystem::path> reportPath_;  // set when a report is asked for
    std::optional<report::RunReport> runReport_;
    std::optional<formats::ExchangeRecords> exchange_;  // replaced by each load
    std::vector<std::string_view> emptySections_;       // of the document loaded
    Recovery recovery_ = Recovery::None;
    std::optional<formats::WorkTableComponents> components_;
};

}  // namespace mirvane::core
