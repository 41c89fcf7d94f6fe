#include "formats/work_tables.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/testing.h"

namespace mirvane::formats {
namespace {

const TableSpec* const kWritten[] = {&kAsignomt, &kProft, &kAulat,
                                     &kGrupost,  &kAsigt, &kDiashorast};

// A table file's row count and fields, as a foreign dBase reader lists them:
// name, type and, for character fields, width.
std::string foreignFields(const std::filesystem::path& file) {
    const auto result = testing::run(
        std::string(testing::kDebianPython) +
        " -c 'import sys, dbfread; t = dbfread.DBF(sys.argv[1]); "
        "print(len(t), *(f.name + \":\" + (f.type if f.type in \"CL\" else \"#\") + (\":%d\" % "
        "f.length if f.type == \"C\" else \"\") "
        "for f in t.fields))' " +
        testing::shellQuote(file.string()));
    EXPECT_EQ(result.status, 0) << result.errors;
    return result.output;
}

TEST(ReplaceTable, CreatesEveryTableWithItsFieldsInOrder) {
    testing::TempDir dir;
    for (const TableSpec* spec : kWritten) {
        dbf::Table table;
        replaceTable(table, dir.path(), *spec);
        EXPECT_FALSE(table.active());
        std::string expected = "0";
        for (const FieldSpec& field : spec->fields) {
            expected += " " + std::string(field.name);
            switch (field.type) {
                case dbf::FieldType::Character:
                    expected += ":C:" + std::to_string(field.size);
                    break;
                case dbf::FieldType::Logical:
                    expected += ":L";
                    break;
                default:
                    expected += ":#";  // a numeric type of the engine's choice
            }
        }
        EXPECT_EQ(foreignFields(dir / (std::string(spec->name) + ".DBF")), expected + "\n");
    }
}

TEST(ReplaceTable, ReplacesTheOldTableAndItsIndex) {
    testing::TempDir dir;
    {
        dbf::Table table;
        replaceTable(table, dir.path(), kAsignomt);
        table.open();
        table.append();
        table.setText("MATERIA", "12345678901234");
        table.post();
        table.close();
        table.open();
        table.first();
        EXPECT_EQ(table.asText("MATERIA"), "123456789012");  // cut to C(12)
    }
    testing::writeFile(dir / "ASIGNOMT.MDX", "old index");
    dbf::Table again;
    replaceTable(again, dir.path(), kAsignomt);
    again.open();
    EXPECT_EQ(again.recordCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "ASIGNOMT.MDX"));
}

TEST(ReplaceTable, LeavesATableHeldByAnotherProgramAlone) {
    testing::TempDir dir;
    {
        dbf::Table table;
        replaceTable(table, dir.path(), kProft);
        table.open();
        table.append();
        table.setText("ABREV", "GLM");
        table.post();
    }
    testing::writeFile(dir / "PROFT.MDX", "index");
    dbf::Table held;
    held.setDatabaseName(dir.path());
    held.setTableName("PROFT");
    held.setExclusive(true);
    held.open();
    dbf::Table writer;
    EXPECT_THROW(replaceTable(writer, dir.path(), kProft), Error);
    EXPECT_EQ(held.recordCount(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir / "PROFT.MDX"));
}

TEST(ReplaceTable, MissingFolderIsAnErrorAndIsNotCreated) {
    testing::TempDir dir;
    dbf::Table table;
    EXPECT_THROW(replaceTable(table, dir / "KTEMP", kAulat), Error);
    EXPECT_FALSE(std::filesystem::exists(dir / "KTEMP"));
}

TEST(WorkTableComponents, NamedAfterTheirTablesAndClosedTogether) {
    testing::TempDir dir;
    for (const TableSpec* spec : kWritten) {
        dbf::Table table;
        replaceTable(table, dir.path(), *spec);
    }
    WorkTableComponents components(dir.path());
    EXPECT_EQ(components.wwTableNomAsg.componentName(), "wwTableNomAsg");
    EXPECT_EQ(components.wwTableNomAsg.filePath().filename(), "ASIGNOMT.DBF");
    EXPECT_EQ(components.wwTableTramos.filePath().filename(), "DIASHORAST.DBF");
    EXPECT_EQ(components.wwTableSoluc.filePath().filename(), "SOLUC.DBF");
    components.wwTableNomAsg.open();
    components.wwTableAsig.open();
    components.closeAll();
    EXPECT_FALSE(components.wwTableNomAsg.active());
    EXPECT_FALSE(components.wwTableAsig.active());
    try {
        components.wwTableProfesor.open();
        components.wwTableProfesor.first();
        components.wwTableProfesor.asText("NADA");
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "wwTableProfesor: Field 'NADA' not found");
    }
}

}  // namespace
}  // namespace mirvane::formats
