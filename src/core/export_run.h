#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "export/start_hour_prompt.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"
#include "report/export_report.h"
#include "report/report_file.h"

// A whole export run, as the main window performs it and the command line too:
// load the chosen exchange document, write the six work tables in their order,
// report how many rows each one got.
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
    // window sets the hourglass cursor once the document is loaded).
    void load(const std::filesystem::path& chosenFile);
    // Calls the six writers in their order. Whatever happens, every table
    // component is closed on return; the tables written before a failure stay
    // complete, and the failing one keeps the rows posted before it.
    ExportSummary writeTables();

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

    formats::WorkTableComponents& components() { return components_; }

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
    formats::WorkTableComponents components_;
};

}  // namespace mirvane::core
