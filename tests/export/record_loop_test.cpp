#include "export/record_loop.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "export_fixture.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

using export_test::column;
using export_test::readTable;
using export_test::Record;

// A rule that stores position 0 in PROFT.ABREV and position 1 in NOMBRE.
RowRule abbreviationAndName() {
    RowRule rule;
    rule.fill = [](Row& table, const Values& v) {
        table.setText("ABREV", v[0]);
        table.setText("NOMBRE", v[1]);
    };
    return rule;
}

class RecordLoopTest : public ::testing::Test {
  protected:
    std::size_t write(const std::vector<std::string>& sections, std::size_t positions = 2,
                      const RowRule& rule = abbreviationAndName()) {
        auto document = export_test::parse(export_test::exchange(sections));
        return writeRecords(*document, dir.path(), {"PROFESORES", formats::kProft, positions},
                            rule);
    }
    std::vector<std::string> abbreviations() {
        return column(readTable(dir.path(), formats::kProft), "ABREV");
    }
    testing::TempDir dir;
};

TEST_F(RecordLoopTest, RecordsWithFewerThanTwoFieldsGiveNoRow) {
    EXPECT_EQ(write({export_test::section("PROFESORES", {{"A", "1"}, {"B"}, {}, {"C", "3", "x"}})}),
              2u);
    EXPECT_EQ(abbreviations(), (std::vector<std::string>{"A", "C"}));
}

TEST_F(RecordLoopTest, SectionsWithTheSameSeqAreReadAsOne) {
    write({export_test::section("PROFESORES", {{"A", "1"}}),
           export_test::section("AULAS", {{"X", "9"}}),
           export_test::section("PROFESORES", {{"B", "2"}})});
    EXPECT_EQ(abbreviations(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(RecordLoopTest, MissingSectionOrDocumentShapeGivesAnEmptyTable) {
    for (const char* text :
         {"<SERVICIO><SALIDAS/></SERVICIO>", "<SERVICIO/>", "<OTRO><SALIDAS/></OTRO>"}) {
        auto document = export_test::parse(text);
        EXPECT_EQ(writeRecords(*document, dir.path(), {"PROFESORES", formats::kProft, 2},
                               abbreviationAndName()),
                  0u);
        EXPECT_TRUE(abbreviations().empty()) << text;
    }
}

TEST_F(RecordLoopTest, ValuesAreTrimmedAndConverted) {
    write({export_test::section("PROFESORES", {{"  G12 \t", "Peña Núñez, Íñigo\n"}})});
    const auto rows = readTable(dir.path(), formats::kProft);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("ABREV"), "G12");
    EXPECT_EQ(rows[0].at("NOMBRE"), export_test::cp("Peña Núñez, Íñigo"));
    EXPECT_EQ(rows[0].at("DEPART"), "");  // never set
}

TEST_F(RecordLoopTest, RecordShortOfItsPositionsIsAnErrorAndRowsBeforeItStay) {
    try {
        write({export_test::section("PROFESORES", {{"A", "1", "x"}, {"B"}, {"C", "3"}})}, 3);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "El registro 3 de la sección PROFESORES tiene 2 campos; se esperan 3");
    }
    EXPECT_EQ(abbreviations(), (std::vector<std::string>{"A"}));
}

TEST_F(RecordLoopTest, RowBeingBuiltWhenTheRuleFailsIsNotStored) {
    RowRule rule = abbreviationAndName();
    rule.fill = [](Row& table, const Values& v) {
        table.setText("ABREV", v[0]);
        if (v[1] == "mal") fail("fallo a medias");
    };
    EXPECT_THROW(write({export_test::section("PROFESORES", {{"A", "1"}, {"B", "mal"}, {"C", "3"}})},
                       2, rule),
                 Error);
    EXPECT_EQ(abbreviations(), (std::vector<std::string>{"A"}));
}

TEST_F(RecordLoopTest, RejectedRecordsGiveNoRow) {
    RowRule rule = abbreviationAndName();
    rule.accept = [](const Values& v, std::size_t) { return v[0] != "B"; };
    EXPECT_EQ(
        write({export_test::section("PROFESORES", {{"A", "1"}, {"B", "2"}, {"C", "3"}})}, 2, rule),
        2u);
    EXPECT_EQ(abbreviations(), (std::vector<std::string>{"A", "C"}));
}

TEST_F(RecordLoopTest, MissingWorkFolderIsTheEnginesError) {
    auto document = export_test::parse(export_test::exchange({}));
    EXPECT_THROW(writeRecords(*document, dir / "no-existe", {"PROFESORES", formats::kProft, 2},
                              abbreviationAndName()),
                 Error);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-existe"));
}

}  // namespace
}  // namespace mirvane::exporting
