// The runs on a generated school of full size: the export checked against
// what the school model says each table must hold, and both runs unchanged by
// the report.

#include <gtest/gtest.h>

#include <map>
#include <unordered_set>

#include "base/text.h"
#include "core/export_run.h"
#include "core/import_run.h"
#include "export/export_fixture.h"
#include "formats/work_tables.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "schoolgen/soluc_writer.h"
#include "support/testing.h"

namespace mirvane::core {
namespace {

using export_test::column;
using export_test::readTable;

// The subjects ExportarMaterias keeps: the first of every code in any letter case.
std::vector<schoolgen::Subject> keptSubjects(const schoolgen::School& school) {
    std::vector<schoolgen::Subject> kept;
    std::unordered_set<std::string> codes;
    for (const schoolgen::Subject& subject : school.subjects)
        if (codes.insert(text::toLower(text::trim(subject.cod))).second) kept.push_back(subject);
    return kept;
}

// CTAREA by a scan of the kept subjects from the top for every assignment.
std::string expectedTaskCode(const std::vector<schoolgen::Subject>& kept,
                             const std::string& materia) {
    if (materia.empty() || materia.front() != 'G') return "LE";
    for (const schoolgen::Subject& subject : kept)
        if (subject.materia.substr(0, 12) == materia)
            return std::string(text::trim(subject.cod)).substr(0, 10);
    return materia.substr(0, 10);
}

TEST(ExportSchool, GeneratedSchoolGivesWhatItsModelSays) {
    const schoolgen::School school = schoolgen::generateSchool(schoolgen::schoolSize(), 7);
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "KTEMP");
    schoolgen::writeExchangeDocument(school, dir / "centro.xml");

    exporting::FixedStartHour prompt;
    ExportRun run(dir / "KTEMP", prompt);
    const auto summary = run.run(dir / "centro.xml");
    ASSERT_TRUE(summary);

    const auto kept = keptSubjects(school);
    EXPECT_LT(kept.size(), school.subjects.size());  // the school has repeated codes
    EXPECT_EQ(*summary, (ExportSummary{{"ASIGNOMT", kept.size()},
                                       {"PROFT", school.teachers.size()},
                                       {"AULAT", school.rooms.size()},
                                       {"GRUPOST", school.groups.size()},
                                       {"ASIGT", school.assignments.size()},
                                       {"DIASHORAST", school.slots.size()}}));

    const auto assignments = readTable(dir / "KTEMP", formats::kAsigt);
    ASSERT_EQ(assignments.size(), school.assignments.size());
    std::size_t tasks = 0;
    for (std::size_t i = 0; i < assignments.size(); ++i) {
        const std::string expected = expectedTaskCode(kept, school.assignments[i].materia);
        EXPECT_EQ(assignments[i].at("CTAREA"), expected) << i;
        tasks += expected != "LE";
    }
    EXPECT_GT(tasks, 100u);

    const auto subjects = readTable(dir / "KTEMP", formats::kAsignomt);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(subjects[i].at("NOMBRE"), std::string(text::trim(kept[i].nombre)).substr(0, 80))
            << i;
}

}  // namespace
}  // namespace mirvane::core

namespace mirvane::core {
namespace {

// Every file of a folder by name, as bytes.
std::map<std::string, std::string> filesOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = testing::readFile(entry.path());
    return files;
}

// The report only watches: the tables and the result document of a generated
// school are the same, byte for byte, with it and without it.
TEST(ExportSchool, TheReportChangesNoByteOfTablesOrResult) {
    const schoolgen::School school = schoolgen::generateSchool(schoolgen::schoolSize(), 3);
    testing::TempDir dir;
    std::map<std::string, std::string> tables[2], results[2];
    std::size_t warnings[2] = {0, 0};
    for (int withReport : {0, 1}) {
        const auto folder = dir / (withReport ? "con-informe" : "sin-informe");
        std::filesystem::create_directories(folder / "KTEMP");
        schoolgen::writeExchangeDocument(school, folder / "centro.xml");

        exporting::FixedStartHour prompt;
        ExportRun exportRun(folder / "KTEMP", prompt);
        if (withReport) exportRun.requestReport(dir / "exportacion.html");
        ASSERT_TRUE(exportRun.run(folder / "centro.xml"));
        tables[withReport] = filesOf(folder / "KTEMP");

        schoolgen::writeSoluc(schoolgen::solution(school, 3), folder / "KTEMP");
        ImportRun importRun(folder / "KTEMP");
        if (withReport) importRun.requestReport(dir / "importacion.html");
        ASSERT_TRUE(importRun.run(folder / "centro.xml"));
        results[withReport] = filesOf(folder);
        if (withReport) warnings[0] = exportRun.runReport()->warnings;
        if (withReport) warnings[1] = importRun.runReport()->warnings;
    }
    EXPECT_EQ(tables[0].size(), 6u);
    EXPECT_TRUE(tables[0] == tables[1]);
    EXPECT_TRUE(results[0] == results[1]);
    // The generated school repeats codes and leaves lessons unresolved.
    EXPECT_GT(warnings[0], 0u);
    EXPECT_GT(warnings[1], 0u);
}

}  // namespace
}  // namespace mirvane::core
