// The timetable page read back as a person sees it: Chromium opens it at a
// week's fragment, runs its script, and prints the document it drew
// (--dump-dom), along with whatever the page wrote to its console. Each
// case starts Chromium once, about 1.5 s.

#include "report/timetable_page.h"

#include <gtest/gtest.h>

#include "core/export_run.h"
#include "core/import_run.h"
#include "export/start_hour_prompt.h"
#include "import/import_fixture.h"
#include "import/importar_solucion.h"

namespace mirvane::report {
namespace {

using testing::kSolucSpec;

struct Drawn {
    std::string dom;
    std::string console;  // what the page logged: errors, refused loads
};

// The page at `fragment`, once its script has run; with `typed`, as after
// a person typed it in the search box.
Drawn drawnPage(const std::filesystem::path& page, const std::string& fragment,
                const std::string& typed = {}) {
    std::filesystem::path shown = page;
    if (!typed.empty()) {
        std::string text = testing::readFile(page);
        text.insert(text.rfind("</body>"),
                    "<script>const box = document.getElementById('buscar'); box.value = '" + typed +
                        "'; box.dispatchEvent(new Event('input'));</script>");
        shown = page.parent_path() / "escrito.html";
        testing::writeFile(shown, text);
    }
    const testing::TempDir profile;
    const auto result = testing::run(
        "chromium --headless --no-sandbox --disable-gpu --enable-logging=stderr --v=0 "
        "--user-data-dir=" +
        testing::shellQuote(profile.path().string()) + " --dump-dom " +
        testing::shellQuote("file://" + shown.string() + "#" + fragment));
    EXPECT_EQ(result.status, 0) << result.errors;
    Drawn drawn{result.output, {}};
    for (std::size_t at = result.errors.find(":CONSOLE"); at != std::string::npos;
         at = result.errors.find(":CONSOLE", at + 1))
        drawn.console += result.errors.substr(at, result.errors.find('\n', at) - at) + "\n";
    return drawn;
}

// The text of an element as it reads, each piece between tags one part:
// "Matemáticas | G1 | Aula 1".
std::string visible(std::string_view html) {
    std::string text, part;
    auto flush = [&] {
        const auto first = part.find_first_not_of(' '), last = part.find_last_not_of(' ');
        if (first != std::string::npos)
            text += (text.empty() ? "" : " | ") + part.substr(first, last - first + 1);
        part.clear();
    };
    for (std::size_t at = 0; at < html.size(); ++at) {
        if (html[at] == '<') {
            flush();
            at = html.find('>', at);
        } else if (html.substr(at, 5) == "&amp;") {
            part += '&';
            at += 4;
        } else {
            part += html[at] == '\n' ? ' ' : html[at];
        }
    }
    flush();
    return text;
}

// The parts of `html` that begin with `start` (up to the next one, or `end`).
std::vector<std::string_view> pieces(std::string_view html, std::string_view start,
                                     std::string_view end = {}) {
    std::vector<std::string_view> found;
    if (!end.empty()) html = html.substr(0, html.find(end));
    for (std::size_t at = html.find(start); at != std::string_view::npos;) {
        const std::size_t next = html.find(start, at + 1);
        found.push_back(html.substr(at, next == std::string_view::npos ? next : next - at));
        at = next;
    }
    return found;
}

// The drawn week: per row its label then one cell per day, as they read.
using Grid = std::vector<std::vector<std::string>>;

Grid gridOf(const std::string& dom) {
    const std::size_t start = dom.find("<tbody>");
    if (start == std::string::npos) return {};
    Grid grid;
    for (std::string_view row : pieces(std::string_view(dom).substr(start), "<tr>", "</tbody>")) {
        std::vector<std::string> cells;
        for (std::string_view cell : pieces(row.substr(4), "<t")) cells.push_back(visible(cell));
        grid.push_back(std::move(cells));
    }
    return grid;
}

std::string between(const std::string& dom, std::string_view from, std::string_view to) {
    const std::size_t start = dom.find(from);
    return start == std::string::npos ? "" : dom.substr(start, dom.find(to, start) - start);
}

struct Cell {
    std::size_t row, column;
    std::string reads;
};

void expectCells(const Grid& grid, std::initializer_list<Cell> cells) {
    for (const Cell& c : cells) {
        ASSERT_LT(c.row, grid.size()) << c.reads;
        ASSERT_LT(c.column, grid[c.row].size()) << c.reads;
        EXPECT_EQ(grid[c.row][c.column], c.reads) << "row " << c.row << ", column " << c.column;
    }
}

// A small school known cell by cell: two teachers of one name (but for an
// accent), a group whose code needs encoding, a room two lessons share.
class TimetablePageTest : public testing::ImportTest {
  protected:
    static constexpr const char* kFirstA =
        "1\xBA"
        "A";  // 1ºA

