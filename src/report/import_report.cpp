#include "report/import_report.h"

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/csv.h"
#include "report/html.h"
#include "report/import_causes.h"
#include "report/report_file.h"

namespace mirvane::report {
namespace {

// Each teacher's row shows this many of their activities; the CSV has all.
constexpr std::size_t kExamplesPerTeacher = 3;

// The keys of a cause in one compact run: code and count, the most frequent first.
std::string keyList(const std::vector<KeyCount>& keys) {
    std::string out = "<div class=\"claves\">";
    for (const auto& [key, n] : keys) out += html::value(key) + fmt::format("&nbsp;×{} ", n);
    return out + "</div>";
}

std::string causeRow(std::string_view description, std::size_t activities,
                     const std::vector<KeyCount>& keys) {
    return html::row({html::text(description), fmt::format("{}", activities),
                      fmt::format("{}", keys.size()), keyList(keys)});
}

std::string causesSection(const ImportWarnings& warnings, const std::vector<CauseGroup>& causes,
                          std::size_t withoutTeacher) {
    std::string out = html::sectionStart("causas", "Causas", causes.size() + (withoutTeacher > 0)) +
                      "<p>Lo más grave, primero. Cada clave es el valor de SOLUC que no se "
                      "encontró, con el número de actividades en que falta.</p>\n" +
                      html::tableStart({"Qué falla y por qué", "Actividades", "Claves distintas",
                                        "Claves (veces)"});
    if (withoutTeacher) {
        std::vector<KeyCount> profs(warnings.lessonsWithoutTeacher().begin(),
                                    warnings.lessonsWithoutTeacher().end());
        out += causeRow(
            "Clases que no llegan a Delphos: el profesor (PROF de SOLUC) no tiene abreviatura en "
            "PROFT; no están en el documento de resultado",
            withoutTeacher, byFrequency(std::move(profs)));
    }
    for (const CauseGroup& group : causes)
        out += causeRow(causeDescription(group.cause), group.activities, group.keys);
    return out + std::string(html::kTableEnd) + std::string(html::kSectionEnd);
}

std::string example(std::size_t number, const ActivityCheck& c) {
    std::string out = fmt::format("ACTIVIDAD_{} (DIA {}, HORA {}, ASIG {}):", number,
                                  html::value(c.dia), html::value(c.hora), html::value(c.asig));
    for (Cause cause : causesOf(c))
        out += " " + html::text(causeShortName(cause)) + " " + html::value(keyOf(c, cause));
    return out;
}

std::string teachersSection(const ImportWarnings& warnings,
                            const std::vector<const TeacherActivities*>& teachers,
                            const std::vector<CauseGroup>& causes, std::size_t activities,
                            const ImportReportFacts& facts) {
    std::string out =
        html::sectionStart("profesores", "Por profesor", teachers.size()) +
        fmt::format(
            "<p>{} {} llegan a Delphos con campos vacíos o equivocados. Por profesor, en el "
            "orden del documento de resultado, cuántas por cada causa y hasta {} ejemplos.",
            activities, activities == 1 ? "actividad" : "actividades", kExamplesPerTeacher);
    if (!facts.csv.empty())
        out += " La lista completa, una fila por actividad, está en " +
               html::fileLink(facts.page, facts.csv, paths::toUtf8(facts.csv.filename())) +
               " (se abre con Excel o LibreOffice Calc).";
    out += "</p>\n<table><thead><tr><th>Profesor</th><th>Actividades</th>";
    for (const CauseGroup& group : causes)
        out += "<th>" + html::text(causeShortName(group.cause)) + "</th>";
    out += "<th>Ejemplos</th></tr></thead><tbody>\n";
    for (const TeacherActivities* t : teachers) {
        const auto counts = causeCounts(warnings, *t);
        out += fmt::format("<tr><td>EMPLEADO_{}: {} ({})</td><td class=\"n\">{}</td>", t->number,
                           html::text(text::toUtf8(t->teacher.nombre)),
                           html::value(t->teacher.abrev), t->activities.size());
        for (const CauseGroup& group : causes) {
            const std::size_t n = counts[static_cast<std::size_t>(group.cause)];
            out += n ? fmt::format("<td class=\"n\">{}</td>", n) : "<td></td>";
        }
        out += "<td>";
        for (std::size_t i = 0; i < t->activities.size() && i < kExamplesPerTeacher; ++i)
            out += (i ? "<br>" : "") +
                   example(t->activities[i].number, warnings.check(t->activities[i]));
        out += "</td></tr>\n";
    }
    return out + std::string(html::kTableEnd) + std::string(html::kSectionEnd);
}

}  // namespace

std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts) {
    std::string out =
        html::pageStart("Informe de importación: " + paths::toUtf8(facts.document.filename())) +
        "<h1>Informe de importación</h1>\n<p class=\"datos\">Documento: <code>" +
        html::text(paths::toUtf8(facts.document)) + "</code><br>Documento de resultado: <code>" +
        html::text(paths::toUtf8(facts.result)) + "</code><br>Carpeta de trabajo: <code>" +
        html::text(paths::toUtf8(facts.workFolder)) + "</code></p>\n";
    if (!facts.timetable.empty())
        out +=
            "<p>El horario tal como lo recibirá Delphos, por profesor y por grupo: " +
            html::fileLink(facts.page, facts.timetable, paths::toUtf8(facts.timetable.filename())) +
            "</p>\n";

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
            "le llegará vacío o equivocado.</p>\n",
            count, count == 1 ? "aviso" : "avisos");
        const std::vector<CauseGroup> causes = groupCauses(warnings);
        out += causesSection(warnings, causes, withoutTeacher);
        if (activities) out += teachersSection(warnings, teachers, causes, activities, facts);
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

std::string importActivitiesCsv(const ImportWarnings& warnings) {
    std::string out(csv::kByteOrderMark);
    csv::appendRow(
        out, {"Profesor", "ABREV", "X_EMPLEADO", "EMPLEADO", "ACTIVIDAD", "Qué falla", "TAREA",
              "DIA", "HORA", "DIHO buscado", "AULA", "CODGRUPO", "ASIG", "NIVEL", "CURSO"});
    for (const TeacherActivities* t : warnings.teachersWithProblems()) {
        const std::string nombre = text::toUtf8(t->teacher.nombre);
        const std::string abrev = text::toUtf8(t->teacher.abrev);
        const std::string xEmpleado = text::toUtf8(t->teacher.xEmpleado);
        const std::string empleado = "EMPLEADO_" + std::to_string(t->number);
        for (const KeptActivity& kept : t->activities) {
            const ActivityCheck c = warnings.check(kept);
            const std::size_t number = kept.number;
            std::string failed;
            for (Cause cause : causesOf(c))
                failed += (failed.empty() ? "" : ", ") + std::string(causeShortName(cause));
            csv::appendRow(
                out, {nombre, abrev, xEmpleado, empleado, "ACTIVIDAD_" + std::to_string(number),
                      failed, text::toUtf8(c.tarea), text::toUtf8(c.dia), text::toUtf8(c.hora),
                      text::toUtf8(c.slotKey), text::toUtf8(c.aula), text::toUtf8(c.codgrupo),
                      text::toUtf8(c.asig), text::toUtf8(c.nivel), text::toUtf8(c.curso)});
        }
    }
    return out;
}

}  // namespace mirvane::report
