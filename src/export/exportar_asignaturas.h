#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dbf/table.h"
#include "export/export_observer.h"
#include "export/record_loop.h"
#include "formats/exchange.h"

namespace mirvane::exporting {

// ASIGT from "ASIGNATURAS": one row per assignment, with its hours, the
// session pattern and the task code. Task subjects are looked up in ASIGNOMT,
// which ExportarMaterias has just written, through `wwTableNomAsg`; the
// component is opened on the first lookup and left open. Returns the number
// of rows written; given warnings, records in them the values cut.
std::size_t ExportarAsignaturas(const formats::ExchangeRecords& exchange,
                                const std::filesystem::path& folder, dbf::Table& wwTableNomAsg,
                                ExportObserver* warnings = nullptr);

// HORAS for a minutes value: the minutes over 60, at least 1.0; an empty value
// gives 1.0, a text that is not a whole number raises the conversion error,
// saying where the value is when `place` names it.
double hoursFromMinutes(std::string_view minutes, const ValuePlace& place = {});

// SESIONES for a number of hours: n "1"s for n = ceil(hours) up to 13; from 14
// on, the decimal n - 13 followed by thirteen "1"s.
std::string sessionPattern(double hours);

// CTAREA of a subject code: "LE" for a subject that is not a task; for a task,
// the COD of the first ASIGNOMT row (in stored order) whose MATERIA equals the
// code exactly, or the code itself when no row does.
class TaskCodes {
  public:
    explicit TaskCodes(dbf::Table& wwTableNomAsg) : table_(wwTableNomAsg) {}
    std::string taskCode(const std::string& materia);

  private:
    // One scan of the table instead of one per lookup; the first row of each
    // MATERIA is kept, so every lookup finds what a scan from the top would.
    void buildIndex();
    dbf::Table& table_;
    std::optional<std::unordered_map<std::string, std::string>> firstCodeByMateria_;
};

}  // namespace mirvane::exporting
