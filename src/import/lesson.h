#pragma once

#include <string>

// What the build finds of one lesson: its keys in SOLUC, which of its lookups
// found nothing, and the codes written for Delphos. The builder hands these
// to its observer (import/import_observer.h); finding them never changes
// what it writes.
namespace mirvane::importing {

// How a lesson's "X_ACTIVIDAD" came out.
enum class ActivityCode {
    Found,     // the MATERIA of the task's subject, or the plain lesson code
    TaskCode,  // a task code that no subject has, sent as it is
    Default,   // the default code, the task being blank or its subject's MATERIA blank
};

// Which of a lesson's lookups found nothing.
struct LessonFlags {
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

// One lesson's keys and what its lookups found.
struct ActivityCheck {
    std::string tarea, dia, hora, aula, codgrupo, asig, nivel, curso;  // from SOLUC
    std::string slotKey;  // the DIHO sought: DIA followed by HORA as a whole number
    LessonFlags flags;
};

// The six fields a lesson's activity record carries to Delphos.
struct ResolvedCodes {
    std::string actividad, diasemana, tramo, depcentro, unidad, materiaomc;
};

// A teacher of PROFT, as the pages name them.
struct Teacher {
    std::string xEmpleado, abrev, nombre;
};

}  // namespace mirvane::importing
