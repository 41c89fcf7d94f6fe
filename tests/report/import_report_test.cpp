// The import report as a whole run writes it: on the example school, and
// none after a failed build.

#include "report/import_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "core/export_run.h"
#include "core/import_run.h"
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
    std::filesystem::path reportPath = dir / "InformeImportaciondatos.xml.html";
    core::ImportRun run{dir.path()};
};

TEST_F(ImportReportTest, TheExampleSchoolsReportListsEveryActivityWithAProblem) {
    ASSERT_TRUE(run.run(chosen));
    ASSERT_TRUE(run.runReport());
    EXPECT_EQ(run.runReport()->path, reportPath);
    EXPECT_EQ(run.runReport()->warnings, 6u);
    const std::string text = page();
    EXPECT_NE(text.find("«Servicio finalizado Correctamente»"), std::string::npos);
    for (const char* expected :
         {"EMPLEADO_6: Gómez Sánchez, Ana", "Aula <code>Z99</code>", "Grupo <code>9Z</code>",
          "<code>39</code>&nbsp;×1", "<span class=\"vacio\">(vacío)</span>&nbsp;×2",
          "<code>G099</code>&nbsp;×1", "href=\"InformeImportaciondatos.xml.csv\""})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    const std::string csv = testing::readFile(dir / "InformeImportaciondatos.xml.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);  // the header and six activities
    EXPECT_NE(csv.find("Gómez Sánchez, Ana;GSA6;204185;EMPLEADO_6;ACTIVIDAD_1;Aula;LE;1;6;16;Z99;"),
              std::string::npos);
}

TEST_F(ImportReportTest, AFailedBuildWritesNone) {
    std::filesystem::remove(dir / "SOLUC.DBF");
    EXPECT_THROW(run.run(chosen), Error);
    EXPECT_FALSE(run.runReport());
    EXPECT_FALSE(std::filesystem::exists(reportPath));
    EXPECT_FALSE(std::filesystem::exists(dir / "InformeImportaciondatos.xml.csv"));
}

TEST(ImportReportPage, LessonsWithoutTeacherAreTheFirstCause) {
    ImportWarnings warnings;
    warnings.beginTeacher({"E1", "ANA", "Ana"}, 1);
    ActivityCheck check;
    check.flags.roomFound = false;
    check.aula = "Z9";
    warnings.lesson(1, check, {});
    warnings.lessonWithoutTeacher("NADIE");
    warnings.skippedDayZero();
    const std::string page =
        importReportPage(warnings, {"/d/datos.xml", "/d/R.xml", "/k", {}, {}, {}});
    const std::size_t lost = page.find("Clases que no llegan a Delphos");
    const std::size_t wrong = page.find("X_DEPCENTRO vacío");
    ASSERT_NE(lost, std::string::npos);
    ASSERT_NE(wrong, std::string::npos);
    EXPECT_LT(lost, wrong);
    EXPECT_NE(page.find("1 fila de SOLUC tiene DIA 0"), std::string::npos);
}

TEST(ImportReportPage, NothingLostIsSaidInOneLine) {
    ImportWarnings warnings;
    warnings.beginTeacher({"E1", "ANA", "Ana"}, 1);
    warnings.lesson(1, ActivityCheck{}, {});
    EXPECT_NE(importReportPage(warnings, {}).find("No se ha perdido nada"), std::string::npos);
}

}  // namespace
}  // namespace mirvane::report