    TimetablePageTest() {
        work.fill(formats::kProft,
                  {{{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}, {"NOMBRE", "Ana P\xE9rez"}},
                   {{"ABREV", "LUIS"}, {"X_EMPLEADO", "E2"}, {"NOMBRE", "Luis G\xF3mez"}},
                   {{"ABREV", "EVA"}, {"X_EMPLEADO", "E3"}, {"NOMBRE", "Eva"}},
                   {{"ABREV", "ANA2"}, {"X_EMPLEADO", "E4"}, {"NOMBRE", "Ana Perez"}}});
        work.fill(formats::kAsignomt,
                  {{{"COD", "MAT"}, {"MATERIA", "M100"}, {"NOMBRE", "Matem\xE1ticas"}}});
        work.fill(formats::kAulat, {{{"ABREV", "A1"}, {"DEPCENTRO", "D1"}, {"NOMBRE", "Aula 1"}}});
        work.fill(formats::kGrupost,
                  {{{"ABREV", "G1"}, {"UNIDAD", "U1"}}, {{"ABREV", kFirstA}, {"UNIDAD", "U2"}}});
        // Stored out of order; Tuesday's first slot ends earlier.
        work.fill(formats::kDiashorast,
                  {slot("22", "2", "2", "09:00", "10:00"), slot("11", "1", "1", "08:00", "09:00"),
                   slot("12", "1", "2", "09:00", "10:00"), slot("21", "2", "1", "08:00", "08:50")});
        work.fill(kSolucSpec, {lesson("ANA", "1", "1", kFirstA), lesson("ANA", "2", "1", kFirstA),
                               lesson("LUIS", "1", "1", "G1"), lesson("LUIS", "1", "2", "G9"),
                               lesson("LUIS", "3", "5", "G1")});
    }

    static testing::Row slot(const char* diho, const char* dia, const char* hora, const char* desde,
                             const char* hasta) {
        return {{"DIHO", diho},       {"DIA", dia},
                {"HORA", hora},       {"CODDIHO", std::string("T") + diho},
                {"HORADESDE", desde}, {"HORAHASTA", hasta}};
    }

    static testing::Row lesson(const char* prof, const char* dia, const char* hora,
                               const std::string& group) {
        return {{"PROF", prof}, {"DIA", dia},        {"HORA", hora}, {"TAREA", "LE"},
                {"AULA", "A1"}, {"CODGRUPO", group}, {"ASIG", "MAT"}};
    }

