// What the export writers record while they work, on documents built for
// each kind of warning.

#include "report/export_warnings.h"

#include <gtest/gtest.h>

#include "export/export_fixture.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"
#include "support/testing.h"

namespace mirvane::report {
namespace {

using export_test::exchange;
using export_test::labelledSection;
using export_test::section;

class ExportWarningsTest : public ::testing::Test {
  protected:
    void exportMaterias(const std::vector<export_test::Record>& records) {
        auto document = export_test::parse(exchange({section("MATERIAS", records)}));
        exporting::ExportarMaterias(*document, dir.path(), &warnings);
    }
    testing::TempDir dir;
    ExportWarnings warnings;
};

TEST_F(ExportWarningsTest, SubjectsDroppedByTheDuplicateRuleNameTheOneKept) {
    exportMaterias({{"M1", "ab1", "l1", "Primera"},
                    {"M2", "xy", "l2", "Otra"},
                    {"M3", "AB1", "l3", "Segunda"},
                    {"M4", "ab1", "l4", "Tercera"}});
    ASSERT_EQ(warnings.droppedSubjects().size(), 2u);
    const DroppedSubject& second = warnings.droppedSubjects()[0];
    EXPECT_EQ(second.record, 3u);
    EXPECT_EQ(second.materia, "M3");
    EXPECT_EQ(second.cod, "AB1");
    EXPECT_EQ(second.nombre, "Segunda");
    EXPECT_EQ(second.keptRecord, 1u);
    EXPECT_EQ(second.keptCod, "ab1");
    EXPECT_EQ(warnings.droppedSubjects()[1].record, 4u);
    EXPECT_EQ(warnings.count(), 2u);
}

TEST_F(ExportWarningsTest, ValuesCutToTheirWidthAreGroupedAndFieldsReadBackMarked) {
    const std::string longName(85, 'n');
    exportMaterias({{"MATEMATICAS14", "ABCDEFGHIJKLMN", "corto", longName},
                    {"M2", "OTRO", "corto", longName},
                    {"M3", "EXACTO1234", "corto", "n"}});  // ten characters fit
    const auto& cuts = warnings.cutValues();
    ASSERT_EQ(cuts.size(), 3u);
    struct Expected {
        std::string_view field;
        std::string stored;
        bool match;
        std::size_t rows, first;
    };
    const Expected expected[] = {{"COD", "ABCDEFGHIJ", true, 1, 1},
                                 {"NOMBRE", std::string(80, 'n'), false, 2, 1},
                                 {"MATERIA", "MATEMATICAS1", true, 1, 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].field);
        EXPECT_EQ(cuts[i].table, "ASIGNOMT");
        EXPECT_EQ(cuts[i].field, expected[i].field);
        EXPECT_EQ(cuts[i].stored, expected[i].stored);
        EXPECT_EQ(cuts[i].readBack, expected[i].match);
        EXPECT_FALSE(cuts[i].expected);
        EXPECT_EQ(cuts[i].rows, expected[i].rows);
        EXPECT_EQ(cuts[i].firstRecord, expected[i].first);
    }
    EXPECT_EQ(warnings.count(), 3u);  // a value cut in many rows counts once
}

// A one-character field keeps an initial by design: shown, never counted. A
// code the import returns to Delphos is read back, though no lookup uses it.
TEST_F(ExportWarningsTest, CutsByDesignAreNoWarning) {
    auto document = export_test::parse(
        exchange({section("GRUPOS", {{"UNIDAD-DEMASIADO-LARGA", "1A", "MAÑANA", "ESO", "1", "A"},
                                     {"U2", "1B", "MAÑANA", "ESO", "1", "B"}}),
                  section("AULAS", {{"D1", "A1", "Aula", "Principal"}})}));
    exporting::ExportarGrupos(*document, dir.path(), &warnings);
    exporting::ExportarAulas(*document, dir.path(), &warnings);
    struct Expected {
        std::string_view table, field;
        bool readBack, expected;
        std::size_t rows;
    };
    const Expected expected[] = {{"GRUPOST", "UNIDAD", true, false, 1},
                                 {"GRUPOST", "TURNO", false, true, 2},
                                 {"AULAT", "EDIFICIO", false, true, 1}};
    const auto& cuts = warnings.cutValues();
    ASSERT_EQ(cuts.size(), std::size(expected));
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        SCOPED_TRACE(expected[i].field);
        EXPECT_EQ(cuts[i].table, expected[i].table);
        EXPECT_EQ(cuts[i].field, expected[i].field);
        EXPECT_EQ(cuts[i].readBack, expected[i].readBack);
        EXPECT_EQ(cuts[i].expected, expected[i].expected);
        EXPECT_EQ(cuts[i].rows, expected[i].rows);
    }
    EXPECT_EQ(warnings.count(), 1u);
}

