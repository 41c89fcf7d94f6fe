#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "export/start_hour_prompt.h"
#include "formats/work_tables.h"
#include "xml/document.h"

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

    const xml::Document* document() const { return document_.get(); }
    formats::WorkTableComponents& components() { return components_; }

  private:
    std::filesystem::path folder_;
    exporting::StartHourPrompt& prompt_;
    std::unique_ptr<xml::Document> document_;  // replaced by each load
    formats::WorkTableComponents components_;
};

}  // namespace mirvane::core
