#include "report/import_report.h"

#include <array>
#include <optional>

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

std::string example(const ImportWarnings& warnings, const KeptActivity& kept) {
    auto key = [&](KeptActivity::Key k) { return html::value(warnings.keys()[kept.keys[k]]); };
    std::string out =
        fmt::format("ACTIVIDAD_{} (DIA {}, HORA {}, ASIG {}):", kept.number, key(KeptActivity::Dia),
                    key(KeptActivity::Hora), key(KeptActivity::Asig));
    for (Cause cause : Causes(kept))
        out += " " + html::text(causeShortName(cause)) + " " + key(keyOf(cause));
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
        const auto counts = causeCounts(*t);
        out += fmt::format("<tr><td>EMPLEADO_{}: {} ({})</td><td class=\"n\">{}</td>", t->number,
                           html::text(text::toUtf8(t->teacher.nombre)),
                           html::value(t->teacher.abrev), t->activities.size());
        for (const CauseGroup& group : causes) {
            const std::size_t n = counts[static_cast<std::size_t>(group.cause)];
            out += n ? fmt::format("<td class=\"n\">{}</td>", n) : "<td></td>";
        }
        out += "<td>";
        for (std::size_t i = 0; i < t->activities.size() && i < kExamplesPerTeacher; ++i)
            out += (i ? "<br>" : "") + example(warnings, t->activities[i]);
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

void writeImportActivitiesCsv(const ImportWarnings& warnings, const PieceSink& sink) {
    // Thousands of rows repeat a few hundred keys and a few combinations of
    // causes: each is converted and quoted once.
    const KeptTexts& keys = warnings.keys();
    std::vector<std::string> fields(keys.size());
    for (std::uint32_t at = 0; at < keys.size(); ++at)
        fields[at] = csv::field(text::toUtf8(keys[at]));
    std::array<std::optional<std::string>, 1 << kCauseCount> failures;  // by set of causes
    auto failed = [&failures](const KeptActivity& kept) -> const std::string& {
        const Causes causes(kept);
        std::size_t set = 0;
        for (Cause cause : causes) set |= std::size_t{1} << static_cast<std::size_t>(cause);
        std::optional<std::string>& names = failures[set];
        if (!names) {
            std::string joined;
            for (Cause cause : causes)
                joined += (joined.empty() ? "" : ", ") + std::string(causeShortName(cause));
            names = csv::field(joined);
        }
        return *names;
    };

    PieceBuffer out(sink);
    std::string& text = out.text();
    text = csv::kByteOrderMark;
    csv::appendRow(
        text, {"Profesor", "ABREV", "X_EMPLEADO", "EMPLEADO", "ACTIVIDAD", "Qué falla", "TAREA",
               "DIA", "HORA", "DIHO buscado", "AULA", "CODGRUPO", "ASIG", "NIVEL", "CURSO"});
    using K = KeptActivity;
    constexpr K::Key kColumns[] = {K::Tarea,    K::Dia,  K::Hora,  K::SlotKey, K::Aula,
                                   K::Codgrupo, K::Asig, K::Nivel, K::Curso};
    for (const TeacherActivities* t : warnings.teachersWithProblems()) {
        std::string teacher;
        csv::appendRow(
            teacher, {text::toUtf8(t->teacher.nombre), text::toUtf8(t->teacher.abrev),
                      text::toUtf8(t->teacher.xEmpleado), "EMPLEADO_" + std::to_string(t->number)});
        teacher.resize(teacher.size() - 2);  // the row goes on
        for (const KeptActivity& kept : t->activities) {
            text += teacher;
            text += ";ACTIVIDAD_" + std::to_string(kept.number) + ";";
            text += failed(kept);
            for (K::Key column : kColumns) {
                text += ';';
                text += fields[kept.keys[column]];
            }
            text += "\r\n";
            out.pass();
        }
    }
    out.flush();
}

}  // namespace mirvane::report
