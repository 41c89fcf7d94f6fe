#include "export/exportar_materias.h"

#include <gtest/gtest.h>

#include "export_fixture.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

using export_test::column;
using export_test::Record;
using export_test::TableRow;

class ExportarMateriasTest : public ::testing::Test {
  protected:
    std::vector<TableRow> exportSubjects(const std::vector<Record>& records) {
        auto document =
            export_test::parse(export_test::exchange({export_test::section("MATERIAS", records)}));
        rows = ExportarMaterias(*document, dir.path());
        return export_test::readTable(dir.path(), formats::kAsignomt);
    }
    testing::TempDir dir;
    std::size_t rows = 0;
};

TEST_F(ExportarMateriasTest, FieldsByPosition) {
    const auto table = exportSubjects({{"G439", "GUA1", "GUARDIA", "Guardia de recreo"}});
    ASSERT_EQ(table.size(), 1u);
    const TableRow expected{{"COD", "GUA1"},
                            {"CODLARGO", "GUARDIA"},
                            {"NOMBRE", "Guardia de recreo"},
                            {"MATERIA", "G439"},
                            {"ESTAREA", "T"}};
    EXPECT_EQ(table[0], expected);
}

TEST_F(ExportarMateriasTest, FirstCodeWinsWithoutRegardToLetterCase) {
    const auto table = exportSubjects({{"100", "ab1", "x", "Primera"},
                                       {"200", "AB1", "y", "Segunda"},
                                       {"300", "ab1", "z", "Tercera"},
                                       {"400", "ÑU", "", "Ñu"},
                                       {"500", "ñu", "", "ñu"}});
    EXPECT_EQ(rows, 2u);
    EXPECT_EQ(column(table, "MATERIA"), (std::vector<std::string>{"100", "400"}));
    EXPECT_EQ(column(table, "NOMBRE"),
              (std::vector<std::string>{"Primera", export_test::cp("Ñu")}));
}

TEST_F(ExportarMateriasTest, CodesAreComparedAtFullLength) {
    const auto table =
        exportSubjects({{"1", "ABCDEFGHIJ1", "", "a"}, {"2", "abcdefghij2", "", "b"}});
    EXPECT_EQ(column(table, "COD"), (std::vector<std::string>{"ABCDEFGHIJ", "abcdefghij"}));
}

TEST_F(ExportarMateriasTest, EmptyCodeIsACodeLikeAnyOther) {
    const auto table =
        exportSubjects({{"1", "", "", "a"}, {"2", "  ", "", "b"}, {"3", "C", "", "c"}});
    EXPECT_EQ(column(table, "MATERIA"), (std::vector<std::string>{"1", "3"}));
}

TEST_F(ExportarMateriasTest, EstareaFromTheFirstCharacterOfTheTrimmedSubjectCode) {
    const auto table = exportSubjects({{"G439", "a", "", ""},
                                       {"g439", "b", "", ""},
                                       {"  G439", "c", "", ""},
                                       {"", "d", "", ""},
                                       {"439G", "e", "", ""}});
    EXPECT_EQ(column(table, "ESTAREA"), (std::vector<std::string>{"T", "F", "T", "F", "F"}));
}

TEST_F(ExportarMateriasTest, LongValuesAreCutToTheirFields) {
    const auto table = exportSubjects({{"12345678901234", "C", "", std::string(90, 'n')}});
    EXPECT_EQ(table[0].at("MATERIA"), "123456789012");
    EXPECT_EQ(table[0].at("NOMBRE"), std::string(80, 'n'));
}

TEST_F(ExportarMateriasTest, EveryCallStartsWithAnEmptyCodeList) {
    exportSubjects({{"1", "A", "", ""}});
    EXPECT_EQ(exportSubjects({{"2", "a", "", ""}}).size(), 1u);
}

}  // namespace
}  // namespace mirvane::exporting
