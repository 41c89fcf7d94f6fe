#pragma once

#include <cstddef>
#include <map>
#include <string>
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

struct TeacherActivities {
    Teacher teacher;
    std::size_t number = 0;  // EMPLEADO_n
    // ACTIVIDAD_n and its check, for the lessons with a problem.
    std::vector<std::pair<std::size_t, ActivityCheck>> activities;
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
    std::map<std::string, std::size_t> withoutTeacher_;
    std::size_t dayZero_ = 0;
};

}  // namespace mirvane::report
