// The import report as a whole run writes it: on the example school, and
// none after a failed build.

#include "report/import_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "base/paths.h"
#include "base/text.h"
#include "core/export_run.h"
#include "core/import_run.h"
#include "report/html.h"
#include "report/in_order.h"
#include "support/testing.h"

namespace mirvane::report {
namespace {

std::filesystem::path exampleFolder() {
    return testing::sourceDir() / "examples" / "escuela";
}

class ImportReportTest : public ::testing::Test {
  protected:
    ImportReportTest() {
        std::filesystem::copy_file(exampleFolder() / "datos.xml", chosen);
        exporting::FixedStartHour prompt("08:30");
        core::ExportRun(dir.path(), prompt).run(chosen);
        std::filesystem::copy_file(exampleFolder() / "SOLUC.DBF", dir / "SOLUC.DBF");
        run.requestReport();
    }
    std::string page() const { return testing::readFile(reportPath); }

    testing::TempDir dir;
    std::filesystem::path chosen = dir / "datos.xml";
    std::filesystem::path reportPath =
        dir.path() / paths::fromUtf8("datos - Informe de importación.html");
    std::filesystem::path csvPath =
        dir.path() / paths::fromUtf8("datos - Informe de importación (clases).csv");
    core::ImportRun run{dir.path()};
};

TEST_F(ImportReportTest, TheExampleSchoolsReportListsEveryActivityWithAProblem) {
    ASSERT_TRUE(run.run(chosen));
    ASSERT_TRUE(run.runReport());
    EXPECT_EQ(run.runReport()->path, reportPath);
    EXPECT_EQ(run.runReport()->warnings, 6u);
    const std::string text = page();
    for (const char* expected :
         {"Delphos recibirá el horario de 31 profesores: 119 clases, 113 completas y 6 con algún "
          "dato vacío o equivocado. Tablexa ha dejado sin colocar 13 clases",
          "«Servicio finalizado Correctamente»", "Gómez Sánchez, Ana (<code>GSA6</code>)",
          "miércoles, 9.º tramo&nbsp;×1", "<code>G099</code>&nbsp;×1", "(sin tarea)</span>&nbsp;×2",
          "href=\"datos%20-%20Informe%20de%20importaci%C3%B3n%20%28clases%29.csv\"",
          "lunes, 6.º tramo (12:40–13:35) · Educación Física 1º ESO <code>EF1</code>",
          "Clases que Tablexa no ha colocado <span class=\"cuenta\">(13)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    const std::string csv = testing::readFile(csvPath);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);  // the header and six lessons
    EXPECT_NE(csv.find("Gómez Sánchez, Ana;GSA6;204185;EMPLEADO_6;ACTIVIDAD_1;Aula;"
                       "lunes, 6.º tramo;LE;Z99;1EA;EF1;ESO;1;1;6;16\r\n"),
              std::string::npos)
        << csv;
}

TEST_F(ImportReportTest, AFailedBuildWritesNone) {
    std::filesystem::remove(dir / "SOLUC.DBF");
    EXPECT_THROW(run.run(chosen), Error);
    EXPECT_FALSE(run.runReport());
    EXPECT_FALSE(std::filesystem::exists(reportPath));
    EXPECT_FALSE(std::filesystem::exists(csvPath));
}

// Each cause on a one-lesson school: what happened in school terms, its key
// as the reader knows it (linked to its week in the timetable), what to do,
// and the fields concerned last.
TEST(ImportReportPage, EachCauseSaysWhatHappenedAndWhatToDo) {
    struct Case {
        std::optional<Cause> cause;  // nothing: a lesson of no teacher
        void (*breakLesson)(ActivityCheck&);
        std::string key;  // as the page shows it
    };
    const Case cases[] = {
        {std::nullopt, nullptr, "<code>NADIE</code>"},
        {Cause::Slot, [](ActivityCheck& c) { c.flags.slotFound = false; }, "miércoles, 9.º tramo"},
        {Cause::Group, [](ActivityCheck& c) { c.flags.groupFound = false; },
         "<a href=\"datos%20-%20Horario.html#grupo-9%C2%BAZ\"><code>9ºZ</code></a>"},
        {Cause::Subject, [](ActivityCheck& c) { c.flags.subjectFound = false; },
         "Educación Física <code>EF1</code>"},
        {Cause::Room, [](ActivityCheck& c) { c.flags.roomFound = false; },
         "<a href=\"datos%20-%20Horario.html#aula-Z99\"><code>Z99</code></a>"},
        {Cause::DefaultCode,
         [](ActivityCheck& c) {
             c.flags.actividad = importing::ActivityCode::Default;
             c.tarea.clear();
         },
         "<span class=\"vacio\">(sin tarea)"},
        {Cause::TaskCode,
         [](ActivityCheck& c) { c.flags.actividad = importing::ActivityCode::TaskCode; },
         "<code>G099</code>"},
    };
    for (const Case& c : cases) {
        const CauseTexts& texts = c.cause ? causeTexts(*c.cause) : kWithoutTeacher;
        SCOPED_TRACE(texts.heading);
        ImportWarnings warnings;
        warnings.subject("EF1", text::fromUtf8("Educación Física"));
        warnings.beginTeacher({"E1", "ANA", "Ana"}, 1);
        ActivityCheck check;
        check.tarea = "G099", check.dia = "3", check.hora = "9", check.aula = "Z99";
        check.codgrupo = text::fromUtf8("9ºZ"), check.asig = "EF1", check.slotKey = "39";
        if (c.breakLesson)
            c.breakLesson(check);
        else
            warnings.lessonWithoutTeacher("NADIE");
        warnings.lesson(1, check, {});
        const std::string page = importReportPage(
            warnings,
            {"/d/datos.xml", "/d/R.xml", "/k", "/d/I.html", {}, "/d/datos - Horario.html"});
        EXPECT_TRUE(inOrder(page, {html::text(texts.heading), html::text(texts.happened),
                                   html::text(texts.keys) + ": <span class=\"clave\">" + c.key,
                                   "Qué hacer:</strong> " + html::text(texts.whatToDo),
                                   "Detalle técnico: " + html::text(texts.technical)}));
        // The teacher's name leads to their week.
        if (c.cause) {
            EXPECT_NE(page.find("<a href=\"datos%20-%20Horario.html#profesor-1\">Ana</a>"),
                      std::string::npos);
        }
    }
}

TEST(ImportReportPage, NothingLostIsSaidInOneLine) {
    ImportWarnings warnings;
    warnings.beginTeacher({"E1", "ANA", "Ana"}, 1);
    warnings.lesson(1, ActivityCheck{}, {});
    const std::string page = importReportPage(warnings, {});
    EXPECT_NE(page.find("No se ha perdido nada"), std::string::npos);
    EXPECT_NE(page.find("1 profesor: 1 clase, completa."), std::string::npos);
}

}  // namespace
}  // namespace mirvane::report
