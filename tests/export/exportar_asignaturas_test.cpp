#include "export/exportar_asignaturas.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "export/exportar_materias.h"
#include "export_fixture.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

using export_test::column;
using export_test::Record;
using export_test::TableRow;

Record assignment(std::string minutes, std::string materia = "300001", std::string nivel = "ESO") {
    return {"MAT1",
            "1EA",
            "A101",
            "M",
            std::move(nivel),
            "1",
            "A",
            std::move(minutes),
            std::move(materia)};
}

class ExportarAsignaturasTest : public ::testing::Test {
  protected:
    // Writes ASIGNOMT from `subjects`, then ASIGT from `assignments`.
    std::vector<TableRow> exportAssignments(const std::vector<Record>& assignments,
                                            const std::vector<Record>& subjects = {}) {
        auto document = export_test::parse(
            export_test::exchange({export_test::section("MATERIAS", subjects),
                                   export_test::section("ASIGNATURAS", assignments)}));
        ExportarMaterias(*document, dir.path());
        formats::WorkTableComponents components(dir.path());
        rows = ExportarAsignaturas(*document, dir.path(), components.wwTableNomAsg);
        nomAsgOpened = components.wwTableNomAsg.active();
        components.closeAll();
        return export_test::readTable(dir.path(), formats::kAsigt);
    }

    std::vector<double> hours() {
        dbf::Table asigt;
        asigt.setDatabaseName(dir.path());
        asigt.setTableName("ASIGT");
        asigt.open();
        std::vector<double> values;
        for (asigt.first(); !asigt.eof(); asigt.next()) values.push_back(asigt.asFloat("HORAS"));
        return values;
    }

    testing::TempDir dir;
    std::size_t rows = 0;
    bool nomAsgOpened = false;
};

TEST_F(ExportarAsignaturasTest, FieldsByPosition) {
    const auto table =
        exportAssignments({{"MAT1", "1EA", "A101", "MAÑANA", "ESO", "1", "A", "165", "300001"}});
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].at("CASIG"), "MAT1");
    EXPECT_EQ(table[0].at("CPROF"), "");
    EXPECT_EQ(table[0].at("CGRUP"), "1EA");
    EXPECT_EQ(table[0].at("CAULA"), "A101");
    EXPECT_EQ(table[0].at("TURNO"), "M");
    EXPECT_EQ(table[0].at("NIVEL"), "ESO");
    EXPECT_EQ(table[0].at("CURSO"), "1");
    EXPECT_EQ(table[0].at("GRUPO"), "A");
    EXPECT_EQ(table[0].at("SESIONES"), "111");
    EXPECT_EQ(table[0].at("NCONEX"), "");
    EXPECT_EQ(table[0].at("MATERIA"), "300001");
    EXPECT_EQ(table[0].at("CTAREA"), "LE");
    EXPECT_DOUBLE_EQ(hours().at(0), 2.75);
    EXPECT_FALSE(nomAsgOpened);  // no task subject, no lookup
}

TEST_F(ExportarAsignaturasTest, HoursAndSessions) {
    const struct {
        const char* minutes;
        double hours;
        const char* sessions;
    } cases[] = {
        {"60", 1.0, "1"},
        {"90", 1.5, "11"},
        {"100", 100.0 / 60, "11"},
        {"30", 1.0, "1"},
        {"0", 1.0, "1"},
        {"-5", 1.0, "1"},
        {"", 1.0, "1"},
        {"780", 13.0, "1111111111111"},
        {"781", 781.0 / 60, "11111111111111"},
        {"900", 15.0, "21111111111111"},
        {"1380", 23.0, "101111111111111"},
        {" 120", 2.0, "11"},
    };
    std::vector<Record> records;
    for (const auto& c : cases) records.push_back(assignment(c.minutes));
    const auto table = exportAssignments(records);
    const auto stored = hours();
    ASSERT_EQ(table.size(), std::size(cases));
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].at("SESIONES"), cases[i].sessions) << cases[i].minutes;
        EXPECT_NEAR(stored[i], cases[i].hours, 1e-9) << cases[i].minutes;
    }
}

TEST(SessionPattern, IsCutOnlyByItsField) {
    EXPECT_EQ(sessionPattern(1.0), "1");
    EXPECT_EQ(sessionPattern(13.01), "11111111111111");
    EXPECT_EQ(sessionPattern(2147483647.0 / 60), "35791382" + std::string(13, '1'));
}

TEST(HoursFromMinutes, ConversionErrorCarriesTheText) {
    for (const char* bad : {"45min", "1.5", "1 0", "2147483648", "abc", "$3C"}) {
        try {
            hoursFromMinutes(bad);
            ADD_FAILURE() << bad;
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST_F(ExportarAsignaturasTest, EmptyLevelIsNiv) {
    EXPECT_EQ(exportAssignments({assignment("60", "300001", "")})[0].at("NIVEL"), "NIV");
}

TEST_F(ExportarAsignaturasTest, TaskCodes) {
    const std::vector<Record> subjects = {{"G1", "X1", "", "Guardia"},
                                          {"G1", "X2", "", "Guardia otra vez"},
                                          {"G12345678901", "T12", "", "Larga"},
                                          {"g1", "Y1", "", "minúscula"}};
    const auto table =
        exportAssignments({assignment("60", "G1"), assignment("60", "g1"), assignment("60", "G9"),
                           assignment("60", "G1234567890123"), assignment("60", "G12345678901"),
                           assignment("60", "")},
                          subjects);
    EXPECT_EQ(column(table, "CTAREA"),
              (std::vector<std::string>{"X1", "LE", "G9", "G123456789", "T12", "LE"}));
    EXPECT_EQ(table[3].at("MATERIA"), "G12345678901");
    EXPECT_TRUE(nomAsgOpened);
}

TEST_F(ExportarAsignaturasTest, LookupSeesTheCaseOfTheStoredMateria) {
    // The duplicate rule drops the second subject (same code), so G7 is not stored.
    const auto table =
        exportAssignments({assignment("60", "G7")}, {{"G6", "AB", "", ""}, {"G7", "ab", "", ""}});
    EXPECT_EQ(table[0].at("CTAREA"), "G7");
}

TEST_F(ExportarAsignaturasTest, MinutesWithAUnitEndTheWriterAfterTheRowsBefore) {
    try {
        exportAssignments(
            {assignment("60"), assignment("90"), assignment("45min"), assignment("60")});
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "'45min' is not a valid integer value. Está en el registro 3 de la sección "
                     "ASIGNATURAS, campo 8 (minutos), valor «45min»");
    }
    EXPECT_EQ(export_test::readTable(dir.path(), formats::kAsigt).size(), 2u);
}

TEST_F(ExportarAsignaturasTest, ShortRecordIsAnError) {
    Record shortRecord = assignment("60");
    shortRecord.pop_back();
    try {
        exportAssignments({assignment("60"), assignment("60"), shortRecord});
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "El registro 3 de la sección ASIGNATURAS tiene 8 campos; se esperan 9");
    }
}

TEST_F(ExportarAsignaturasTest, LookupFailsWhenTheSubjectsTableIsMissing) {
    auto document = export_test::parse(
        export_test::exchange({export_test::section("ASIGNATURAS", {assignment("60", "G1")})}));
    formats::WorkTableComponents components(dir.path());
    EXPECT_THROW(ExportarAsignaturas(*document, dir.path(), components.wwTableNomAsg), Error);
}

}  // namespace
}  // namespace mirvane::exporting
