#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

// What an import run could not resolve, recorded while it builds the result
// document. Recording never changes what it writes.
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
    // The number of fields written empty or wrong.
    std::size_t problems() const;
};

// The six fields a lesson's activity record carries to Delphos.
struct ResolvedCodes {
    std::string actividad, diasemana, tramo, depcentro, unidad, materiaomc;
};

// A teacher of PROFT, as the report names them.
struct Teacher {
    std::string xEmpleado, abrev, nombre;
};

// A lesson with a problem as the warnings keep it: a school's thousands of
// them share a few hundred key texts, which are kept once (see
// ImportWarnings::check).
struct KeptActivity {
    // The keys, in the order of ActivityCheck's.
    enum Key { Tarea, Dia, Hora, Aula, Codgrupo, Asig, Nivel, Curso, SlotKey, KeyCount };

    std::uint32_t number = 0;  // ACTIVIDAD_n
    ActivityCode actividad = ActivityCode::Found;
    bool slotFound = true, roomFound = true, groupFound = true, subjectFound = true;
    std::array<std::uint32_t, KeyCount> keys{};  // into the warnings' texts
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

struct TeacherActivities {
    Teacher teacher;
    std::size_t number = 0;                // EMPLEADO_n
    std::vector<KeptActivity> activities;  // the lessons with a problem
};

class ImportWarnings {
  public:
    // The lessons that follow are this teacher's.
    void beginTeacher(Teacher teacher, std::size_t number);
    // Keeps the check of the current teacher's ACTIVIDAD_n when it found a problem.
    void activity(std::size_t number, ActivityCheck check);
    // A row of SOLUC that is no lesson (DIA 0).
    void skippedDayZero() { ++dayZero_; }
    // A lesson of SOLUC whose PROF is no teacher's ABREV.
    void lessonWithoutTeacher(const std::string& prof) { ++withoutTeacher_[prof]; }

    // A kept activity's check, with its keys.
    ActivityCheck check(const KeptActivity& kept) const { return checkOf(kept, keys_); }
    const KeptTexts& keys() const { return keys_; }

    // The teachers with at least one lesson with a problem, in PROFT order.
    std::vector<const TeacherActivities*> teachersWithProblems() const;
    // Lessons left out, by the PROF that no teacher has.
    const std::map<std::string, std::size_t>& lessonsWithoutTeacher() const {
        return withoutTeacher_;
    }
    std::size_t dayZeroRows() const { return dayZero_; }

    // Lessons left out plus lessons with a problem; rows with DIA 0 are no
    // lessons and do not count.
    std::size_t count() const;

  private:
    std::vector<TeacherActivities> teachers_;
    KeptTexts keys_;
    std::map<std::string, std::size_t> withoutTeacher_;
    std::size_t dayZero_ = 0;
};

}  // namespace mirvane::report
