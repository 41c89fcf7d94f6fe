#include "report/export_warnings.h"

#include <array>

namespace mirvane::report {

bool isMatchField(std::string_view field) {
    static constexpr std::array<std::string_view, 8> kMatchFields{
        "COD", "MATERIA", "ABREV", "CASIG", "CGRUP", "NIVEL", "CURSO", "DIHO"};
    for (std::string_view name : kMatchFields)
        if (name == field) return true;
    return false;
}

void ExportWarnings::beginTable(std::string_view table) {
    progress_.push_back({table, TableProgress::State::Partial, 0});
}

void ExportWarnings::endTable() {
    progress_.back().state = TableProgress::State::Complete;
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
    cuts_.push_back({table.name, field, std::string(value),
                     std::string(value.substr(0, formats::characterWidth(table, field))),
                     isMatchField(field), index + 1, 1});
}

std::size_t ExportWarnings::count() const {
    return dropped_.size() + skipped_.size() + cuts_.size() + slots_.size();
}

}  // namespace mirvane::report
