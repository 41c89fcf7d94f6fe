#include "report/import_report.h"

#include <optional>

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/html.h"
#include "report/import_causes.h"
#include "report/report_file.h"
#include "report/school_words.h"
#include "report/timetable_links.h"

namespace mirvane::report {
namespace {

// Where the links to a week of the timetable page go; nowhere without it.
class WeekLinks {
  public:
    // The page's address is worked out once: a large school links thousands
    // of teachers, groups and rooms.
    explicit WeekLinks(const ImportReportFacts& facts)
        : page_(facts.timetable.empty() ? std::string()
                                        : html::fileHref(facts.page, facts.timetable, "")) {}

    // `html` as it is, or as a link to the week at `fragment`.
    void append(std::string& out, std::string_view html, const std::string& fragment) const {
        if (page_.empty()) {
            out += html;
            return;
        }
        out += "<a href=\"";
        out += page_;
        out += '#';
        out += fragment;
        out += "\">";
        out += html;
        out += "</a>";
    }

  private:
    std::string page_;  // empty without a timetable page
};

// A subject by its name with its code after, or its code alone.
void appendSubject(std::string& out, const ImportWarnings& warnings, const std::string& asig) {
    if (const std::string* name = warnings.subjectName(asig); name && !name->empty()) {
        html::appendWindows1252Text(out, *name);
        out += ' ';
    }
    html::appendValue(out, asig);
}

// A key of a cause as the reader knows it: a day and slot in words, a
// subject by its name with its code after, a group or room linked to its week.
void appendKey(std::string& out, const ImportWarnings& warnings, const WeekLinks& links,
               std::optional<Cause> cause, const std::string& key) {
    if (!cause) {
        html::appendValue(out, key);
        return;
    }
    switch (*cause) {
        case Cause::Slot:
            html::appendText(out, slotKeyWhen(key));
            return;
        case Cause::Group:
            links.append(out, html::value(key), groupFragment(key));
            return;
        case Cause::Room:
            links.append(out, html::value(key), roomFragment(key));
            return;
        case Cause::Subject:
            appendSubject(out, warnings, key);
            return;
        case Cause::DefaultCode:
        case Cause::TaskCode:
            if (key.empty()) {
                out += "<span class=\"vacio\">(sin tarea)</span>";
                return;
            }
            html::appendValue(out, key);
            return;
    }
}

// One cause: what happened, its keys with how many lessons each, what to do,
// and the technical line.
void appendCause(std::string& out, const ImportWarnings& warnings, const WeekLinks& links,
                 const CauseTexts& texts, std::optional<Cause> cause, std::size_t lessons,
                 const std::vector<KeyCount>& keys) {
    out += "<div class=\"causa\">\n<h3>";
    html::appendText(out, texts.heading);
    out += " <span class=\"cuenta\">(" + counted(lessons, "clase", "clases") + ")</span></h3>\n<p>";
    html::appendText(out, texts.happened);
    out += "</p>\n<div class=\"claves\">";
    html::appendText(out, texts.keys);
    out += ": ";
    for (const auto& [key, n] : keys) {
        out += "<span class=\"clave\">";
        appendKey(out, warnings, links, cause, key);
        out += "&nbsp;×";
        html::appendNumber(out, n);
        out += "</span> ";
    }
    out += "</div>\n";
    out += html::whatToDo(html::text(texts.whatToDo));
    out += html::technical(html::text(texts.technical));
    out += "</div>\n";
}

void appendCausesSection(std::string& out, const ImportWarnings& warnings, const WeekLinks& links,
                         const std::vector<CauseGroup>& causes, std::size_t withoutTeacher) {
    out += html::sectionStart("causas", "Qué no llega bien a Delphos, y por qué",
                              causes.size() + (withoutTeacher > 0));
    out +=
        "<p>Lo más grave, primero. Cada causa dice qué pasa, a qué clases afecta (con "
        "cuántas clases de cada una) y qué hacer.</p>\n";
    if (withoutTeacher) {
        std::vector<KeyCount> profs(warnings.lessonsWithoutTeacher().begin(),
                                    warnings.lessonsWithoutTeacher().end());
        appendCause(out, warnings, links, kWithoutTeacher, std::nullopt, withoutTeacher,
                    byFrequency(std::move(profs)));
    }
    for (const CauseGroup& group : causes)
        appendCause(out, warnings, links, causeTexts(group.cause), group.cause, group.activities,
                    group.keys);
    out += html::kSectionEnd;
}

// "martes, 2.º tramo (08:55–09:50)" for a lesson of SOLUC.
void appendWhen(std::string& out, const ImportWarnings& warnings, const ActivityCheck& check) {
    html::appendText(out, lessonWhen(check.dia, check.hora));
    if (!check.flags.slotFound) return;
    if (const importing::SlotRow* row = warnings.slotRow(check.slotKey)) {
        out += " (";
        html::appendWindows1252Text(out, text::trim(row->desde));
        out += "–";
        html::appendWindows1252Text(out, text::trim(row->hasta));
        out += ")";
    }
}

// "martes, 2.º tramo (08:55–09:50) · Física y Química FQ2 · grupo 2EA — Sin aula: Z99".
void appendExample(std::string& out, const ImportWarnings& warnings, const WeekLinks& links,
                   const KeptActivity& example) {
    const ActivityCheck check = warnings.check(example);
    appendWhen(out, warnings, check);
    out += " · ";
    appendSubject(out, warnings, check.asig);
    out += " · grupo ";
    html::appendValue(out, check.codgrupo);
    const char* separator = " — ";
    for (Cause cause : Causes(check.flags)) {
        out += separator;
        html::appendText(out, causeShortName(cause));
        // The slot and the subject are told already, at the start.
        if (cause != Cause::Slot && cause != Cause::Subject) {
            out += ": ";
            appendKey(out, warnings, links, cause, keyOf(check, cause));
        }
        separator = "; ";
    }
}

void appendTeacher(std::string& out, const WeekLinks& links, const Teacher& teacher,
                   std::size_t number) {
    std::string name;
    html::appendWindows1252Text(name, teacher.nombre);
    links.append(out, name, teacherFragment(number));
    out += " (";
    html::appendValue(out, teacher.abrev);
    out += ")";
}

// Appended to the page: a row per teacher makes it most of the page's bytes.
void appendTeachersSection(std::string& out, const ImportWarnings& warnings, const WeekLinks& links,
                           const std::vector<CauseGroup>& causes, std::size_t lessons,
                           const ImportReportFacts& facts) {
    const std::vector<TeacherProblems>& teachers = warnings.teachersWithProblems();
    out += html::sectionStart("profesores", "Por profesor", teachers.size());
    out += fmt::format(
        "<p>{} llegan a Delphos con algún dato vacío o equivocado. Por profesor, en el orden del "
        "documento de resultado: cuántas por cada causa y hasta {} ejemplos.",
        counted(lessons, "clase", "clases"), ImportWarnings::kExamplesPerTeacher);
    if (!facts.timetable.empty()) out += " El nombre lleva a la semana del profesor en el horario.";
    if (!facts.csv.empty())
        out += " La lista completa, una fila por clase, está en " +
               html::fileLink(facts.page, facts.csv, paths::toUtf8(facts.csv.filename())) +
               " (se abre con Excel o LibreOffice Calc).";
    out += "</p>\n<table><thead><tr><th>Profesor</th><th>Clases</th>";
    for (const CauseGroup& group : causes)
        out += "<th>" + html::text(causeShortName(group.cause)) + "</th>";
    out += "<th>Ejemplos</th></tr></thead><tbody>\n";
    for (const TeacherProblems& t : teachers) {
        out += "<tr><td>";
        appendTeacher(out, links, t.teacher, t.number);
        out += "<br><span class=\"tecnico\">EMPLEADO_";
        html::appendNumber(out, t.number);
        out += "</span></td>";
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
            appendExample(out, warnings, links, t.examples[i]);
        }
        out += "</td></tr>\n";
    }
    out += html::kTableEnd;
    out += html::kSectionEnd;
}

void appendUnplacedSection(std::string& out, const ImportWarnings& warnings,
                           const WeekLinks& links) {
    const std::vector<UnplacedLessons> unplaced = warnings.unplacedLessons();
    out += html::sectionStart("sin-colocar", "Clases que Tablexa no ha colocado",
                              warnings.unplacedCount());
    out += "<p>Tablexa no les ha dado día ni tramo, así que no se envían a Delphos.</p>\n";
    // A long list stays folded, out of the way of the causes.
    const bool folded = unplaced.size() > 30;
    if (folded)
        out += "<details><summary>" + counted(unplaced.size(), "fila", "filas") + "</summary>\n";
    out += html::tableStart({"Profesor", "Materia", "Grupo", "Tarea", "Clases"});
    for (const UnplacedLessons& u : unplaced) {
        out += "<tr><td>";
        appendTeacher(out, links, u.teacher, u.number);
        out += "</td><td>";
        appendSubject(out, warnings, u.asig);
        out += "</td><td>";
        html::appendValue(out, u.codgrupo);
        out += "</td><td>";
        html::appendValue(out, u.tarea);
        out += "</td><td class=\"n\">";
        html::appendNumber(out, u.lessons);
        out += "</td></tr>\n";
    }
    out += html::kTableEnd;
    if (folded) out += "</details>\n";
    out += html::whatToDo(
        "colóquelas en Tablexa e importe de nuevo; si no tienen que estar en el "
        "horario, nada.");
    out += html::technical("filas de SOLUC con DIA 0.");
    out += html::kSectionEnd;
}

// What Delphos receives, in numbers.
std::string summary(const ImportWarnings& warnings, std::size_t withProblems,
                    std::size_t withoutTeacher) {
    const std::size_t lessons = warnings.lessons();
    std::string out = "<p class=\"resumen\">Delphos recibirá el horario de " +
                      counted(warnings.teachers(), "profesor", "profesores") + ": " +
                      counted(lessons, "clase", "clases");
    if (lessons > 0)
        out += withProblems == 0
                   ? (lessons == 1 ? ", completa" : ", todas completas")
                   : fmt::format(", {} completas y {} con algún dato vacío o equivocado",
                                 lessons - withProblems, withProblems);
    out += ".";
    if (withoutTeacher)
        out += " " +
               counted(withoutTeacher, "clase más, de un profesor que no está",
                       "clases más, de profesores que no están") +
               " en el documento, no llegan.";
    if (warnings.unplacedCount())
        out += " Tablexa ha dejado sin colocar " +
               counted(warnings.unplacedCount(), "clase, que tampoco se envía",
                       "clases, que tampoco se envían") +
               ".";
    return out + "</p>\n";
}

}  // namespace

