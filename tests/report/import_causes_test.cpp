// The import's warnings grouped by cause, and the CSV of the activities.

#include "report/import_causes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "report/csv.h"
#include "report/import_warnings.h"

namespace mirvane::report {
namespace {

ActivityCheck lesson(bool slot, bool group, bool room, std::string key) {
    ActivityCheck c;
    c.flags.slotFound = slot;
    c.flags.groupFound = group;
    c.flags.roomFound = room;
    c.slotKey = c.codgrupo = c.aula = std::move(key);
    return c;
}

// Two teachers; a group key missing five times in two codes, a slot three
// times, a room once. The CSV goes to `csv`.
void recordBuiltForIt(ImportWarnings& w) {
    w.beginTeacher({"E1", "ANA", "Ana"}, 1);
    w.lesson(1, lesson(true, false, true, "9Z"), {});
    w.lesson(2, lesson(false, false, true, "9Z"), {});
    w.lesson(3, ActivityCheck{}, {});  // faithful
    w.lesson(4, lesson(true, false, true, "8Y"), {});
    w.beginTeacher({"E2", "LUIS", "Luis"}, 2);
    w.lesson(1, lesson(false, false, true, "8Y"), {});
    w.lesson(2, lesson(false, false, false, "9Z"), {});
    w.finish();
}

TEST(ImportCauses, AreGroupedWorstFirstWithTheirKeysByFrequency) {
    ImportWarnings warnings;
    recordBuiltForIt(warnings);
    const auto groups = warnings.causes();
    ASSERT_EQ(groups.size(), 3u);
    struct Expected {
        Cause cause;
        std::size_t activities;
        std::vector<KeyCount> keys;
    } expected[] = {
        {Cause::Slot, 3, {{"9Z", 2}, {"8Y", 1}}},
        {Cause::Group, 5, {{"9Z", 3}, {"8Y", 2}}},
        {Cause::Room, 1, {{"9Z", 1}}},
    };
    for (std::size_t i = 0; i < groups.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(groups[i].cause, expected[i].cause);
        EXPECT_EQ(groups[i].activities, expected[i].activities);
        EXPECT_EQ(groups[i].keys, expected[i].keys);
    }
    // Per teacher: how many, per cause, and the first few as examples.
    const auto& teachers = warnings.teachersWithProblems();
    ASSERT_EQ(teachers.size(), 2u);
    EXPECT_EQ(teachers[0].activities, 3u);
    EXPECT_EQ(teachers[0].causes, (std::array<std::size_t, kCauseCount>{1, 3, 0, 0, 0, 0}));
    EXPECT_EQ(teachers[0].examples.size(), 3u);
    EXPECT_EQ(teachers[1].causes, (std::array<std::size_t, kCauseCount>{2, 2, 0, 1, 0, 0}));
    EXPECT_EQ(byFrequency({{"b", 1}, {"a", 1}, {"c", 2}}),
              (std::vector<KeyCount>{{"c", 2}, {"a", 1}, {"b", 1}}));
}

TEST(ImportCauses, TheCsvHoldsOneRowPerAffectedActivity) {
    std::string csv;
    ImportWarnings warnings([&csv](std::string_view piece) { csv += piece; });
    recordBuiltForIt(warnings);
    ASSERT_TRUE(csv.starts_with(csv::kByteOrderMark));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6);  // the header and five activities
    EXPECT_NE(csv.find("\r\nLuis;LUIS;E2;EMPLEADO_2;ACTIVIDAD_2;Tramo, Grupo, Aula;;;"
                       "9Z;9Z;;;;;;9Z\r\n"),
              std::string::npos)
        << csv;
    EXPECT_EQ(csv.find("ACTIVIDAD_3"), std::string::npos);
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    struct Case {
        std::string field, row;
    } cases[] = {
        {"Gómez", "Gómez;x\r\n"},
        {"a;b", "\"a;b\";x\r\n"},
        {"dice \"hola\"", "\"dice \"\"hola\"\"\";x\r\n"},
        {"dos\nlíneas", "\"dos\nlíneas\";x\r\n"},
        {"=SUMA(A1)", "\"'=SUMA(A1)\";x\r\n"},
        {"", ";x\r\n"},
        {"CODIGO-LARGO-1", "CODIGO-LARGO-1;x\r\n"},
        {"CODIGO-MAS-LARGO-0001", "CODIGO-MAS-LARGO-0001;x\r\n"},
        {"CODIGO-LARGO;1", "\"CODIGO-LARGO;1\";x\r\n"},
        {"CODIGO-LARGO-Ñ", "CODIGO-LARGO-Ñ;x\r\n"},
    };
    for (const Case& c : cases) {
        std::string out;
        csv::appendRow(out, {c.field, "x"});
        EXPECT_EQ(out, c.row) << c.field;
        // The same field from a table's Windows-1252 text.
        out.clear();
        csv::appendWindows1252Field(out, text::fromUtf8(c.field));
        EXPECT_EQ(out + ";x\r\n", c.row) << c.field;
        // The same field as the last key of an activity's row.
        std::string rows;
        ImportActivitiesCsv activities([&rows](std::string_view piece) { rows += piece; });
        activities.teacher({"E1", "ANA", "Ana"}, 1);
        ActivityCheck check;
        check.flags.roomFound = false;
        check.slotKey = text::fromUtf8(c.field);
        activities.activity(1, check);
        activities.finish();
        EXPECT_TRUE(rows.ends_with("Aula;;;;;;;;;;" + c.row.substr(0, c.row.size() - 4) + "\r\n"))
            << rows;
    }
}

}  // namespace
}  // namespace mirvane::report
