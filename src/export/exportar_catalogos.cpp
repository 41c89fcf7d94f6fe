#include "export/exportar_catalogos.h"

#include <string>

#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {

std::size_t ExportarProfesores(const formats::ExchangeRecords& exchange,
                               const std::filesystem::path& folder, ExportObserver* warnings) {
    RowRule rule;
    rule.fill = [](Row& row, const Values& v) {
        row.setText(formats::proft::kXEmpleado, v[0]);
        row.setText(formats::proft::kFTomapos, v[1]);
        row.setText(formats::proft::kNombre, v[2]);
        row.setText(formats::proft::kAbrev, v[3]);
    };
    return writeRecords(exchange, folder, {formats::kProfesores, formats::kProft, 4, warnings},
                        rule);
}

std::size_t ExportarAulas(const formats::ExchangeRecords& exchange,
                          const std::filesystem::path& folder, ExportObserver* warnings) {
    RowRule rule;
    rule.fill = [](Row& row, const Values& v) {
        row.setText(formats::aulat::kDepcentro, v[0]);
        row.setText(formats::aulat::kAbrev, v[1].empty() ? v[0] : v[1]);
        row.setText(formats::aulat::kNombre, v[2]);
        row.setText(formats::aulat::kEdificio, v[3]);
    };
    return writeRecords(exchange, folder, {formats::kAulas, formats::kAulat, 4, warnings}, rule);
}

std::size_t ExportarGrupos(const formats::ExchangeRecords& exchange,
                           const std::filesystem::path& folder, ExportObserver* warnings) {
    RowRule rule;
    rule.fill = [](Row& row, const Values& v) {
        const std::string nivel = formats::levelOrNiv(v[3]);
        row.setText(formats::grupost::kUnidad, v[0]);
        row.setText(formats::grupost::kAbrev, v[1]);
        row.setText(formats::grupost::kTurno, v[2]);
        row.setText(formats::grupost::kNivel, nivel);
        row.setText(formats::grupost::kCurso, v[4]);
        row.setText(formats::grupost::kGrupo, v[5]);
        // The parts at full length; only the joined text is cut to the field.
        row.setText(formats::grupost::kDescrip, v[2] + " " + nivel + " " + v[4] + " " + v[5]);
        row.setText(formats::grupost::kMarco, "0");
    };
    return writeRecords(exchange, folder, {formats::kGrupos, formats::kGrupost, 6, warnings}, rule);
}

}  // namespace mirvane::exporting
