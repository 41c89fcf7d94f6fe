#include "report/timetable_page.h"

#include <algorithm>
#include <array>
#include <vector>

#include <fmt/format.h>

#include "base/paths.h"
#include "report/html.h"
#include "report/school_words.h"
#include "report/timetable_assets.h"
#include "report/timetable_data.h"
#include "report/timetable_grid.h"

namespace mirvane::report {
namespace {

// Nothing but the page itself: no script, style, picture or connection from
// elsewhere, whatever a name in it may hold.
constexpr std::string_view kContentPolicy =
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "script-src 'unsafe-inline'; style-src 'unsafe-inline'\">\n";

// What the page shows before a week is chosen: how to choose one, and what
// the import holds.
std::string welcome(const Timetable& timetable, const Week& week) {
    if (timetable.lessons().empty())
        return "<p class=\"nota\">La solución (SOLUC) no tiene ninguna clase.</p>\n";
    std::vector<bool> coincides(timetable.lessons().size());
    for (std::size_t lesson : week.coincidences.lessons()) coincides[lesson] = true;
    const auto coinciding =
        static_cast<std::size_t>(std::count(coincides.begin(), coincides.end(), true));
    return fmt::format(
        "<p class=\"bien\">Elija en el índice un profesor, un grupo o un aula, o escriba parte de "
        "su nombre en «Buscar».</p>\n<p>{} y {}; {} a Delphos con algún dato vacío o "
        "equivocado, y {} con otra en el mismo día y tramo.</p>\n",
        counted(timetable.teachers().size(), "profesor", "profesores"),
        counted(timetable.lessons().size(), "clase", "clases"),
        counted(timetable.marked(), "llega", "llegan"),
        counted(coinciding, "coincide", "coinciden"));
}

}  // namespace

void writeTimetablePage(const Timetable& timetable, const TimetableFacts& facts,
                        const PieceSink& sink) {
    const Week week = layOut(timetable);
    PieceBuffer buffer(sink);
    std::string& out = buffer.text();
    out = html::pageStart("Horario: " + paths::toUtf8(facts.document.filename()), kTimetableStyle,
                          kContentPolicy);
    out += "<header class=\"cabecera\">\n<h1>Horario tal como lo recibirá Delphos</h1>\n";
    // The paths and the moment, in one paragraph of their own.
    out += "<p class=\"datos\">Documento: <code id=\"documento\">" +
           html::text(paths::toUtf8(facts.document)) + "</code><br>Documento de resultado: <code>" +
           html::text(paths::toUtf8(facts.result)) + "</code><br>Importado el <span id=\"fecha\">" +
           madeOn(facts.made) + "</span></p>\n";
    out +=
        "<p class=\"leyenda\">Cada clase muestra la materia, el grupo o el profesor, y el aula; "
        "al pasar el ratón por encima o al pulsarla, los códigos que recibe Delphos. "
        "<span class=\"clase mal\">En rojo</span>, las clases que llegan a Delphos con algún dato "
        "vacío o equivocado, y qué falla; <span class=\"clase coincide\">con borde "
        "discontinuo</span>, las que coinciden en el mismo día y tramo con otra del mismo "
        "profesor, grupo o aula, y con cuál. «Imprimir» pone la semana en una hoja A4 apaisada; "
        "«Imprimir todos», la de cada profesor, grupo o aula, una por hoja.";
    if (!facts.report.empty())
        out += " Qué falla y por qué, en el " +
               html::fileLink(facts.page, facts.report, "informe de importación") + ".";
    out += "</p>\n</header>\n";

    out +=
        "<div id=\"pagina\">\n<nav id=\"indice\"><label for=\"buscar\">Buscar</label>"
        "<input id=\"buscar\" type=\"search\" placeholder=\"Profesor, grupo o aula\" "
        "autocomplete=\"off\"><p id=\"cuenta\"></p><div id=\"listas\"></div></nav>\n"
        "<main id=\"semana\">\n" +
        welcome(timetable, week) +
        "<noscript><p class=\"aviso\">Esta página dibuja los horarios con JavaScript: "
        "permita que el navegador lo ejecute.</p></noscript>\n</main>\n</div>\n"
        "<div id=\"todas\"></div>\n";

    out += "<script type=\"application/json\" id=\"datos\">";
    writeTimetableData(timetable, week, buffer);
    out += "</script>\n<script>";
    out += kTimetableScript;
    out += "</script>\n";
    out += html::pageEnd();
    buffer.flush();
}

}  // namespace mirvane::report
