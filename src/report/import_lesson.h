#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// One lesson of an import as the build resolved it: its keys in SOLUC, which
// of its lookups found nothing, and the codes sent to Delphos. The report and
// the timetable page are made of these; recording them never changes what
// the build writes.
namespace mirvane::report {

// How a lesson's "X_ACTIVIDAD" came out.
enum class ActivityCode {
    Found,     // the MATERIA of the task's subject, or the plain lesson code
    TaskCode,  // a task code that no subject has, sent as it is
    Default,   // the default code, the task being blank or its subject's MATERIA blank
};

// One lesson's keys and which of its lookups found nothing.
struct ActivityCheck {
    std::string tarea, dia, hora, aula, codgrupo, asig, nivel, curso;  // from SOLUC
    std::string slotKey;
    ActivityCode actividad = ActivityCode::Found;
    bool slotFound = true;     // "N_DIASEMANA" and "X_TRAMO"
    bool roomFound = true;     // "X_DEPCENTRO"
    bool groupFound = true;    // "X_UNIDAD"
    bool subjectFound = true;  // "X_MATERIAOMC" not blank

    bool faithful() const {
        return actividad == ActivityCode::Found && slotFound && roomFound && groupFound &&
               subjectFound;
    }
};

// The six fields a lesson's activity record carries to Delphos.
struct ResolvedCodes {
    std::string actividad, diasemana, tramo, depcentro, unidad, materiaomc;
};

// A teacher of PROFT, as the pages name them.
struct Teacher {
    std::string xEmpleado, abrev, nombre;
};

// A lesson as kept for later: thousands of lessons share a few hundred key
// texts, which are kept once (see KeptTexts).
struct KeptActivity {
    // The keys, in the order of ActivityCheck's.
    enum Key { Tarea, Dia, Hora, Aula, Codgrupo, Asig, Nivel, Curso, SlotKey, KeyCount };

    std::uint32_t number = 0;  // ACTIVIDAD_n
    ActivityCode actividad = ActivityCode::Found;
    bool slotFound = true, roomFound = true, groupFound = true, subjectFound = true;
    std::array<std::uint32_t, KeyCount> keys{};  // into the keeper's texts

    bool faithful() const {
        return actividad == ActivityCode::Found && slotFound && roomFound && groupFound &&
               subjectFound;
    }
};

// Texts kept once however often they are kept.
class KeptTexts {
  public:
    std::uint32_t keep(std::string&& text);
    // The same, faster for a column whose rows often repeat the one before.
    std::uint32_t keep(std::string&& text, std::size_t column);
    const std::string& operator[](std::uint32_t at) const { return texts_[at]; }
    std::size_t size() const { return texts_.size(); }

  private:
    std::vector<std::string> texts_;
    std::unordered_map<std::string, std::uint32_t> index_;
    std::array<std::uint32_t, 16> lastOfColumn_{};
    std::array<bool, 16> columnStarted_{};
};

KeptActivity keepActivity(std::size_t number, ActivityCheck&& check, KeptTexts& texts);
ActivityCheck checkOf(const KeptActivity& kept, const KeptTexts& texts);

}  // namespace mirvane::report
