#include "export/exportar_materias.h"

#include <string>
#include <unordered_set>

#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"
#include "services/text.h"

namespace mirvane::exporting {

std::size_t ExportarMaterias(const xml::Document& document, const std::filesystem::path& folder) {
    // The codes written so far, as read (full length), folded to lower case:
    // equal folds are exactly the codes equal without regard to letter case.
    std::unordered_set<std::string> codes;

    RowRule rule;
    rule.accept = [&codes](const Values& v) { return codes.insert(text::toLower(v[1])).second; };
    rule.fill = [](dbf::Table& table, const Values& v) {
        table.setText("COD", v[1]);
        table.setText("CODLARGO", v[2]);
        table.setText("NOMBRE", v[3]);
        table.setText("MATERIA", v[0]);
        table.setBool("ESTAREA", formats::isTaskSubject(v[0]));
    };
    return writeRecords(document, folder, {formats::kMaterias, formats::kAsignomt, 4}, rule);
}

}  // namespace mirvane::exporting
