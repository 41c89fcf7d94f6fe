#include "report/export_warnings.h"

#include <array>

namespace mirvane::report {

bool isReadBack(std::string_view table, std::string_view field) {
    struct Field {
        std::string_view table, field;
    };
    // The lookup keys of the import, and the codes it writes into the result.
    static constexpr std::array<Field, 16> kReadBack{{{"ASIGNOMT", "COD"},
                                                      {"ASIGNOMT", "MATERIA"},
                                                      {"PROFT", "ABREV"},
                                                      {"PROFT", "X_EMPLEADO"},
                                                      {"PROFT", "F_TOMAPOS"},
                                                      {"AULAT", "ABREV"},
                                                      {"AULAT", "DEPCENTRO"},
                                                      {"GRUPOST", "ABREV"},
                                                      {"GRUPOST", "UNIDAD"},
                                                      {"ASIGT", "CASIG"},
                                                      {"ASIGT", "CGRUP"},
                                                      {"ASIGT", "NIVEL"},
                                                      {"ASIGT", "CURSO"},
                                                      {"ASIGT", "MATERIA"},
                                                      {"DIASHORAST", "DIHO"},
                                                      {"DIASHORAST", "CODDIHO"}}};
    for (const Field& f : kReadBack)
        if (f.table == table && f.field == field) return true;
    return false;
}

bool isExpectedCut(const formats::TableSpec& table, std::string_view field) {
    return formats::characterWidth(table, field) == 1;
}

void ExportWarnings::beginTable(std::string_view table) {
    progress_.push_back({table, 0});
}

void ExportWarnings::droppedSubject(DroppedSubject subject) {
    dropped_.push_back(std::move(subject));
}

void ExportWarnings::skippedRecord(std::string_view section, std::size_t index,
                                   std::size_t fields) {
    skipped_.push_back({section, index + 1, fields});
}

void ExportWarnings::unreachableSlot(UnreachableSlot slot) {
    slots_.push_back(std::move(slot));
}

void ExportWarnings::cutValue(const formats::TableSpec& table, std::string_view field,
                              std::string_view value, std::size_t index) {
    auto [at, isNew] = cutIndex_.try_emplace({table.name, field, std::string(value)}, cuts_.size());
    if (!isNew) {
        ++cuts_[at->second].rows;
        return;
    }
    const bool expected = isExpectedCut(table, field);
    expectedCuts_ += expected;
    cuts_.push_back({table.name, field, std::string(value),
                     std::string(value.substr(0, formats::characterWidth(table, field))),
                     isReadBack(table.name, field), expected, index + 1, 1});
}

std::size_t ExportWarnings::count() const {
    return dropped_.size() + skipped_.size() + cuts_.size() - expectedCuts_ + slots_.size();
}

}  // namespace mirvane::report
