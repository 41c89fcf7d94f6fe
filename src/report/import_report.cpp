#include "report/import_report.h"

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/html.h"
#include "report/report_file.h"

namespace mirvane::report {
namespace {

std::string withoutTeacherSection(const std::map<std::string, std::size_t>& lessons,
                                  std::size_t count) {
    std::string out = html::sectionStart("sinprofesor", "Clases que no llegan a Delphos", count) +
                      "<p>En la solución (SOLUC) hay clases de profesores cuya abreviatura no "
                      "tiene ningún profesor de la tabla PROFT. Estas clases no están en el "
                      "documento de resultado.</p>\n" +
                      html::tableStart({"Profesor en SOLUC (PROF)", "Clases"});
    for (const auto& [prof, n] : lessons) out += html::row({html::value(prof), std::to_string(n)});
    return out + std::string(html::kTableEnd) + std::string(html::kSectionEnd);
}

std::string problemList(const ActivityCheck& c) {
    std::string out = "<ul>";
    auto item = [&out](const std::string& line) { out += "<li>" + line + "</li>"; };
    if (!c.slotFound)
        item(
            "<strong>N_DIASEMANA</strong> y <strong>X_TRAMO</strong> vacíos: ningún tramo de "
            "DIASHORAST tiene DIHO " +
            html::value(c.slotKey));
    if (!c.roomFound)
        item("<strong>X_DEPCENTRO</strong> vacío: el aula " + html::value(c.aula) +
             " no está en AULAT");
    if (!c.groupFound)
        item("<strong>X_UNIDAD</strong> vacío: el grupo " + html::value(c.codgrupo) +
             " no está en GRUPOST");
    if (!c.subjectFound)
        item("<strong>X_MATERIAOMC</strong> vacío: la asignatura " + html::value(c.asig) +
             " no se encontró en ASIGT ni con el grupo " + html::value(c.codgrupo) +
             " ni con el nivel " + html::value(c.nivel) + " y el curso " + html::value(c.curso) +
             ", ni en ASIGNOMT");
    if (c.actividad == ActivityCode::Default)
        item("<strong>X_ACTIVIDAD</strong> es G439, el código por omisión: la tarea " +
             html::value(c.tarea) + " está vacía o su asignatura no tiene MATERIA");
    if (c.actividad == ActivityCode::TaskCode)
        item("<strong>X_ACTIVIDAD</strong> es " + html::value(c.tarea) +
             " tal cual: ninguna asignatura de ASIGNOMT tiene ese código");
    return out + "</ul>";
}

std::string teacherBlock(const TeacherActivities& t) {
    std::string out = fmt::format(
        "<h3>EMPLEADO_{}: {} <span class=\"cuenta\">(abreviatura {}, X_EMPLEADO {}; {} {})</span>"
        "</h3>\n",
        t.number, html::text(text::toUtf8(t.teacher.nombre)), html::value(t.teacher.abrev),
        html::value(t.teacher.xEmpleado), t.activities.size(),
        t.activities.size() == 1 ? "actividad" : "actividades");
    out +=
        html::tableStart({"Actividad", "Día", "Hora", "Asignatura", "Grupo", "Aula", "Qué falla"});
    for (const auto& [number, c] : t.activities)
        out += html::row({"ACTIVIDAD_" + std::to_string(number), html::value(c.dia),
                          html::value(c.hora), html::value(c.asig), html::value(c.codgrupo),
                          html::value(c.aula), problemList(c)});
    return out + std::string(html::kTableEnd);
}

}  // namespace

std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts) {
    std::string out =
        html::pageStart("Informe de importación: " + paths::toUtf8(facts.document.filename())) +
        "<h1>Informe de importación</h1>\n<p class=\"datos\">Documento: <code>" +
        html::text(paths::toUtf8(facts.document)) + "</code><br>Documento de resultado: <code>" +
        html::text(paths::toUtf8(facts.result)) + "</code><br>Carpeta de trabajo: <code>" +
        html::text(paths::toUtf8(facts.workFolder)) + "</code></p>\n";

    std::size_t withoutTeacher = 0;
    for (const auto& [prof, n] : warnings.lessonsWithoutTeacher()) withoutTeacher += n;
    const auto teachers = warnings.teachersWithProblems();
    std::size_t activities = 0;
    for (const TeacherActivities* t : teachers) activities += t->activities.size();

    const std::size_t count = warnings.count();
    if (count == 0) {
        out +=
            "<p class=\"bien\">No se ha perdido nada: cada clase de la solución ha llegado al "
            "documento de resultado con todos sus datos encontrados.</p>\n";
    } else {
        out += fmt::format(
            "<p class=\"nota\"><strong>{} {}.</strong> El documento de resultado dice a Delphos "
            "«Servicio finalizado Correctamente» (código 0), pero lo que sigue no le llegará, o "
            "le llegará vacío o equivocado; lo más grave, primero.</p>\n<ul>\n",
            count, count == 1 ? "aviso" : "avisos");
        if (withoutTeacher)
            out +=
                html::summaryLine("sinprofesor", "Clases que no llegan a Delphos", withoutTeacher);
        if (activities)
            out += html::summaryLine("actividades", "Actividades con datos vacíos o equivocados",
                                     activities);
        out += "</ul>\n";
        if (withoutTeacher)
            out += withoutTeacherSection(warnings.lessonsWithoutTeacher(), withoutTeacher);
        if (activities) {
            out += html::sectionStart("actividades", "Actividades con datos vacíos o equivocados",
                                      activities) +
                   "<p>Estas actividades llegan a Delphos, pero con los campos que se indican "
                   "vacíos o con un valor que no es el suyo. Por profesor, en el orden del "
                   "documento de resultado.</p>\n";
            for (const TeacherActivities* t : teachers) out += teacherBlock(*t);
            out += html::kSectionEnd;
        }
    }
    if (warnings.dayZeroRows() > 0)
        out += fmt::format(
            "<p>Además, {} {} de SOLUC {} DIA 0: no {} clases colocadas y no se "
            "pasan a Delphos.</p>\n",
            warnings.dayZeroRows(), warnings.dayZeroRows() == 1 ? "fila" : "filas",
            warnings.dayZeroRows() == 1 ? "tiene" : "tienen",
            warnings.dayZeroRows() == 1 ? "es" : "son");
    return out + html::pageEnd();
}

}  // namespace mirvane::report
