#include "report/import_causes.h"

#include <algorithm>

namespace mirvane::report {

const std::string& keyOf(const ActivityCheck& check, Cause cause) {
    switch (cause) {
        case Cause::Slot:
            return check.slotKey;
        case Cause::Group:
            return check.codgrupo;
        case Cause::Subject:
            return check.asig;
        case Cause::Room:
            return check.aula;
        case Cause::DefaultCode:
        case Cause::TaskCode:
            break;
    }
    return check.tarea;
}

namespace {

struct CauseTexts {
    std::string_view description, shortName;
};

// In the order of Cause.
constexpr std::array<CauseTexts, kCauseCount> kCauseTexts{{
    {"N_DIASEMANA y X_TRAMO vacíos: ningún tramo de DIASHORAST tiene el DIHO buscado (DIA y "
     "HORA de SOLUC)",
     "Tramo"},
    {"X_UNIDAD vacío: el grupo (CODGRUPO de SOLUC) no está en GRUPOST", "Grupo"},
    {"X_MATERIAOMC vacío: la asignatura (ASIG de SOLUC) no está en ASIGT ni con su grupo ni con "
     "su nivel y curso, ni en ASIGNOMT",
     "Asignatura"},
    {"X_DEPCENTRO vacío: el aula (AULA de SOLUC) no está en AULAT", "Aula"},
    {"X_ACTIVIDAD es G439, el código por omisión: la tarea (TAREA de SOLUC) está vacía o su "
     "asignatura de ASIGNOMT no tiene MATERIA",
     "Actividad G439"},
    {"X_ACTIVIDAD lleva la tarea tal cual: ninguna asignatura de ASIGNOMT tiene ese código",
     "Actividad tal cual"},
}};

}  // namespace

std::string_view causeDescription(Cause cause) {
    return kCauseTexts[static_cast<std::size_t>(cause)].description;
}

std::string_view causeShortName(Cause cause) {
    return kCauseTexts[static_cast<std::size_t>(cause)].shortName;
}

std::vector<KeyCount> byFrequency(std::vector<KeyCount> counts) {
    std::sort(counts.begin(), counts.end(), [](const KeyCount& a, const KeyCount& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    return counts;
}

}  // namespace mirvane::report