    std::filesystem::path page() {
        xml::Document document;
        document.load(chosen);
        formats::WorkTableComponents tables(work.path());
        Timetable timetable;
        const auto done = importing::ImportarSolucion(document, chosen, tables, &timetable);
        const std::filesystem::path path = docs / "H.html";
        std::string text;
        writeTimetablePage(timetable, {chosen, done.archivo, path, docs / "I.html", 0},
                           [&text](std::string_view piece) { text += piece; });
        testing::writeFile(path, text);
        return path;
    }
};

TEST_F(TimetablePageTest, ATeachersWeekReadsCellByCell) {
    const Drawn drawn = drawnPage(page(), "profesor-2");
    EXPECT_EQ(drawn.console, "");
    EXPECT_EQ(visible(between(drawn.dom, "<header class=\"cabecera-hoja\">", "</h2>")),
              "Profesor | Luis Gómez");
    const Grid grid = gridOf(drawn.dom);
    ASSERT_EQ(grid.size(), 2u);
    expectCells(grid,
                {{0, 0, "1 | 08:00–09:00"},
                 // A room shared with another teacher's lesson, which this week does not show.
                 {0, 1, "Matemáticas | G1 | Aula 1 | Coincide con 1ºA, Matemáticas, Ana Pérez."},
                 {0, 2, "08:00–08:50"},  // Tuesday's own times, and no lesson
                 {1, 0, "2 | 09:00–10:00"},
                 {1, 1, "Matemáticas | G9 | Aula 1 | Sin unidad en Delphos: no hay grupo «G9»."},
                 {1, 2, ""}});
    // The codes Delphos receives, on hover.
    EXPECT_NE(drawn.dom.find("title=\"ACTIVIDAD_1 · X_ACTIVIDAD «LE» · N_DIASEMANA «1» · X_TRAMO "
                             "«T11» · X_DEPCENTRO «D1» · X_UNIDAD «U1» · X_MATERIAOMC «M100»\""),
              std::string::npos);
    // A slot no DIHO has: under the grid.
    EXPECT_EQ(visible(between(drawn.dom, "<ul class=\"sin-colocar\">", "</ul>")),
              "Día «3», tramo «5» (clave «35»): | Matemáticas | G1 | Aula 1");
}

// Each side of a clash names the other where its week does not show it,
// and counts it where it does.
TEST_F(TimetablePageTest, ARoomsWeekShowsBothSidesOfAClash) {
    const Drawn drawn = drawnPage(page(), "aula-A1");
    EXPECT_EQ(drawn.console, "");
    const Grid grid = gridOf(drawn.dom);
    ASSERT_EQ(grid.size(), 2u);
    expectCells(
        grid,
        {{0, 1,
          "Matemáticas | 1ºA | Ana Pérez | Coincide con la otra clase de este tramo. "
          "| Matemáticas | G1 | Luis Gómez | Coincide con la otra clase de este "
          "tramo."},
         {0, 2, "08:00–08:50 | Matemáticas | 1ºA | Ana Pérez"},
         {1, 1, "Matemáticas | G9 | Luis Gómez | Sin unidad en Delphos: no hay grupo «G9»."}});
}

TEST_F(TimetablePageTest, AGroupsWeekOpensAtItsEncodedFragment) {
    const Drawn drawn = drawnPage(page(), "grupo-1%C2%BAA");
    EXPECT_EQ(drawn.console, "");
    EXPECT_NE(visible(between(drawn.dom, "<p class=\"detalle\">", "</p>")).find("X_UNIDAD «U2»"),
              std::string::npos);
    expectCells(
        gridOf(drawn.dom),
        {{0, 1, "Matemáticas | Ana Pérez | Aula 1 | Coincide con G1, Matemáticas, Luis Gómez."},
         {0, 2, "08:00–08:50 | Matemáticas | Ana Pérez | Aula 1"}});
}

// What the index shows of the teachers, groups and rooms.
std::vector<std::string> shownInIndex(const std::string& dom) {
    std::vector<std::string> shown;
    const std::string index = between(dom, "<div id=\"listas\">", "</nav>");
    for (std::string_view item : pieces(index, "<li"))
        if (!item.starts_with("<li hidden")) shown.push_back(visible(item));
    return shown;
}

TEST_F(TimetablePageTest, TheSearchNarrowsTheIndexWithoutRegardToAccentsOrCase) {
    const Drawn drawn = drawnPage(page(), "", "PEREZ");
    EXPECT_EQ(drawn.console, "");
    // Alike names, told apart by their abbreviations, alphabetically.
    EXPECT_EQ(shownInIndex(drawn.dom),
              (std::vector<std::string>{"Ana Pérez | ANA", "Ana Perez | ANA2"}));
    EXPECT_EQ(visible(between(drawn.dom, "<p id=\"cuenta\">", "</p>")), "2 resultados.");
}

// The example school's page holds nothing from outside it, and the browser
// is told to load nothing that is not in it.
TEST(TimetablePage, TheExampleSchoolsPageHoldsNothingFromOutside) {
    const testing::TempDir work, docs;
    const auto example = testing::sourceDir() / "examples" / "escuela";
    std::filesystem::copy_file(example / "datos.xml", docs / "datos.xml");
    exporting::FixedStartHour prompt("08:30");
    core::ExportRun(work.path(), prompt).run(docs / "datos.xml");
    std::filesystem::copy_file(example / "SOLUC.DBF", work / "SOLUC.DBF");
    core::ImportRun run(work.path());
    run.requestReport();
    run.requestTimetable();
    ASSERT_TRUE(run.run(docs / "datos.xml"));
    const std::string text = testing::readFile(run.timetable()->path);

    EXPECT_NE(text.find("content=\"default-src 'none'; script-src 'unsafe-inline'; style-src "
                        "'unsafe-inline'\""),
              std::string::npos);
    for (const char* reference : {"src=", "url(", "@import", "http:", "https:", "<link", "<img",
                                  "<iframe", "fetch(", "XMLHttpRequest", "import("})
        EXPECT_EQ(text.find(reference), std::string::npos) << reference;
    // Its one link is the report beside it.
    const auto links = pieces(text, "href=\"");
    ASSERT_EQ(links.size(), 1u);
    EXPECT_TRUE(links[0].starts_with("href=\"datos%20-%20Informe%20de%20importaci%C3%B3n.html\""));

    // Drawn, it logs nothing: no error, no load refused.
    const Drawn drawn = drawnPage(run.timetable()->path, "profesor-6");
    EXPECT_EQ(drawn.console, "");
    EXPECT_EQ(gridOf(drawn.dom).size(), 7u);
}

}  // namespace
}  // namespace mirvane::report
