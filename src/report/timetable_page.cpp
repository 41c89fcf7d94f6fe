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

// The Delphos codes of the activity record, shown on hover, in the order
// the page's legend gives.
constexpr std::string_view kCodesLegend =
    "ACTIVIDAD_n · X_ACTIVIDAD · N_DIASEMANA · X_TRAMO · X_DEPCENTRO · X_UNIDAD · X_MATERIAOMC";

// Tens of thousands of cells repeat a few thousand texts: each is made into
// HTML once, by its place among the timetable's texts.
class ShownTexts {
  public:
    explicit ShownTexts(const Timetable& timetable)
        : timetable_(timetable),
          texts_(timetable.texts().size()),
          subjects_(texts_.size()),
          rooms_(texts_.size()) {}

    // A kept text as HTML.
    const std::string& text(std::uint32_t at) {
        std::optional<std::string>& shown = texts_[at];
        if (!shown) shown = html::text(text::toUtf8(timetable_.texts()[at]));
        return *shown;
    }
    // A subject or a room by its code: its name, or the code where it has none.
    const std::string& subject(std::uint32_t code) {
        return name(subjects_, timetable_.names().subjects, code);
    }
    const std::string& room(std::uint32_t code) {
        return name(rooms_, timetable_.names().rooms, code);
    }

  private:
    const std::string& name(std::vector<std::optional<std::string>>& cache,
                            const std::unordered_map<std::string, std::string>& names,
                            std::uint32_t code) {
        std::optional<std::string>& shown = cache[code];
        if (!shown) {
            const std::string& key = timetable_.texts()[code];
            auto at = names.find(key);
            shown = html::text(
                text::toUtf8(at == names.end() || text::isBlank(at->second) ? key : at->second));
        }
        return *shown;
    }

    const Timetable& timetable_;
    std::vector<std::optional<std::string>> texts_, subjects_, rooms_;
};

class PageWriter {
  public:
    PageWriter(const Timetable& timetable, PieceBuffer& buffer)
        : timetable_(timetable),
          week_(layOut(timetable)),
          shown_(timetable),
          buffer_(buffer),
          out_(buffer.text()) {
        for (const TimetableTeacher& t : timetable.teachers())
            teacherNames_.push_back(html::text(text::toUtf8(t.teacher.nombre)));
        for (const auto& [start, end] : week_.rows)
            rowLabels_.push_back(html::text(text::toUtf8(start)) + "–" +
                                 html::text(text::toUtf8(end)));
    }

    void index(const std::vector<std::string>& groups);
    // The grid of the lessons given, each labelled by the other side: the
    // group for a teacher's grid, the teacher for a group's.
    void grid(const std::vector<std::size_t>& lessons, bool teacherView);

  private:
    void lesson(std::size_t at, bool teacherView);
    // What a lesson's cell says in its own words, beside the colours that
    // paper in black and white loses.
    void marks(const KeptActivity& activity, const Coincidence& coincidence);

    const Timetable& timetable_;
    Week week_;
    ShownTexts shown_;
    std::vector<std::string> teacherNames_;  // as HTML
    std::vector<std::string> rowLabels_;     // each row's start and end times, as HTML
    PieceBuffer& buffer_;
    std::string& out_;
};

void PageWriter::marks(const KeptActivity& activity, const Coincidence& coincidence) {
    for (Cause cause : Causes(activity.flags))
        if (cause != Cause::Slot) {
            out_ += "<br><span class=\"marca\">Falta ";
            html::appendText(out_, causeShortName(cause));
            out_ += "</span>";
        }
    if (!coincidence.any()) return;
    out_ += "<br><span class=\"choque\">Coincide:";
    if (coincidence.teacher) out_ += " profesor";
    if (coincidence.group) out_ += " grupo";
    if (coincidence.room) out_ += " aula";
    out_ += "</span>";
}

void PageWriter::lesson(std::size_t at, bool teacherView) {
    using K = KeptActivity;
    const TimetableLesson& l = timetable_.lessons()[at];
    const KeptActivity& a = l.activity;
    const Coincidence& coincidence = week_.coincidences[at];
    out_ += "<div class=\"clase";
    if (!a.flags.faithful()) out_ += " mal";
    if (coincidence.any()) out_ += " coincide";
    out_ += "\" title=\"";
    out_ += std::to_string(a.number);
    for (std::uint32_t code : l.codes) {
        out_ += " · ";
        out_ += shown_.text(code);
    }
    out_ += "\"><strong>";
    out_ += shown_.subject(a.keys[K::Asig]);
    out_ += "</strong>";
    const std::string& other =
        teacherView ? shown_.text(a.keys[K::Codgrupo]) : teacherNames_[l.teacher];
    if (!other.empty()) {
        out_ += "<br>";
        out_ += other;
    }
    if (!text::isBlank(timetable_.texts()[a.keys[K::Aula]])) {
        out_ += "<br>";
        out_ += shown_.room(a.keys[K::Aula]);
    }
    marks(a, coincidence);
    out_ += "</div>";
}

void PageWriter::grid(const std::vector<std::size_t>& lessons, bool teacherView) {
    // The placed lessons by cell, row after row, each cell's in the order given.
    const std::size_t columns = week_.days.size();
    std::vector<std::pair<std::size_t, std::size_t>> placed;  // cell, lesson
    std::vector<std::size_t> unplaced;
    for (std::size_t at : lessons) {
        if (const auto& cell = week_.cells[at])
            placed.emplace_back(cell->row * columns + cell->column, at);
        else
            unplaced.push_back(at);
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!week_.days.empty()) {
        out_ += "<table class=\"semana\"><thead><tr><th class=\"tramo\">Tramo</th>";
        for (const std::string& day : week_.days)
            out_ += "<th>" + html::text(dayName(day)) + "</th>";
        out_ += "</tr></thead><tbody>\n";
        auto next = placed.begin();
        for (std::size_t row = 0; row < week_.rows.size(); ++row) {
            out_ += "<tr><th class=\"tramo\">";
            out_ += rowLabels_.at(row);
            out_ += "</th>";
            for (std::size_t column = 0; column < columns; ++column) {
                out_ += "<td>";
                for (; next != placed.end() && next->first == row * columns + column; ++next)
                    lesson(next->second, teacherView);
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
            buffer_.pass();
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
        const std::string& group = timetable.texts()[l.activity.keys[KeptActivity::Codgrupo]];
        if (!text::isBlank(group)) byGroup[group].push_back(at);
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
        const std::string& unidad =
            timetable.texts()[timetable.lessons()[lessons.front()].codes[4]];
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
