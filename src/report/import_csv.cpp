#include "report/import_csv.h"

#include <array>
#include <charconv>
#include <cstring>
#include <iterator>

#include "base/text.h"
#include "report/csv.h"

namespace mirvane::report {
namespace {

constexpr std::size_t kPiece = 1 << 16;

}  // namespace

ImportActivitiesCsv::ImportActivitiesCsv(PieceSink sink) : sink_(std::move(sink)) {
    text_ = csv::kByteOrderMark;
    csv::appendRow(
        text_, {"Profesor", "ABREV", "X_EMPLEADO", "EMPLEADO", "ACTIVIDAD", "Qué falla", "TAREA",
                "DIA", "HORA", "DIHO buscado", "AULA", "CODGRUPO", "ASIG", "NIVEL", "CURSO"});
}

void ImportActivitiesCsv::teacher(const Teacher& teacher, std::size_t number) {
    teacher_.clear();
    csv::appendRow(teacher_,
                   {text::toUtf8(teacher.nombre), text::toUtf8(teacher.abrev),
                    text::toUtf8(teacher.xEmpleado), "EMPLEADO_" + std::to_string(number)});
    teacher_.resize(teacher_.size() - 2);  // the row goes on
}

const std::string& ImportActivitiesCsv::failures(const ActivityCheck& check) {
    const Causes causes(check);
    std::size_t set = 0;
    for (Cause cause : causes) set |= std::size_t{1} << static_cast<std::size_t>(cause);
    std::optional<std::string>& names = failures_[set];
    if (!names) {
        std::string joined;
        for (Cause cause : causes)
            joined += (joined.empty() ? "" : ", ") + std::string(causeShortName(cause));
        names = csv::field(joined);
    }
    return *names;
}

void ImportActivitiesCsv::activity(std::size_t number, const ActivityCheck& check) {
    // Thirty thousand rows and more: each is measured, then written in place.
    const std::array<const std::string*, 9> keys{&check.tarea,   &check.dia,   &check.hora,
                                                 &check.slotKey, &check.aula,  &check.codgrupo,
                                                 &check.asig,    &check.nivel, &check.curso};
    std::array<std::string_view, keys.size()> fields;
    char digits[24];
    const char* digitsEnd = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    const std::string_view numberText(digits, static_cast<std::size_t>(digitsEnd - digits));
    const std::string& failed = failures(check);
    std::size_t length = teacher_.size() + std::string_view(";ACTIVIDAD_").size() +
                         numberText.size() + 1 + failed.size() + 2;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        fields[i] = *keys[i];
        if (!csv::isPlainField(fields[i])) {
            converted_[i].clear();
            csv::appendWindows1252Field(converted_[i], fields[i]);
            fields[i] = converted_[i];
        }
        length += 1 + fields[i].size();
    }
    const std::size_t start = text_.size();
    text_.resize(start + length);
    char* at = text_.data() + start;
    const auto put = [&at](std::string_view piece) {
        std::memcpy(at, piece.data(), piece.size());
        at += piece.size();
    };
    put(teacher_);
    put(";ACTIVIDAD_");
    put(numberText);
    put(";");
    put(failed);
    for (std::string_view field : fields) {
        put(";");
        put(field);
    }
    put("\r\n");
    if (text_.size() >= kPiece) {
        sink_(text_);
        text_.clear();
    }
}

void ImportActivitiesCsv::finish() {
    if (!text_.empty()) sink_(text_);
    text_.clear();
}

}  // namespace mirvane::report
