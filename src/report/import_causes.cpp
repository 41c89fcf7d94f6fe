#include "report/import_causes.h"

#include <algorithm>
#include <unordered_map>

namespace mirvane::report {

KeptActivity::Key keyOf(Cause cause) {
    switch (cause) {
        case Cause::Slot:
            return KeptActivity::SlotKey;
        case Cause::Group:
            return KeptActivity::Codgrupo;
        case Cause::Subject:
            return KeptActivity::Asig;
        case Cause::Room:
            return KeptActivity::Aula;
        case Cause::DefaultCode:
        case Cause::TaskCode:
            break;
    }
    return KeptActivity::Tarea;
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

std::vector<CauseGroup> groupCauses(const ImportWarnings& warnings) {
    // Counted by the index of the kept text, named once at the end.
    std::array<std::unordered_map<std::uint32_t, std::size_t>, kCauseCount> keys;
    std::array<std::size_t, kCauseCount> activities{};
    for (const TeacherActivities* teacher : warnings.teachersWithProblems())
        for (const KeptActivity& kept : teacher->activities)
            for (Cause cause : Causes(kept)) {
                const auto at = static_cast<std::size_t>(cause);
                ++activities[at];
                ++keys[at][kept.keys[keyOf(cause)]];
            }
    std::vector<CauseGroup> groups;
    for (Cause cause : kCauses) {
        const auto at = static_cast<std::size_t>(cause);
        if (activities[at] == 0) continue;
        std::vector<KeyCount> counts;
        counts.reserve(keys[at].size());
        for (const auto& [key, n] : keys[at]) counts.emplace_back(warnings.keys()[key], n);
        groups.push_back({cause, activities[at], byFrequency(std::move(counts))});
    }
    return groups;
}

std::array<std::size_t, kCauseCount> causeCounts(const TeacherActivities& teacher) {
    std::array<std::size_t, kCauseCount> counts{};
    for (const KeptActivity& kept : teacher.activities)
        for (Cause cause : Causes(kept)) ++counts[static_cast<std::size_t>(cause)];
    return counts;
}

}  // namespace mirvane::report
