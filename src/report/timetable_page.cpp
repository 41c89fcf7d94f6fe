#include "report/timetable_page.h"

#include <algorithm>
#include <map>

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/html.h"
#include "report/import_causes.h"
#include "report/timetable_grid.h"

namespace mirvane::report {
namespace {

// One teacher or group to a printed page; the cells stay readable on paper.
constexpr std::string_view kTimetableStyle = R"(
body { max-width: none; }
.hoja { break-before: page; }
table.semana { width: 100%; table-layout: fixed; }
table.semana th.tramo { width: 7em; white-space: nowrap; }
table.semana td { font-size: 0.85em; padding: 0.15em 0.3em; }
.clase { margin: 0.1em 0; padding: 0.1em 0.25em; border-left: 3px solid #7f8c8d; }
.clase.mal { border-left: 6px solid #c0392b; background: #fdecea; }
.clase.coincide { outline: 2px dashed #d35400; }
.clase .marca { color: #c0392b; font-weight: bold; }
.clase .choque { color: #d35400; font-weight: bold; }
.indice li { display: inline-block; margin: 0 1.2em 0.2em 0; }
@media print { a { color: inherit; text-decoration: none; } .clase.mal, th { print-color-adjust: exact; } }
)";

// What a lesson's cell says in its own words, beside the colours that
// paper in black and white loses.
std::string marks(const ActivityCheck& check, const Coincidence& coincidence) {
    std::string out;
    for (Cause cause : Causes(check))
        if (cause != Cause::Slot)
            out +=
                "<br><span class=\"marca\">Falta " + html::text(causeShortName(cause)) + "</span>";
    std::string shared;
    if (coincidence.teacher) shared += " profesor";
    if (coincidence.group) shared += " grupo";
    if (coincidence.room) shared += " aula";
    if (!shared.empty()) out += "<br><span class=\"choque\">Coincide:" + shared + "</span>";
    return out;
}

// The Delphos codes of the activity record, shown on hover, in the order
// the page's legend gives (kCodesLegend).
std::string codes(std::size_t number, const ResolvedCodes& c) {
    std::string out = std::to_string(number);
    for (const std::string* code :
         {&c.actividad, &c.diasemana, &c.tramo, &c.depcentro, &c.unidad, &c.materiaomc}) {
        out += " · ";
        text::appendEscapedMarkup(out, text::toUtf8(*code));
    }
    return out;
}

constexpr std::string_view kCodesLegend =
    "ACTIVIDAD_n · X_ACTIVIDAD · N_DIASEMANA · X_TRAMO · X_DEPCENTRO · X_UNIDAD · X_MATERIAOMC";

class PageWriter {
  public:
    PageWriter(const Timetable& timetable, PieceBuffer& buffer)
        : timetable_(timetable), week_(layOut(timetable)), buffer_(buffer), out_(buffer.text()) {}

    void index(const std::vector<std::string>& groups);
    // The grid of the lessons given, each labelled by the other side: the
    // group for a teacher's grid, the teacher for a group's.
    void grid(const std::vector<std::size_t>& lessons, bool teacherView);

  private:
    std::string name(const std::unordered_map<std::string, std::string>& names,
                     const std::string& key) const {
        auto at = names.find(key);
        const std::string& shown =
            at == names.end() || text::isBlank(at->second) ? key : at->second;
        return html::text(text::toUtf8(shown));
    }
    void lesson(std::size_t at, bool teacherView);

    const Timetable& timetable_;
    Week week_;
    PieceBuffer& buffer_;
    std::string& out_;
};

void PageWriter::lesson(std::size_t at, bool teacherView) {
    const TimetableLesson& l = timetable_.lessons()[at];
    const ActivityCheck check = timetable_.check(l);
    const Coincidence& coincidence = week_.coincidences[at];
    out_ += "<div class=\"clase";
    if (!check.faithful()) out_ += " mal";
    if (coincidence.any()) out_ += " coincide";
    out_ += "\" title=\"" + codes(l.activity.number, timetable_.codes(l)) + "\"><strong>" +
            name(timetable_.names().subjects, check.asig) + "</strong>";
    const std::string other =
        teacherView ? html::text(text::toUtf8(check.codgrupo))
                    : html::text(text::toUtf8(timetable_.teachers()[l.teacher].teacher.nombre));
    if (!other.empty()) out_ += "<br>" + other;
    if (!text::isBlank(check.aula)) out_ += "<br>" + name(timetable_.names().rooms, check.aula);
    out_ += marks(check, coincidence) + "</div>";
}

void PageWriter::grid(const std::vector<std::size_t>& lessons, bool teacherView) {
    std::map<std::pair<std::size_t, std::size_t>, std::vector<std::size_t>> inCell;
    std::vector<std::size_t> unplaced;
    for (std::size_t at : lessons) {
        if (const auto& cell = week_.cells[at])
            inCell[{cell->row, cell->column}].push_back(at);
        else
            unplaced.push_back(at);
    }
    if (!week_.days.empty()) {
        out_ += "<table class=\"semana\"><thead><tr><th class=\"tramo\">Tramo</th>";
        for (const std::string& day : week_.days)
            out_ += "<th>" + html::text(dayName(day)) + "</th>";
        out_ += "</tr></thead><tbody>\n";
        for (std::size_t row = 0; row < week_.rows.size(); ++row) {
            out_ += fmt::format("<tr><th class=\"tramo\">{}–{}</th>",
                                html::text(text::toUtf8(week_.rows[row].first)),
                                html::text(text::toUtf8(week_.rows[row].second)));
            for (std::size_t column = 0; column < week_.days.size(); ++column) {
                out_ += "<td>";
                auto at = inCell.find({row, column});
                if (at != inCell.end())
                    for (std::size_t lessonAt : at->second) lesson(lessonAt, teacherView);
                out_ += "</td>";
            }
            out_ += "</tr>\n";
            buffer_.pass();
        }
        out_ += html::kTableEnd;
    }
    if (!unplaced.empty()) {
        out_ += fmt::format(
            "<p class=\"aviso\">{} {} sin día ni tramo en Delphos (ningún tramo de DIASHORAST "
            "tiene su DIHO), que no se {} colocar:</p>\n<ul>",
            unplaced.size(), unplaced.size() == 1 ? "clase" : "clases",
            unplaced.size() == 1 ? "puede" : "pueden");
        for (std::size_t at : unplaced) {
            const ActivityCheck check = timetable_.check(timetable_.lessons()[at]);
            out_ += fmt::format("<li>DIA {}, HORA {} (DIHO {}): ", html::value(check.dia),
                                html::value(check.hora), html::value(check.slotKey));
            lesson(at, teacherView);
            out_ += "</li>\n";
        }
        out_ += "</ul>\n";
    }
}

void PageWriter::index(const std::vector<std::string>& groups) {
    out_ += "<nav><h2>Profesores</h2>\n<ul class=\"indice\">";
    std::vector<bool> hasLessons(timetable_.teachers().size());
    for (const TimetableLesson& l : timetable_.lessons()) hasLessons[l.teacher] = true;
    for (std::size_t t = 0; t < timetable_.teachers().size(); ++t) {
        const std::string nombre =
            html::text(text::toUtf8(timetable_.teachers()[t].teacher.nombre));
        out_ += hasLessons[t] ? fmt::format("<li><a href=\"#p{}\">{}</a></li>", t + 1, nombre)
                              : "<li>" + nombre + " <span class=\"vacio\">(sin clases)</span></li>";
    }
    out_ += "</ul>\n<h2>Grupos</h2>\n<ul class=\"indice\">";
    for (std::size_t g = 0; g < groups.size(); ++g)
        out_ += fmt::format("<li><a href=\"#g{}\">{}</a></li>", g + 1,
                            html::text(text::toUtf8(groups[g])));
    out_ += "</ul>\n</nav>\n";
}

}  // namespace

void writeTimetablePage(const Timetable& timetable, const TimetableFacts& facts,
                        const PieceSink& sink) {
    PieceBuffer buffer(sink);
    std::string& out = buffer.text();
    out = html::pageStart("Horario: " + paths::toUtf8(facts.document.filename()), kTimetableStyle) +
          "<h1>Horario tal como lo recibirá Delphos</h1>\n<p class=\"datos\">Documento: <code>" +
          html::text(paths::toUtf8(facts.document)) + "</code><br>Documento de resultado: <code>" +
          html::text(paths::toUtf8(facts.result)) + "</code></p>\n" +
          "<p>Cada clase muestra la asignatura, el grupo o el profesor, y el aula; al pasar el "
          "ratón por encima, los códigos que recibe Delphos (" +
          html::text(kCodesLegend) +
          "). <span class=\"clase mal\">En rojo</span>, las clases que llegan a Delphos con algún "
          "dato vacío o equivocado; "
          "<span class=\"clase coincide\">con borde discontinuo</span>, las que coinciden en el "
          "mismo día y tramo con otra del mismo profesor, grupo o aula.";
    if (!facts.report.empty())
        out += " Qué falla y por qué, en el " +
               html::fileLink(facts.page, facts.report, "informe de importación") + ".";
    out += "</p>\n";

    // Lessons by teacher come in PROFT order already; by group, by code.
    std::vector<std::vector<std::size_t>> byTeacher(timetable.teachers().size());
    std::map<std::string, std::vector<std::size_t>> byGroup;
    for (std::size_t at = 0; at < timetable.lessons().size(); ++at) {
        const TimetableLesson& l = timetable.lessons()[at];
        byTeacher[l.teacher].push_back(at);
        std::string group = timetable.check(l).codgrupo;
        if (!text::isBlank(group)) byGroup[std::move(group)].push_back(at);
    }
    std::vector<std::string> groups;
    for (const auto& [group, lessons] : byGroup) groups.push_back(group);

    PageWriter writer(timetable, buffer);
    writer.index(groups);
    for (std::size_t t = 0; t < byTeacher.size(); ++t) {
        if (byTeacher[t].empty()) continue;
        const TimetableTeacher& teacher = timetable.teachers()[t];
        out += fmt::format(
            "<section class=\"hoja\" id=\"p{}\">\n<h2>{} <span class=\"cuenta\">(EMPLEADO_{}, "
            "abreviatura {}, X_EMPLEADO {}; {} {})</span></h2>\n",
            t + 1, html::text(text::toUtf8(teacher.teacher.nombre)), teacher.number,
            html::value(teacher.teacher.abrev), html::value(teacher.teacher.xEmpleado),
            byTeacher[t].size(), byTeacher[t].size() == 1 ? "clase" : "clases");
        writer.grid(byTeacher[t], true);
        out += html::kSectionEnd;
    }
    std::size_t g = 0;
    for (const auto& [group, lessons] : byGroup) {
        const std::string unidad = timetable.codes(timetable.lessons()[lessons.front()]).unidad;
        out += fmt::format(
            "<section class=\"hoja\" id=\"g{}\">\n<h2>Grupo {} <span class=\"cuenta\">(X_UNIDAD "
            "{}; {} {})</span></h2>\n",
            ++g, html::text(text::toUtf8(group)), html::value(unidad), lessons.size(),
            lessons.size() == 1 ? "clase" : "clases");
        writer.grid(lessons, false);
        out += html::kSectionEnd;
    }
    if (timetable.lessons().empty())
        out += "<p class=\"nota\">La solución (SOLUC) no tiene ninguna clase.</p>\n";
    out += html::pageEnd();
    buffer.flush();
}

}  // namespace mirvane::report
