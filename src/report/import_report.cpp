#include "report/import_report.h"

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/html.h"
#include "report/import_causes.h"
#include "report/report_file.h"

namespace mirvane::report {
namespace {

// The keys of a cause in one compact run: code and count, the most frequent first.
std::string keyList(const std::vector<KeyCount>& keys) {
    std::string out = "<div class=\"claves\">";
    for (const auto& [key, n] : keys) {
        html::appendValue(out, key);
        out += "&nbsp;×";
        html::appendNumber(out, n);
        out += ' ';
    }
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

void appendExample(std::string& out, const ImportWarnings& warnings, const KeptActivity& example) {
    const ActivityCheck check = warnings.check(example);
    out += "ACTIVIDAD_";
    html::appendNumber(out, example.number);
    out += " (DIA ";
    html::appendValue(out, check.dia);
    out += ", HORA ";
    html::appendValue(out, check.hora);
    out += ", ASIG ";
    html::appendValue(out, check.asig);
    out += "):";
    for (Cause cause : Causes(check.flags)) {
        out += ' ';
        html::appendText(out, causeShortName(cause));
        out += ' ';
        html::appendValue(out, keyOf(check, cause));
    }
}

// Appended to the page: a row per teacher makes it most of the page's bytes.
void appendTeachersSection(std::string& out, const ImportWarnings& warnings,
                           const std::vector<TeacherProblems>& teachers,
                           const std::vector<CauseGroup>& causes, std::size_t activities,
                           const ImportReportFacts& facts) {
    out += html::sectionStart("profesores", "Por profesor", teachers.size()) +
           fmt::format(
               "<p>{} {} llegan a Delphos con campos vacíos o equivocados. Por profesor, en el "
               "orden del documento de resultado, cuántas por cada causa y hasta {} ejemplos.",
               activities, activities == 1 ? "actividad" : "actividades",
               ImportWarnings::kExamplesPerTeacher);
    if (!facts.csv.empty())
        out += " La lista completa, una fila por actividad, está en " +
               html::fileLink(facts.page, facts.csv, paths::toUtf8(facts.csv.filename())) +
               " (se abre con Excel o LibreOffice Calc).";
    out += "</p>\n<table><thead><tr><th>Profesor</th><th>Actividades</th>";
    for (const CauseGroup& group : causes)
        out += "<th>" + html::text(causeShortName(group.cause)) + "</th>";
    out += "<th>Ejemplos</th></tr></thead><tbody>\n";
    for (const TeacherProblems& t : teachers) {
        out += "<tr><td>EMPLEADO_";
        html::appendNumber(out, t.number);
        out += ": ";
        html::appendWindows1252Text(out, t.teacher.nombre);
        out += " (";
        html::appendValue(out, t.teacher.abrev);
        out += ")</td>";
        const auto countCell = [&out](std::size_t n) {
            if (n == 0) {
                out += "<td></td>";
                return;
            }
            out += "<td class=\"n\">";
            html::appendNumber(out, n);
            out += "</td>";
        };
        countCell(t.activities);
        for (const CauseGroup& group : causes)
            countCell(t.causes[static_cast<std::size_t>(group.cause)]);
        out += "<td>";
        for (std::size_t i = 0; i < t.examples.size(); ++i) {
            if (i) out += "<br>";
            appendExample(out, warnings, t.examples[i]);
        }
        out += "</td></tr>\n";
    }
    out += html::kTableEnd;
    out += html::kSectionEnd;
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
    const std::vector<TeacherProblems>& teachers = warnings.teachersWithProblems();
    std::size_t activities = 0;
    for (const TeacherProblems& t : teachers) activities += t.activities;

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
        const std::vector<CauseGroup> causes = warnings.causes();
        out += causesSection(warnings, causes, withoutTeacher);
        if (activities) appendTeachersSection(out, warnings, teachers, causes, activities, facts);
    }
    if (warnings.dayZeroRows() > 0)
        out += fmt::format(
            "<p>Además, {} {} de SOLUC {} DIA 0: no {} clases colocadas y no se "
            "pasan a Delphos.</p>\n",
            warnings.dayZeroRows(), warnings.dayZeroRows() == 1 ? "fila" : "filas",
            warnings.dayZeroRows() == 1 ? "tiene" : "tienen",
            warnings.dayZeroRows() == 1 ? "es" : "son");
    out += html::pageEnd();
    return out;
}

}  // namespace mirvane::report
