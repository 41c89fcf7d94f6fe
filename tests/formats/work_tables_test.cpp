#include "formats/work_tables.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/testing.h"

namespace mirvane::formats {
namespace {

const TableSpec* const kWritten[] = {&kAsignomt, &kProft, &kAulat,
                                     &kGrupost,  &kAsigt, &kDiashorast};

// A table file's row count and fields, as a foreign dBase reader lists them:
// name, type (C, L, and a number as I without decimals or F with them) and,
// for character fields, width.
std::string foreignFields(const std::filesystem::path& file) {
    const auto result = testing::run(
        std::string(testing::kDebianPython) +
        " -c 'import sys, dbfread; t = dbfread.DBF(sys.argv[1]); "
        "print(len(t), *(f.name + \":\" + (f.type if f.type in \"CL\" else \"F\" if "
        "f.decimal_count else \"I\") + (\":%d\" % f.length if f.type == \"C\" else \"\") "
        "for f in t.fields))' " +
        testing::shellQuote(file.string()));
    EXPECT_EQ(result.status, 0) << result.errors;
    return result.output;
}

// The six layouts as Tablexa reads them, written out field by field.
TEST(ReplaceTable, CreatesEveryTableWithItsFieldsInOrder) {
    const struct {
        const TableSpec& spec;
        const char* fields;
    } tables[] = {
        {kAsignomt, "COD:C:10 CODLARGO:C:10 NOMBRE:C:80 MATERIA:C:12 ESTAREA:L"},
        {kProft,
         "ABREV:C:10 NOMBRE:C:80 DEPART:C:40 DNI:I X_EMPLEADO:C:12 F_TOMAPOS:C:10 EMAIL:C:100"},
        {kAulat, "ABREV:C:10 NOMBRE:C:80 EDIFICIO:C:1 MAXALUM:I DEPCENTRO:C:10"},
        {kGrupost,
         "ABREV:C:10 TURNO:C:1 NIVEL:C:5 CURSO:C:3 GRUPO:C:2 UNIDAD:C:12 DESCRIP:C:80 MARCO:C:1"},
        {kAsigt,
         "CASIG:C:10 CPROF:C:10 CGRUP:C:10 CAULA:C:10 TURNO:C:1 NIVEL:C:5 CURSO:C:3 GRUPO:C:2 "
         "HORAS:F SESIONES:C:20 NCONEX:C:4 MATERIA:C:12 CTAREA:C:10"},
        {kDiashorast,
         "DIHO:C:10 CODDIHO:C:10 DIA:C:20 TEXTODIA:C:20 HORA:C:8 TEXTOHOR:C:15 HORADESDE:C:8 "
         "HORAHASTA:C:8 MINUTOS:C:8 MARCO:C:1 MARCOXML:C:10"},
    };
    testing::TempDir dir;
    for (const auto& table : tables) {
        dbf::Table written;
        replaceTable(written, dir.path(), table.spec);
        EXPECT_FALSE(written.active());
        EXPECT_EQ(foreignFields(dir / (std::string(table.spec.name) + ".DBF")),
                  "0 " + std::string(table.fields) + "\n");
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
