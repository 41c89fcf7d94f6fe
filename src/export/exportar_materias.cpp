#include "export/exportar_materias.h"

#include <string>
#include <unordered_map>

#include "base/text.h"
#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {

std::size_t ExportarMaterias(const formats::ExchangeRecords& exchange,
                             const std::filesystem::path& folder, ExportObserver* warnings) {
    namespace field = formats::asignomt;
    // The codes written so far, as read (full length), folded to lower case:
    // equal folds are exactly the codes equal without regard to letter case.
    // Each keeps the record that wrote it, whose code the warnings read again.
    const formats::SectionRecords records = exchange.section(formats::kMaterias);
    std::unordered_map<std::string, std::size_t> codes;
    codes.reserve(records.length());

    RowRule rule;
    rule.accept = [&](const Values& v, std::size_t index) {
        const auto [kept, isNew] = codes.try_emplace(text::toLower(v[1]), index);
        if (!isNew && warnings)
            warnings->droppedSubject({index + 1, v[0], v[1], v[3], kept->second + 1,
                                      formats::fieldValue(records.item(kept->second), 1)});
        return isNew;
    };
    rule.fill = [](Row& row, const Values& v) {
        row.setText(field::kCod, v[1]);
        row.setText(field::kCodlargo, v[2]);
        row.setText(field::kNombre, v[3]);
        row.setText(field::kMateria, v[0]);
        row.setBool(field::kEstarea, formats::isTaskSubject(v[0]));
    };
    return writeRecords(exchange, folder, {formats::kMaterias, formats::kAsignomt, 4, warnings},
                        rule);
}

}  // namespace mirvane::exporting
