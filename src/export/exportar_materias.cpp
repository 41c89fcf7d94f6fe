#include "export/exportar_materias.h"

#include <string>
#include <unordered_set>

#include "base/text.h"
#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {
namespace field = formats::asignomt;
}  // namespace

std::size_t ExportarMaterias(const xml::Document& document, const std::filesystem::path& folder) {
    // The codes written so far, as read (full length), folded to lower case:
    // equal folds are exactly the codes equal without regard to letter case.
    std::unordered_set<std::string> codes;

    RowRule rule;
    rule.accept = [&codes](const Values& v) { return codes.insert(text::toLower(v[1])).second; };
    rule.fill = [](dbf::Table& table, const Values& v) {
        table.setText(field::kCod, v[1]);
        table.setText(field::kCodlargo, v[2]);
        table.setText(field::kNombre, v[3]);
        table.setText(field::kMateria, v[0]);
        table.setBool(field::kEstarea, formats::isTaskSubject(v[0]));
    };
    return writeRecords(document, folder, {formats::kMaterias, formats::kAsignomt, 4}, rule);
}

}  // namespace mirvane::exporting
