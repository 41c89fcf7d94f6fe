#include "core/import_run.h"

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/paths.h"
#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "support/testing.h"

namespace mirvane::core {
namespace {

std::filesystem::path exampleFolder() {
    return testing::sourceDir() / "examples" / "escuela";
}

// The example school exported as the timetabler would have it, its solution
// beside the tables, and a copy of the exchange document to import into.
class ImportRunTest : public ::testing::Test {
  protected:
    ImportRunTest() {
        std::filesystem::copy_file(exampleFolder() / "datos.xml", chosen);
        exporting::FixedStartHour prompt("08:30");
        ExportRun(work.path(), prompt).run(chosen);
        std::filesystem::copy_file(exampleFolder() / "SOLUC.DBF", work / "SOLUC.DBF");
    }

    testing::TempDir work;
    testing::TempDir docs;
    std::filesystem::path chosen = docs / "datos.xml";
};

// The whole round trip, export, solution, import, against the result
// document checked by hand once.
TEST_F(ImportRunTest, TheExampleSchoolGivesTheKnownResult) {
    const std::string chosenBefore = testing::readFile(chosen);
    const auto summary = ImportRun(work.path()).run(chosen);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->profesores, 31);
    EXPECT_EQ(summary->archivo, docs / "ResultadoVorsadatos.xml");
    EXPECT_EQ(testing::readFile(summary->archivo),
              testing::readFile(testing::sourceDir() / "tests" / "data" / "import" /
                                "ResultadoVorsadatos.xml"));
    EXPECT_EQ(testing::readFile(chosen), chosenBefore);
}

// The report, its CSV and the timetable are only read from what the build
// recorded: the tables and the result document stay the same to the byte.
TEST_F(ImportRunTest, ThePagesChangeNoByteOfTheTablesOrTheResult) {
    std::map<std::filesystem::path, std::string> tables;
    for (const auto& entry : std::filesystem::directory_iterator(work.path()))
        if (entry.is_regular_file()) tables[entry.path()] = testing::readFile(entry.path());
    ImportRun run(work.path());
    run.requestReport();
    run.requestTimetable();
    const auto summary = run.run(chosen);
    ASSERT_TRUE(summary);
    EXPECT_EQ(testing::readFile(summary->archivo),
              testing::readFile(testing::sourceDir() / "tests" / "data" / "import" /
                                "ResultadoVorsadatos.xml"));
    for (const auto& [path, bytes] : tables) EXPECT_EQ(testing::readFile(path), bytes) << path;
    ASSERT_TRUE(run.timetable());
    EXPECT_EQ(run.timetable()->path, docs / "datos - Horario.html");
    EXPECT_EQ(run.timetable()->warnings, 6u);
    const std::string page = testing::readFile(run.timetable()->path);
    EXPECT_NE(page.find("href=\"datos%20-%20Informe%20de%20importaci%C3%B3n.html\""),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(
        docs.path() / paths::fromUtf8("datos - Informe de importación (clases).csv")));
}

TEST_F(ImportRunTest, NoFileIsNoRun) {
    EXPECT_FALSE(ImportRun(work.path()).run(docs / "otro.xml"));
    EXPECT_FALSE(ImportRun(work.path()).run(""));
    EXPECT_FALSE(std::filesystem::exists(docs / "ResultadoVorsaotro.xml"));
}

// After a failed attempt the user tries again in the same window: the tables
// the failure left are open again, and the new attempt loads afresh.
TEST_F(ImportRunTest, ASecondAttemptAfterAFailureSucceeds) {
    ImportRun run(work.path());
    std::filesystem::rename(work / "ASIGT.DBF", docs / "ASIGT.DBF");
    EXPECT_THROW(run.run(chosen), Error);
    EXPECT_FALSE(std::filesystem::exists(docs / "ResultadoVorsadatos.xml"));
    std::filesystem::rename(docs / "ASIGT.DBF", work / "ASIGT.DBF");
    const auto summary = run.run(chosen);
    ASSERT_TRUE(summary);
    EXPECT_GT(summary->actividades, 0);
    EXPECT_FALSE(run.components().wwTableSoluc.active());
    EXPECT_FALSE(run.components().wwTableAsig.active());
}

TEST_F(ImportRunTest, ABuildNeedsALoadedDocument) {
    ImportRun run(work.path());
    EXPECT_THROW(run.build(), Error);
    run.load(chosen);
    EXPECT_NO_THROW(run.build());
    EXPECT_THROW(run.build(), Error);  // the document was changed by the build
    testing::writeFile(chosen, "<SERVICIO><SALIDAS></SERVICIO>");
    EXPECT_THROW(run.load(chosen), Error);
    EXPECT_THROW(run.build(), Error);  // nothing half-loaded to build on
}

}  // namespace
}  // namespace mirvane::core