std::string importReportPage(const ImportWarnings& warnings, const ImportReportFacts& facts) {
    std::string out =
        html::pageStart("Informe de importación: " + paths::toUtf8(facts.document.filename())) +
        "<h1>Informe de importación</h1>\n<p class=\"datos\">Documento: <code>" +
        html::text(paths::toUtf8(facts.document)) + "</code><br>Documento de resultado: <code>" +
        html::text(paths::toUtf8(facts.result)) + "</code><br>Carpeta de trabajo: <code>" +
        html::text(paths::toUtf8(facts.workFolder)) + "</code><br>Importado el " +
        html::text(madeOn(facts.made)) + "</p>\n";

    const std::size_t withoutTeacher = warnings.lessonsWithoutTeacherCount();
    const std::size_t withProblems = warnings.lessonsWithProblems();
    out += summary(warnings, withProblems, withoutTeacher);
    if (!facts.timetable.empty())
        out +=
            "<p>El horario tal como lo recibirá Delphos, por profesor, por grupo y por aula: " +
            html::fileLink(facts.page, facts.timetable, paths::toUtf8(facts.timetable.filename())) +
            "</p>\n";

    const WeekLinks links(facts);
    const std::size_t count = warnings.count();
    if (count == 0) {
        out +=
            "<p class=\"bien\">No se ha perdido nada: cada clase que Tablexa ha colocado ha "
            "llegado al documento de resultado con todos sus datos.</p>\n";
    } else {
        out += fmt::format(
            "<p class=\"nota\"><strong>{}.</strong> El documento de resultado dice a Delphos "
            "«Servicio finalizado Correctamente» (código 0), pero lo que sigue no le llegará, o "
            "le llegará vacío o equivocado.</p>\n",
            counted(count, "aviso", "avisos"));
        const std::vector<CauseGroup> causes = warnings.causes();
        appendCausesSection(out, warnings, links, causes, withoutTeacher);
        if (withProblems) appendTeachersSection(out, warnings, links, causes, withProblems, facts);
    }
    if (warnings.unplacedCount() > 0) appendUnplacedSection(out, warnings, links);
    out += html::pageEnd();
    return out;
}

}  // namespace mirvane::report
