#include "export/exportar_catalogos.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "export_fixture.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

using export_test::cp;
using export_test::Record;
using export_test::TableRow;

class CatalogosTest : public ::testing::Test {
  protected:
    std::unique_ptr<formats::ExchangeRecords> document(std::string_view seq,
                                                       const std::vector<Record>& records) {
        return export_test::parse(export_test::exchange({export_test::section(seq, records)}));
    }
    std::vector<TableRow> table(const formats::TableSpec& spec) {
        return export_test::readTable(dir.path(), spec);
    }
    testing::TempDir dir;
};

TEST_F(CatalogosTest, TeachersByPositionAndTwiceTheSame) {
    const Record teacher{"100234", "01/09/2019", "García López, María", "GLM"};
    EXPECT_EQ(ExportarProfesores(*document("PROFESORES", {teacher, teacher}), dir.path()), 2u);
    const auto rows = table(formats::kProft);
    const TableRow expected{{"ABREV", "GLM"},
                            {"NOMBRE", cp("García López, María")},
                            {"DEPART", ""},
                            {"DNI", ""},
                            {"X_EMPLEADO", "100234"},
                            {"F_TOMAPOS", "01/09/2019"},
                            {"EMAIL", ""}};
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], expected);
    EXPECT_EQ(rows[1], expected);
}

TEST_F(CatalogosTest, RoomsTakeTheirDepcentroWhenTheAbbreviationIsBlank) {
    ExportarAulas(*document("AULAS", {{"D0012345678", "A101", "Aula 1.01", "Principal"},
                                      {"D0012345678", "   ", "Laboratorio de Química", "A"}}),
                  dir.path());
    const auto rows = table(formats::kAulat);
    ASSERT_EQ(rows.size(), 2u);
    const TableRow expected{{"ABREV", "A101"},
                            {"NOMBRE", "Aula 1.01"},
                            {"EDIFICIO", "P"},
                            {"MAXALUM", ""},
                            {"DEPCENTRO", "D001234567"}};
    EXPECT_EQ(rows[0], expected);
    EXPECT_EQ(rows[1].at("ABREV"), "D001234567");
}

TEST_F(CatalogosTest, GroupsWithNivDescripAndMarco) {
    ExportarGrupos(*document("GRUPOS", {{"1ESO-A", "1EA", "M", "", "1", "A"},
                                        {"2BACH-B", "2BB", "MAÑANA", "BACHILLER", "2", "B"}}),
                   dir.path());
    const auto rows = table(formats::kGrupost);
    ASSERT_EQ(rows.size(), 2u);
    const TableRow expected{{"ABREV", "1EA"},         {"TURNO", "M"}, {"NIVEL", "NIV"},
                            {"CURSO", "1"},           {"GRUPO", "A"}, {"UNIDAD", "1ESO-A"},
                            {"DESCRIP", "M NIV 1 A"}, {"MARCO", "0"}};
    EXPECT_EQ(rows[0], expected);
    EXPECT_EQ(rows[1].at("TURNO"), "M");
    EXPECT_EQ(rows[1].at("NIVEL"), "BACHI");
    // The parts at full length, joined with single blanks.
    EXPECT_EQ(rows[1].at("DESCRIP"), cp("MAÑANA BACHILLER 2 B"));
}

TEST_F(CatalogosTest, DescripIsCutOnlyAsAWhole) {
    ExportarGrupos(
        *document("GRUPOS", {{"U", "G", std::string(50, 't'), "N", "1", std::string(40, 'g')}}),
        dir.path());
    const auto rows = table(formats::kGrupost);
    EXPECT_EQ(rows[0].at("DESCRIP"),
              (std::string(50, 't') + " N 1 " + std::string(40, 'g')).substr(0, 80));
}

TEST_F(CatalogosTest, DocumentWithoutASectionGivesAnEmptyTableWithItsFields) {
    auto other = document("PROFESORES", {{"1", "2", "3", "4"}});
    EXPECT_EQ(ExportarGrupos(*other, dir.path()), 0u);
    EXPECT_TRUE(table(formats::kGrupost).empty());  // reading every field by name works
}

TEST_F(CatalogosTest, ShortRecordsNameTheirWriter) {
    const struct {
        std::size_t (*writer)(const formats::ExchangeRecords&, const std::filesystem::path&,
                              ExportObserver*);
        const char* seq;
        const char* message;
    } cases[] = {
        {ExportarProfesores, "PROFESORES",
         "El registro 2 de la sección PROFESORES tiene 3 campos; se esperan 4"},
        {ExportarAulas, "AULAS", "El registro 2 de la sección AULAS tiene 3 campos; se esperan 4"},
        {ExportarGrupos, "GRUPOS",
         "El registro 2 de la sección GRUPOS tiene 5 campos; se esperan 6"},
    };
    for (const auto& c : cases) {
        Record full(6, "x");
        Record shortRecord(c.writer == ExportarGrupos ? 5 : 3, "y");
        try {
            c.writer(*document(c.seq, {full, shortRecord, full}), dir.path(), nullptr);
            ADD_FAILURE() << c.seq;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace mirvane::exporting
