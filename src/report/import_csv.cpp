#include "report/import_csv.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "report/csv.h"

namespace mirvane::report {
namespace {

constexpr std::size_t kPiece = 1 << 16;

char* put(char* at, std::string_view bytes) {
    std::memcpy(at, bytes.data(), bytes.size());
    return at + bytes.size();
}

// A key is a few bytes: copied in two overlapping moves of fixed size, as the
// C library does, without calling it nine times a row.
char* putShort(char* at, std::string_view bytes) {
    const char* from = bytes.data();
    const std::size_t n = bytes.size();
    const auto two = [&](auto word) {
        std::memcpy(&word, from, sizeof word);
        std::memcpy(at, &word, sizeof word);
        std::memcpy(&word, from + n - sizeof word, sizeof word);
        std::memcpy(at + n - sizeof word, &word, sizeof word);
    };
    if (n > 16)
        std::memcpy(at, from, n);
    else if (n >= 8)
        two(std::uint64_t{});
    else if (n >= 4)
        two(std::uint32_t{});
    else if (n > 0) {
        at[0] = from[0];
        at[n / 2] = from[n / 2];
        at[n - 1] = from[n - 1];
    }
    return at + n;
}

}  // namespace

ImportActivitiesCsv::ImportActivitiesCsv(PieceSink sink)
    : sink_(std::move(sink)), rows_(2 * kPiece, '\0') {
    std::string header(csv::kByteOrderMark);
    csv::appendRow(
        header, {"Profesor", "ABREV", "X_EMPLEADO", "EMPLEADO", "ACTIVIDAD", "Qué falla", "TAREA",
                 "DIA", "HORA", "DIHO buscado", "AULA", "CODGRUPO", "ASIG", "NIVEL", "CURSO"});
    append(header);
}

char* ImportActivitiesCsv::room(std::size_t bytes) {
    if (used_ + bytes > rows_.size()) [[unlikely]]
        rows_.resize(2 * (used_ + bytes));
    return rows_.data() + used_;
}

void ImportActivitiesCsv::append(std::string_view bytes) {
    used_ = static_cast<std::size_t>(put(room(bytes.size()), bytes) - rows_.data());
}

void ImportActivitiesCsv::teacher(const Teacher& teacher, std::size_t number) {
    teacher_.clear();
    for (const std::string* field : {&teacher.nombre, &teacher.abrev, &teacher.xEmpleado}) {
        csv::appendWindows1252Field(teacher_, *field);
        teacher_ += ';';
    }
    teacher_ += "EMPLEADO_" + std::to_string(number);
}

const std::string& ImportActivitiesCsv::failures(const ActivityCheck& check) {
    const Causes causes(check);
    std::optional<std::string>& names = failures_[causes.bits()];
    if (!names) [[unlikely]] {
        std::string joined;
        for (Cause cause : causes)
            joined += (joined.empty() ? "" : ", ") + std::string(causeShortName(cause));
        names = csv::field(joined);
    }
    return *names;
}

void ImportActivitiesCsv::activity(std::size_t number, const ActivityCheck& check) {
    // Thirty thousand rows and more: each is written in place, its keys
    // copied as they are checked and converted only when they must be.
    const std::array<const std::string*, 9> keys{&check.tarea,   &check.dia,   &check.hora,
                                                 &check.slotKey, &check.aula,  &check.codgrupo,
                                                 &check.asig,    &check.nivel, &check.curso};
    const std::string& failed = failures(check);
    constexpr std::string_view kActividad = ";ACTIVIDAD_";
    constexpr std::size_t kNumberDigits = 20;
    // A key grows at most threefold in UTF-8, plus its quotes and apostrophe.
    std::size_t bound = teacher_.size() + kActividad.size() + kNumberDigits + 1 + failed.size() + 2;
    for (const std::string* key : keys) bound += 1 + 3 * key->size() + 3;
    char* at = room(bound);
    at = put(at, teacher_);
    at = put(at, kActividad);
    at = std::to_chars(at, at + kNumberDigits, number).ptr;
    *at++ = ';';
    at = put(at, failed);
    char* const keysStart = at;
    bool formula = false;
    for (const std::string* key : keys) {
        *at++ = ';';
        at = putShort(at, *key);
        formula |= csv::looksLikeFormula(*key);
    }
    if (formula || !csv::arePlainFields(std::string_view(keysStart, at - keysStart), keys.size()))
        [[unlikely]] {
        at = keysStart;
        for (const std::string* key : keys) {
            converted_.assign(1, ';');
            csv::appendWindows1252Field(converted_, *key);
            at = put(at, converted_);
        }
    }
    at = put(at, "\r\n");
    used_ = static_cast<std::size_t>(at - rows_.data());
    // Pieces of this size go to the file without another copy.
    if (used_ >= kPiece) [[unlikely]]
        finish();
}

void ImportActivitiesCsv::finish() {
    if (used_) sink_(std::string_view(rows_.data(), used_));
    used_ = 0;
}

}  // namespace mirvane::report
