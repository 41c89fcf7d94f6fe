#pragma once

#include <cstddef>
#include <string>

#include "import/lesson.h"

namespace mirvane::importing {

// A row of DIASHORAST, with the times the pages show.
struct SlotRow {
    std::string diho, dia, hora, desde, hasta;  // DIHO, DIA, HORA, HORADESDE, HORAHASTA
};

// A row of SOLUC whose DIA is 0: a lesson the timetabler has not placed in
// the week, which the result document does not hold.
struct UnplacedLesson {
    std::string tarea, asig, codgrupo;  // TAREA, ASIG, CODGRUPO
};

// What the builder finds as it writes the result document, told in the
// document's order to whoever shows it (the report, the timetable). It knows
// nothing of them, and telling never changes what it writes.
class ImportObserver {
  public:
    virtual ~ImportObserver() = default;

    // How many rows SOLUC holds, told once before the first teacher: no more
    // lessons than these are told.
    virtual void expectLessons(std::size_t /*rows*/) {}

    // The PROFT row whose record EMPLEADO_n begins; the lessons told next are
    // this teacher's.
    virtual void beginTeacher(const Teacher& teacher, std::size_t number) = 0;
    // The current teacher's ACTIVIDAD_n: its keys, what its lookups found
    // and the six codes written. A teacher's lessons are told in order once
    // the teacher's record is written.
    virtual void lesson(std::size_t number, const ActivityCheck& check,
                        const ResolvedCodes& codes) = 0;
    // A row of the current teacher in SOLUC whose DIA is 0.
    virtual void unplacedLesson(const UnplacedLesson& /*lesson*/) {}
    // A lesson of SOLUC whose PROF is no teacher's ABREV, which no record
    // holds; told before the first teacher.
    virtual void lessonWithoutTeacher(const std::string& /*prof*/) {}

    // The names beside the codes, from the same reads as the lookups: the
    // first ASIGNOMT row of each COD, the first AULAT row of each ABREV, and
    // every DIASHORAST row in stored order.
    virtual void subject(const std::string& /*cod*/, const std::string& /*nombre*/) {}
    virtual void room(const std::string& /*abrev*/, const std::string& /*nombre*/) {}
    virtual void slot(const SlotRow& /*row*/) {}
};

}  // namespace mirvane::importing
