// The timetable page of a small school known cell by cell, read back from
// the page as a person would read its grids.

#include "report/timetable_page.h"

#include <gtest/gtest.h>

#include "import/import_fixture.h"
#include "import/importar_solucion.h"

namespace mirvane::report {
namespace {

using testing::kSolucSpec;

// The cells of one grid: per row its label then one text per day.
using Grid = std::vector<std::vector<std::string>>;

std::string sectionOf(const std::string& page, const std::string& id) {
    const std::size_t start = page.find("id=\"" + id + "\"");
    if (start == std::string::npos) return {};
    return page.substr(start, page.find("</section>", start) - start);
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    for (std::size_t at = text.find(separator); at != std::string::npos;) {
        const std::size_t next = text.find(separator, at + separator.size());
        parts.push_back(text.substr(at + separator.size(), next - at - separator.size()));
        at = next;
    }
    return parts;
}

Grid gridOf(const std::string& section) {
    Grid grid;
    const std::string table = section.substr(0, section.find("</table>"));
    for (const std::string& row :
         split(table.substr(table.find("<tbody>")), "<th class=\"tramo\">")) {
        std::vector<std::string> cells{row.substr(0, row.find("</th>"))};
        for (const std::string& cell : split(row, "<td>")) cells.push_back(cell);
        grid.push_back(cells);
    }
    return grid;
}

class TimetableTest : public testing::ImportTest {
  protected:
    TimetableTest() {
        work.fill(formats::kProft, {{{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}, {"NOMBRE", "Ana"}},
                                    {{"ABREV", "LUIS"}, {"X_EMPLEADO", "E2"}, {"NOMBRE", "Luis"}},
                                    {{"ABREV", "EVA"}, {"X_EMPLEADO", "E3"}, {"NOMBRE", "Eva"}}});
        work.fill(formats::kAsignomt,
                  {{{"COD", "MAT"}, {"MATERIA", "M100"}, {"NOMBRE", "Matem\xE1ticas"}}});
        work.fill(formats::kAulat, {{{"ABREV", "A1"}, {"DEPCENTRO", "D1"}, {"NOMBRE", "Aula 1"}}});
        work.fill(formats::kGrupost,
                  {{{"ABREV", "G1"}, {"UNIDAD", "U1"}}, {{"ABREV", "G2"}, {"UNIDAD", "U2"}}});
        // Stored out of order: the rows go by start time, the columns by weekday.
        work.fill(formats::kDiashorast,
                  {{{"DIHO", "22"}, {"DIA", "2"}, {"HORADESDE", "09:00"}, {"HORAHASTA", "10:00"}},
                   {{"DIHO", "11"}, {"DIA", "1"}, {"HORADESDE", "08:00"}, {"HORAHASTA", "09:00"}},
                   {{"DIHO", "12"}, {"DIA", "1"}, {"HORADESDE", "09:00"}, {"HORAHASTA", "10:00"}},
                   {{"DIHO", "21"}, {"DIA", "2"}, {"HORADESDE", "08:00"}, {"HORAHASTA", "09:00"}}});
        work.fill(kSolucSpec, {lesson("ANA", "1", "1", "G1"), lesson("ANA", "2", "1", "G2"),
                               lesson("LUIS", "1", "1", "G2"), lesson("LUIS", "1", "2", "G9"),
                               lesson("LUIS", "3", "5", "G1")});
    }

    static testing::Row lesson(const char* prof, const char* dia, const char* hora,
                               const char* group) {
        return {{"PROF", prof}, {"DIA", dia},        {"HORA", hora}, {"TAREA", "LE"},
                {"AULA", "A1"}, {"CODGRUPO", group}, {"ASIG", "MAT"}};
    }

    std::string page() {
        xml::Document document;
        document.load(chosen);
        formats::WorkTableComponents tables(work.path());
        Timetable timetable;
        const auto done = importing::ImportarSolucion(document, chosen, tables, &timetable);
        std::string text;
        writeTimetablePage(timetable, {chosen, done.archivo, docs / "H.html", docs / "I.html"},
                           [&text](std::string_view piece) { text += piece; });
        return text;
    }
};

TEST_F(TimetableTest, EachLessonIsInItsCellWithWhatItLacksAndWhatCoincides) {
    const std::string text = page();
    const std::string ana = sectionOf(text, "p1"), luis = sectionOf(text, "p2");
    const Grid anaGrid = gridOf(ana), luisGrid = gridOf(luis);
    ASSERT_EQ(anaGrid.size(), 2u);
    EXPECT_EQ(anaGrid[0][0], "08:00–09:00");
    EXPECT_EQ(anaGrid[1][0], "09:00–10:00");
    EXPECT_NE(ana.find("<th>Lunes</th><th>Martes</th>"), std::string::npos);

    struct Expected {
        const Grid& grid;
        std::size_t row, column;
        std::vector<std::string> shown;  // empty: the cell is empty
    } cells[] = {
        {anaGrid, 0, 1, {"<strong>Matemáticas</strong><br>G1<br>Aula 1", "Coincide: aula"}},
        {anaGrid, 0, 2, {"<strong>Matemáticas</strong><br>G2<br>Aula 1", "· D1 · U2 · M100\""}},
        {anaGrid, 1, 1, {}},
        {luisGrid, 0, 1, {"G2<br>Aula 1", "Coincide: aula"}},
        {luisGrid, 1, 1, {"class=\"clase mal\"", "Falta Grupo", "· D1 ·  · M100\""}},
        {luisGrid, 0, 2, {}},
    };
    for (const Expected& c : cells) {
        SCOPED_TRACE(::testing::PrintToString(c.shown));
        ASSERT_LT(c.row, c.grid.size());
        ASSERT_LT(c.column, c.grid[c.row].size());
        const std::string& cell = c.grid[c.row][c.column];
        if (c.shown.empty()) {
            EXPECT_TRUE(cell.starts_with("</td>")) << cell;
        }
        for (const std::string& shown : c.shown)
            EXPECT_NE(cell.find(shown), std::string::npos) << cell;
    }
    // A slot no DIHO has: under the grid, not in it.
    EXPECT_NE(luis.find("1 clase sin día ni tramo"), std::string::npos);
    EXPECT_NE(luis.find("DIHO <code>35</code>"), std::string::npos);
    EXPECT_EQ(ana.find("sin día ni tramo"), std::string::npos);
    // Eva has no lesson and no grid; the report is linked.
    EXPECT_NE(text.find("Eva <span class=\"vacio\">(sin clases)</span>"), std::string::npos);
    EXPECT_EQ(sectionOf(text, "p3"), "");
    EXPECT_NE(text.find("href=\"I.html\""), std::string::npos);
}

TEST_F(TimetableTest, AGroupsGridNamesTheTeachers) {
    const std::string text = page();
    // Groups by code: G1, G2, G9.
    const Grid g2 = gridOf(sectionOf(text, "g2"));
    ASSERT_EQ(g2.size(), 2u);
    EXPECT_NE(g2[0][1].find("<br>Luis<br>"), std::string::npos) << g2[0][1];
    EXPECT_NE(g2[0][2].find("<br>Ana<br>"), std::string::npos) << g2[0][2];
    // Luis's lesson shares its room with Ana's of G1, not its group.
    EXPECT_NE(g2[0][1].find("Coincide: aula</span>"), std::string::npos) << g2[0][1];
    EXPECT_NE(sectionOf(text, "g2").find("X_UNIDAD <code>U2</code>"), std::string::npos);
}

}  // namespace
}  // namespace mirvane::report
