#include "report/import_csv.h"

#include "report/csv.h"
#include "report/school_words.h"

namespace mirvane::report {

ImportActivitiesCsv::ImportActivitiesCsv(PieceSink sink) : sink_(std::move(sink)), rows_(sink_) {
    rows_.text() = csv::kByteOrderMark;
    // In words first; the last three are for whoever must look in SOLUC.
    csv::appendRow(rows_.text(), {"Profesor", "Abreviatura", "Código de empleado", "EMPLEADO",
                                  "ACTIVIDAD", "Qué falla", "Cuándo", "Tarea", "Aula", "Grupo",
                                  "Materia", "Nivel", "Curso", "DIA", "HORA", "DIHO buscado"});
}

void ImportActivitiesCsv::teacher(const Teacher& teacher, std::size_t number) {
    teacher_.clear();
    for (const std::string* field : {&teacher.nombre, &teacher.abrev, &teacher.xEmpleado}) {
        csv::appendWindows1252Field(teacher_, *field);
        teacher_ += ';';
    }
    teacher_ += "EMPLEADO_" + std::to_string(number) + ";ACTIVIDAD_";
}

void ImportActivitiesCsv::activity(std::size_t number, const ActivityCheck& check) {
    std::string& out = rows_.text();
    out += teacher_;
    out += std::to_string(number);
    out += ';';
    // The causes' short names are ours, plain words that need no quoting.
    const char* separator = "";
    for (Cause cause : Causes(check.flags)) {
        out += separator;
        out += causeShortName(cause);
        separator = ", ";
    }
    out += ';';
    csv::appendField(out, lessonWhen(check.dia, check.hora));
    csv::appendWindows1252Fields(
        out, {check.tarea, check.aula, check.codgrupo, check.asig, check.nivel, check.curso,
              check.dia, check.hora, check.slotKey});
    out += "\r\n";
    rows_.pass();
}

void ImportActivitiesCsv::finish() {
    rows_.flush();
}

}  // namespace mirvane::report
