#include "export/exportar_catalogos.h"

#include <string>

#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {

std::size_t ExportarProfesores(const xml::Document& document, const std::filesystem::path& folder) {
    RowRule rule;
    rule.fill = [](dbf::Table& table, const Values& v) {
        table.setText("X_EMPLEADO", v[0]);
        table.setText("F_TOMAPOS", v[1]);
        table.setText("NOMBRE", v[2]);
        table.setText("ABREV", v[3]);
    };
    return writeRecords(document, folder, {formats::kProfesores, formats::kProft, 4}, rule);
}

std::size_t ExportarAulas(const xml::Document& document, const std::filesystem::path& folder) {
    RowRule rule;
    rule.fill = [](dbf::Table& table, const Values& v) {
        table.setText("DEPCENTRO", v[0]);
        table.setText("ABREV", v[1].empty() ? v[0] : v[1]);
        table.setText("NOMBRE", v[2]);
        table.setText("EDIFICIO", v[3]);
    };
    return writeRecords(document, folder, {formats::kAulas, formats::kAulat, 4}, rule);
}

std::size_t ExportarGrupos(const xml::Document& document, const std::filesystem::path& folder) {
    RowRule rule;
    rule.fill = [](dbf::Table& table, const Values& v) {
        const std::string nivel = formats::levelOrNiv(v[3]);
        table.setText("UNIDAD", v[0]);
        table.setText("ABREV", v[1]);
        table.setText("TURNO", v[2]);
        table.setText("NIVEL", nivel);
        table.setText("CURSO", v[4]);
        table.setText("GRUPO", v[5]);
        // The parts at full length; only the joined text is cut to the field.
        table.setText("DESCRIP", v[2] + " " + nivel + " " + v[4] + " " + v[5]);
        table.setText("MARCO", "0");
    };
    return writeRecords(document, folder, {formats::kGrupos, formats::kGrupost, 6}, rule);
}

}  // namespace mirvane::exporting
