#include "report/import_csv.h"

#include "report/csv.h"

namespace mirvane::report {

ImportActivitiesCsv::ImportActivitiesCsv(PieceSink sink) : sink_(std::move(sink)), rows_(sink_) {
    rows_.text() = csv::kByteOrderMark;
    csv::appendRow(rows_.text(), {"Profesor", "ABREV", "X_EMPLEADO", "EMPLEADO", "ACTIVIDAD",
                                  "Qué falla", "TAREA", "DIA", "HORA", "DIHO buscado", "AULA",
                                  "CODGRUPO", "ASIG", "NIVEL", "CURSO"});
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
    csv::appendWindows1252Fields(
        out, {check.tarea, check.dia, check.hora, check.slotKey, check.aula, check.codgrupo,
              check.asig, check.nivel, check.curso});
    out += "\r\n";
    rows_.pass();
}

void ImportActivitiesCsv::finish() {
    rows_.flush();
}

}  // namespace mirvane::report
