#include "report/school_words.h"

#include <array>
#include <cstdint>

#include <fmt/format.h>

#include "base/os_clock.h"
#include "base/text.h"

namespace mirvane::report {
namespace {

// Each work table with the section that fills it and what one row is.
struct TableNouns {
    std::string_view table, section, one, many;
};
constexpr std::array<TableNouns, 7> kTables{{
    {"ASIGNOMT", "MATERIAS", "materia", "materias"},
    {"PROFT", "PROFESORES", "profesor", "profesores"},
    {"AULAT", "AULAS", "aula", "aulas"},
    {"GRUPOST", "GRUPOS", "grupo", "grupos"},
    {"ASIGT", "ASIGNATURAS", "asignación de materia a grupo", "asignaciones de materia a grupo"},
    {"DIASHORAST", "TRAMOS", "tramo horario", "tramos horarios"},
    {"SOLUC", "", "clase del horario", "clases del horario"},
}};

struct FieldNoun {
    std::string_view table, field, words;
};
constexpr std::array<FieldNoun, 33> kFields{{
    {"ASIGNOMT", "COD", "abreviatura de la materia"},
    {"ASIGNOMT", "CODLARGO", "código largo de la materia"},
    {"ASIGNOMT", "NOMBRE", "nombre de la materia"},
    {"ASIGNOMT", "MATERIA", "código de la materia en Delphos"},
    {"PROFT", "ABREV", "abreviatura del profesor"},
    {"PROFT", "NOMBRE", "nombre del profesor"},
    {"PROFT", "X_EMPLEADO", "código de empleado"},
    {"PROFT", "F_TOMAPOS", "fecha de toma de posesión"},
    {"AULAT", "ABREV", "abreviatura del aula"},
    {"AULAT", "NOMBRE", "nombre del aula"},
    {"AULAT", "EDIFICIO", "edificio"},
    {"AULAT", "DEPCENTRO", "código de dependencia"},
    {"GRUPOST", "ABREV", "abreviatura del grupo"},
    {"GRUPOST", "TURNO", "turno"},
    {"GRUPOST", "NIVEL", "nivel"},
    {"GRUPOST", "CURSO", "curso"},
    {"GRUPOST", "GRUPO", "letra del grupo"},
    {"GRUPOST", "UNIDAD", "código de unidad"},
    {"GRUPOST", "DESCRIP", "descripción del grupo"},
    {"ASIGT", "CASIG", "abreviatura de la materia"},
    {"ASIGT", "CGRUP", "abreviatura del grupo"},
    {"ASIGT", "CAULA", "abreviatura del aula"},
    {"ASIGT", "TURNO", "turno"},
    {"ASIGT", "NIVEL", "nivel"},
    {"ASIGT", "CURSO", "curso"},
    {"ASIGT", "GRUPO", "letra del grupo"},
    {"ASIGT", "MATERIA", "código de la materia en Delphos"},
    {"ASIGT", "CTAREA", "código de tarea"},
    {"DIASHORAST", "DIHO", "clave del tramo"},
    {"DIASHORAST", "CODDIHO", "código del tramo en Delphos"},
    {"DIASHORAST", "HORA", "número del tramo"},
    {"DIASHORAST", "TEXTOHOR", "texto del tramo"},
    {"DIASHORAST", "MINUTOS", "minutos del tramo"},
}};

constexpr std::array<std::string_view, 12> kMonths{
    "enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
    "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};

constexpr std::array<std::string_view, 7> kWeekdays{"lunes",   "martes", "miércoles", "jueves",
                                                    "viernes", "sábado", "domingo"};

const TableNouns* nounsOf(std::string_view table, std::string_view section) {
    for (const TableNouns& nouns : kTables)
        if ((!table.empty() && nouns.table == table) ||
            (!section.empty() && nouns.section == section))
            return &nouns;
    return nullptr;
}

}  // namespace

std::string counted(std::size_t n, std::string_view one, std::string_view many) {
    return fmt::format("{} {}", n, n == 1 ? one : many);
}

std::string_view weekdayName(std::string_view digit) {
    if (digit.size() != 1 || digit[0] < '1' || digit[0] > '7') return {};
    return kWeekdays[static_cast<std::size_t>(digit[0] - '1')];
}

std::string slotOrdinal(long number) {
    // Primer and tercer lose their ending before a noun, and so do the
    // ordinals that end in them (vigésimo primer), but not undécimo.
    const long last = number % 10;
    const bool apocope = (last == 1 || last == 3) && number % 100 != 11;
    return std::to_string(number) + (apocope ? ".er" : ".º") + " tramo";
}

std::string lessonWhen(std::string_view dia, std::string_view hora) {
    if (text::isBlank(dia) && text::isBlank(hora)) return {};
    std::int32_t number = 0;
    const bool isNumber = text::tryToInt(hora, number) && number > 0;
    const std::string_view day = weekdayName(text::trim(dia));
    return (day.empty() ? "día " + text::toUtf8(dia) : std::string(day)) + ", " +
           (isNumber ? slotOrdinal(number) : "tramo " + text::toUtf8(hora));
}

std::string slotKeyWhen(std::string_view key) {
    if (key.size() < 2 || weekdayName(key.substr(0, 1)).empty()) return text::toUtf8(key);
    return lessonWhen(key.substr(0, 1), key.substr(1));
}

std::string tableRows(std::string_view table, std::size_t rows) {
    const TableNouns* nouns = nounsOf(table, {});
    return nouns ? counted(rows, nouns->one, nouns->many) : counted(rows, table, table);
}

std::string sectionRecords(std::string_view section, std::size_t records) {
    const TableNouns* nouns = nounsOf({}, section);
    return nouns ? counted(records, nouns->one, nouns->many) : counted(records, section, section);
}

std::string_view tableNoun(std::string_view table) {
    const TableNouns* nouns = nounsOf(table, {});
    return nouns ? nouns->many : table;
}

std::string_view sectionNoun(std::string_view section) {
    const TableNouns* nouns = nounsOf({}, section);
    return nouns ? nouns->many : section;
}

std::string_view fieldWords(std::string_view table, std::string_view field) {
    for (const FieldNoun& noun : kFields)
        if (noun.table == table && noun.field == field) return noun.words;
    return field;
}

std::string listed(const std::vector<std::string>& items, std::string_view last) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? last : std::string_view(", ");
        out += items[i];
    }
    return out;
}

std::string madeOn(std::time_t made) {
    const std::tm local = os::localTime(made);
    return fmt::format("{} de {} de {} a las {:02}:{:02}", local.tm_mday,
                       kMonths[static_cast<std::size_t>(local.tm_mon) % kMonths.size()],
                       local.tm_year + 1900, local.tm_hour, local.tm_min);
}

}  // namespace mirvane::report
