#include "export/exportar_asignaturas.h"

#include <cmath>

#include "base/text.h"
#include "export/record_loop.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

constexpr std::int64_t kPlainSessions = 13;

}  // namespace

std::size_t ExportarAsignaturas(const formats::ExchangeRecords& exchange,
                                const std::filesystem::path& folder, dbf::Table& wwTableNomAsg,
                                ExportObserver* warnings) {
    namespace field = formats::asigt;
    TaskCodes taskCodes(wwTableNomAsg);
    RowRule rule;
    rule.fill = [&taskCodes](Row& row, const Values& v) {
        row.setText(field::kCasig, v[0]);
        row.setText(field::kCgrup, v[1]);
        row.setText(field::kCaula, v[2]);
        row.setText(field::kTurno, v[3]);
        row.setText(field::kNivel, formats::levelOrNiv(v[4]));
        row.setText(field::kCurso, v[5]);
        row.setText(field::kGrupo, v[6]);
        const double hours = hoursFromMinutes(v[7], row.place("8 (minutos)"));
        row.setFloat(field::kHoras, hours);
        row.setText(field::kSesiones, sessionPattern(hours));
        row.setText(field::kMateria, v[8]);
        row.setText(field::kCtarea, taskCodes.taskCode(v[8]));
    };
    return writeRecords(exchange, folder, {formats::kAsignaturas, formats::kAsigt, 9, warnings},
                        rule);
}

double hoursFromMinutes(std::string_view minutes, const ValuePlace& place) {
    std::int32_t whole = 0;
    if (!minutes.empty() && !text::tryToInt(minutes, whole)) {
        if (place.section.empty()) text::failNotInteger(minutes);
        failNotInteger(minutes, place);
    }
    const double hours = whole / 60.0;
    return hours >= 1.0 ? hours : 1.0;
}

std::string sessionPattern(double hours) {
    const auto n = static_cast<std::int64_t>(std::ceil(hours));
    if (n <= kPlainSessions) return std::string(static_cast<std::size_t>(n), '1');
    return std::to_string(n - kPlainSessions) + std::string(kPlainSessions, '1');
}

std::string TaskCodes::taskCode(const std::string& materia) {
    if (!formats::isTaskSubject(materia)) return std::string(formats::kNotATask);
    if (!firstCodeByMateria_) buildIndex();
    const auto found = firstCodeByMateria_->find(materia);
    return found != firstCodeByMateria_->end() ? found->second : materia;
}

void TaskCodes::buildIndex() {
    std::unordered_map<std::string, std::string> index;
    if (!table_.active()) table_.open();
    // Only task subjects are looked up.
    for (table_.first(); !table_.eof(); table_.next())
        if (std::string materia = table_.asText(formats::asignomt::kMateria);
            formats::isTaskSubject(materia))
            index.try_emplace(std::move(materia),
                              table_.asText(formats::asignomt::kCod));  // keeps the first
    firstCodeByMateria_ = std::move(index);
}

}  // namespace mirvane::exporting
