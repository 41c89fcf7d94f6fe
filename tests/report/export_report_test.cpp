// The export report as a whole run writes it: after a failure, on the example
// school, and when nothing was lost.

#include "report/export_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "base/paths.h"
#include "core/export_run.h"
#include "export/export_fixture.h"
#include "report/in_order.h"
#include "support/testing.h"

namespace mirvane::report {
namespace {

std::filesystem::path exampleSchool() {
    return testing::sourceDir() / "examples" / "escuela" / "datos.xml";
}

class ExportReportTest : public ::testing::Test {
  protected:
    // Exports `document` with a report beside it; the run's error, if any, goes on.
    core::ExportRun& exportWithReport(const std::filesystem::path& document) {
        run.requestReport();
        run.run(document);
        return run;
    }
    std::string page() const { return testing::readFile(reportPath); }

    testing::TempDir dir;
    std::filesystem::path chosen = dir / "datos.xml";
    std::filesystem::path reportPath =
        dir.path() / paths::fromUtf8("datos - Informe de exportación.html");
    exporting::FixedStartHour prompt{"08:00"};
    core::ExportRun run{dir.path(), prompt};
};

TEST_F(ExportReportTest, AFailedExportSaysNoTableChanged) {
    // An earlier, complete run; this one stops in ASIGT at its third record.
    testing::writeFile(chosen, testing::readFile(exampleSchool()));
    exportWithReport(chosen);
    std::string text = testing::readFile(exampleSchool());
    const std::string marker = "<listasal seq=\"ASIGNATURAS\">";
    const std::size_t section = text.find(marker);
    ASSERT_NE(section, std::string::npos);
    std::size_t third = section + marker.size();
    for (int i = 0; i < 3; ++i) third = text.find("<listasal>", third + 1);
    text.insert(third, "<listasal><salida>a</salida><salida>b</salida></listasal>");
    testing::writeFile(chosen, text);
    EXPECT_THROW(exportWithReport(chosen), Error);

    ASSERT_TRUE(run.runReport());
    EXPECT_EQ(run.runReport()->path, reportPath);
    EXPECT_TRUE(run.runReport()->failure.empty());
    EXPECT_TRUE(inOrder(
        page(), {"La exportación no terminó", "tiene 2 campos; se esperan 9",
                 "Ninguna tabla de la carpeta de trabajo ha cambiado", "vuelva a exportar"}));
    EXPECT_EQ(page().find("se guardan en"), std::string::npos);
}

TEST_F(ExportReportTest, MissingSectionsAndTheKeptTablesOpenThePage) {
    testing::writeFile(
        chosen,
        export_test::exchange({export_test::section("PROFESORES", {{"E1", "F1", "Ana", "ANA"}})}));
    exportWithReport(chosen);
    EXPECT_TRUE(inOrder(
        page(), {"Tablexa tiene ya los datos del centro: 0 materias, 1 profesor, 0 aulas",
                 "no trae materias, aulas, grupos, asignaciones de materia a grupo ni tramos "
                 "horarios: esas tablas de Tablexa quedan vacías",
                 "Qué hacer:", "<code>MATERIAS</code>, <code>AULAS</code>",
                 "no había tablas en la carpeta de trabajo"}));
    EXPECT_EQ(page().find("<code>PROFESORES</code>"), std::string::npos);

    exportWithReport(chosen);
    const std::string kept = paths::toUtf8(dir / "Mirvane" / "anterior");
    EXPECT_TRUE(inOrder(page(), {"se guardan</strong> en <code>" + kept,
                                 "mirvane-cli restaurar --carpeta \"" + paths::toUtf8(dir.path()),
                                 "copie <code>ASIGNOMT.DBF</code>, <code>PROFT.DBF</code>",
                                 "<code>DIASHORAST.DBF</code> de esa carpeta"}));
}

TEST_F(ExportReportTest, AnExportThatCouldNotBeginWritesNone) {
    // The work folder is missing: no table was touched, so nothing is written.
    testing::writeFile(chosen, testing::readFile(exampleSchool()));
    exporting::FixedStartHour fixed{"08:00"};
    core::ExportRun nowhere{dir / "KTEMP", fixed};
    nowhere.requestReport();
    EXPECT_THROW(nowhere.run(chosen), Error);
    EXPECT_FALSE(nowhere.runReport());
    EXPECT_FALSE(std::filesystem::exists(reportPath));
}

TEST_F(ExportReportTest, TheExampleSchoolsReportListsWhatItLost) {
    testing::writeFile(chosen, testing::readFile(exampleSchool()));
    exportWithReport(chosen);
    ASSERT_TRUE(run.runReport());
    EXPECT_EQ(run.runReport()->warnings, 2u);
    EXPECT_EQ(page().find("La exportación no terminó"), std::string::npos);
    // What Tablexa has, then the worst first: the subject dropped, the room
    // record skipped; last, folded and not counted, the turnos and buildings
    // cut to their initial (the school's own values, in UTF-8).
    EXPECT_TRUE(inOrder(
        page(),
        {"<meta charset=\"utf-8\">", "Exportado el ",
         "28 materias, 31 profesores, 16 aulas, 12 grupos, 49 asignaciones de materia a grupo y "
         "35 tramos horarios",
         "2 avisos", "Materias repetidas que Tablexa no recibe", "Matemáticas 1º ESO (repetida)",
         "<code>mat1</code>", "<code>MAT1</code>",
         "Qué hacer:", "Registros incompletos que no pasan a Tablexa", "<td>aulas</td><td>17</td>",
         "<details>", "Recortes previstos (4 valores distintos en 42 filas)",
         "<code>Principal</code>", "<code>P</code>", "<code>MAÑANA</code>", "<code>M</code>"}));
    EXPECT_EQ(page().find("Códigos demasiado largos"), std::string::npos);
    EXPECT_EQ(page().find("Textos recortados"), std::string::npos);
}

TEST_F(ExportReportTest, NothingLostIsSaidInOneLine) {
    testing::writeFile(
        chosen,
        export_test::exchange({export_test::section("MATERIAS", {{"M1", "C1", "L1", "Uno"}})}));
    exportWithReport(chosen);
    ASSERT_TRUE(run.runReport());
    EXPECT_EQ(run.runReport()->warnings, 0u);
    EXPECT_NE(page().find("No se ha perdido nada"), std::string::npos);
}

TEST_F(ExportReportTest, AnOlderReportIsReplacedAndNoneIsWrittenUnlessAsked) {
    testing::writeFile(reportPath, "viejo");
    testing::writeFile(chosen, testing::readFile(exampleSchool()));
    core::ExportRun plain(dir.path(), prompt);
    plain.run(chosen);
    EXPECT_FALSE(plain.runReport());
    EXPECT_EQ(page(), "viejo");
    exportWithReport(chosen);
    EXPECT_NE(page().find("Informe de exportación"), std::string::npos);
}

TEST(ExportReportPage, CodesAreEscapedAndConverted) {
    ExportWarnings warnings;
    warnings.droppedSubject({2, "<b>&", "c\"d", "Ni\xF1o", 1, ""});
    const std::string page =
        exportReportPage(warnings, {"/x/datos.xml", "/k", std::nullopt, {}, {}, {}, {}, {}});
    EXPECT_TRUE(
        inOrder(page, {"Niño", "<code>c&quot;d</code>", "<code>&lt;b&gt;&amp;</code>", "(vacío)"}));
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);  // nothing fetched from outside
}

// Thousands of one warning: the page shows the first rows, the CSV all.
TEST(ExportReportPage, ALongSectionShowsItsFirstRowsAndTheCsvHoldsAll) {
    ExportWarnings warnings;
    for (std::size_t i = 0; i < kShownRows + 50; ++i) warnings.skippedRecord("AULAS", i, 1);
    warnings.skippedRecord("AULAS", 999, 1);
    ASSERT_TRUE(exportReportIsShortened(warnings));
    const std::string page = exportReportPage(
        warnings, {"/x/datos.xml", "/k", std::nullopt, "/x/I.html", "/x/I.csv", {}, {}, {}});
    EXPECT_NE(page.find("<td>100</td>"), std::string::npos);
    EXPECT_EQ(page.find("<td>101</td>"), std::string::npos);
    EXPECT_NE(page.find("Se muestran las primeras 100 de 151. Todas están en <a href=\"I.csv\">"),
              std::string::npos);
    const std::string csv = exportWarningsCsv(warnings);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 152);
    EXPECT_NE(csv.find("\r\nRegistro incompleto;1000;aulas;;;;1 datos;AULAS;\r\n"),
              std::string::npos);
    EXPECT_FALSE(exportReportIsShortened(ExportWarnings{}));
}

}  // namespace
}  // namespace mirvane::report