TEST_F(ExportWarningsTest, ShortRecordsAreNamedBySectionAndPosition) {
    auto document = export_test::parse(exchange({section(
        "PROFESORES", {{"E1", "F1", "Ana", "ANA"}, {"solo"}, {}, {"E2", "F2", "Luis", "LU"}})}));
    EXPECT_EQ(exporting::ExportarProfesores(*document, dir.path(), &warnings), 2u);
    ASSERT_EQ(warnings.skippedRecords().size(), 2u);
    EXPECT_EQ(warnings.skippedRecords()[0].section, "PROFESORES");
    EXPECT_EQ(warnings.skippedRecords()[0].record, 2u);
    EXPECT_EQ(warnings.skippedRecords()[0].fields, 1u);
    EXPECT_EQ(warnings.skippedRecords()[1].record, 3u);
    EXPECT_EQ(warnings.skippedRecords()[1].fields, 0u);
}

TEST_F(ExportWarningsTest, SlotsTheImportCannotFind) {
    auto slot = [](std::string code) -> export_test::Labelled {
        return {{"CODIGO_DELPHOS", "T" + code}, {"NOMBRE", code}, {"MINUTOS", "55"}};
    };
    auto document = export_test::parse(exchange({labelledSection(
        "TRAMOS", {slot("L1"), slot("L2"), slot("L03"), slot("M2"), slot("l2"), slot("Z1")})}));
    exporting::FixedStartHour prompt("08:00");
    EXPECT_EQ(exporting::ExportarTramos(*document, dir.path(), prompt, &warnings), 6u);

    using Reason = UnreachableSlot::Reason;
    struct Expected {
        std::size_t record;
        std::string code, diho, sought;
        Reason reason;
    };
    const Expected expected[] = {{3, "L03", "103", "13", Reason::SlotTextNotPlain},
                                 {5, "l2", "l2", "", Reason::UnknownWeekday},
                                 {6, "Z1", "Z1", "", Reason::UnknownWeekday}};
    const auto& slots = warnings.unreachableSlots();
    ASSERT_EQ(slots.size(), std::size(expected));
    for (std::size_t i = 0; i < slots.size(); ++i) {
        SCOPED_TRACE(expected[i].code);
        EXPECT_EQ(slots[i].record, expected[i].record);
        EXPECT_EQ(slots[i].slotCode, expected[i].code);
        EXPECT_EQ(slots[i].diho, expected[i].diho);
        EXPECT_EQ(slots[i].keySought, expected[i].sought);
        EXPECT_EQ(slots[i].reason, expected[i].reason);
    }
}

TEST_F(ExportWarningsTest, ProgressFollowsTheTablesAndTheirRows) {
    auto document = export_test::parse(
        exchange({section("AULAS", {{"D1", "A1", "Aula", "P"}, {"D2", "A2", "Aula", "P"}})}));
    exporting::ExportarAulas(*document, dir.path(), &warnings);
    warnings.beginTable("ASIGT");
    warnings.rowPosted();
    ASSERT_EQ(warnings.progress().size(), 2u);
    EXPECT_EQ(warnings.progress()[0].table, "AULAT");
    EXPECT_EQ(warnings.progress()[0].rows, 2u);
    EXPECT_EQ(warnings.progress()[1].rows, 1u);
}

TEST_F(ExportWarningsTest, AFaithfulSectionRecordsNothing) {
    exportMaterias({{"M1", "C1", "L1", "Uno"}, {"G2", "C2", "L2", "Dos"}});
    EXPECT_EQ(warnings.count(), 0u);
}

}  // namespace
}  // namespace mirvane::report
