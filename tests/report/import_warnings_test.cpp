// What the import build records while it works, on table sets built for each
// kind of warning.

#include "report/import_warnings.h"

#include <optional>

#include <gtest/gtest.h>

#include "import/import_fixture.h"
#include "import/importar_solucion.h"

namespace mirvane::report {
namespace {

using testing::kSolucSpec;

class ImportWarningsTest : public testing::ImportTest {
  protected:
    ImportWarningsTest() {
        work.fill(formats::kProft, {{{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}, {"NOMBRE", "Ana"}},
                                    {{"ABREV", "LUIS"}, {"X_EMPLEADO", "E2"}}});
        work.fill(formats::kAsignomt, {{{"COD", "T1"}, {"MATERIA", "G123"}},
                                       {{"COD", "TB"}, {"MATERIA", ""}},
                                       {{"COD", "MAT"}, {"MATERIA", "M100"}}});
        work.fill(formats::kDiashorast, {{{"DIHO", "11"}, {"CODDIHO", "T1"}, {"DIA", "1"}}});
        work.fill(formats::kAulat, {{{"ABREV", "A1"}, {"DEPCENTRO", "D1"}}});
        work.fill(formats::kGrupost, {{{"ABREV", "G1"}, {"UNIDAD", "U1"}}});
    }

    // A lesson of ANA that every lookup finds, with some fields replaced.
    static testing::Row lesson(testing::Row changes) {
        testing::Row row{{"PROF", "ANA"}, {"DIA", "1"},       {"HORA", "1"},  {"TAREA", "LE"},
                         {"AULA", "A1"},  {"CODGRUPO", "G1"}, {"ASIG", "MAT"}};
        for (const auto& [name, value] : changes) {
            bool replaced = false;
            for (auto& [field, old] : row)
                if (field == name) old = value, replaced = true;
            if (!replaced) row.emplace_back(name, value);
        }
        return row;
    }

    // Valid until the next call.
    const ImportWarnings& importWithWarnings(const testing::Rows& soluc) {
        work.fill(kSolucSpec, soluc);
        xml::Document document;
        document.load(chosen);
        formats::WorkTableComponents tables(work.path());
        ImportWarnings& warnings = warnings_.emplace();
        importing::ImportarSolucion(document, chosen, tables, &warnings);
        return warnings;
    }

    std::optional<ImportWarnings> warnings_;
};

TEST_F(ImportWarningsTest, EachUnresolvedFieldIsRecordedWithItsKey) {
    struct Case {
        const char* name;
        testing::Row changes;
        bool slot, room, group, subject;
        ActivityCode actividad;
    };
    const Case cases[] = {
        {"slot", {{"HORA", "2"}}, false, true, true, true, ActivityCode::Found},
        {"room", {{"AULA", "Z9"}}, true, false, true, true, ActivityCode::Found},
        {"group", {{"CODGRUPO", "G9"}}, true, true, false, true, ActivityCode::Found},
        {"subject", {{"ASIG", "NADA"}}, true, true, true, false, ActivityCode::Found},
        {"task code kept", {{"TAREA", "T99"}}, true, true, true, true, ActivityCode::TaskCode},
        {"blank task", {{"TAREA", ""}}, true, true, true, true, ActivityCode::Default},
        {"blank MATERIA", {{"TAREA", "TB"}}, true, true, true, true, ActivityCode::Default},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportWarnings& warnings = importWithWarnings({lesson({}), lesson(c.changes)});
        const auto teachers = warnings.teachersWithProblems();
        ASSERT_EQ(teachers.size(), 1u);
        EXPECT_EQ(teachers[0].teacher.abrev, "ANA");
        EXPECT_EQ(teachers[0].teacher.nombre, "Ana");
        EXPECT_EQ(teachers[0].number, 1u);
        EXPECT_EQ(teachers[0].activities, 1u);
        ASSERT_EQ(teachers[0].examples.size(), 1u);
        const LessonFlags& flags = teachers[0].examples[0].flags;
        EXPECT_EQ(teachers[0].examples[0].number, 2u);
        EXPECT_EQ(flags.slotFound, c.slot);
        EXPECT_EQ(flags.roomFound, c.room);
        EXPECT_EQ(flags.groupFound, c.group);
        EXPECT_EQ(flags.subjectFound, c.subject);
        EXPECT_EQ(flags.actividad, c.actividad);
        EXPECT_EQ(warnings.count(), 1u);
    }
}

TEST_F(ImportWarningsTest, TheSlotKeyIsTheOneSought) {
    const ImportWarnings& warnings = importWithWarnings({lesson({{"DIA", "3"}, {"HORA", "12"}})});
    ASSERT_EQ(warnings.teachersWithProblems().size(), 1u);
    EXPECT_EQ(warnings.check(warnings.teachersWithProblems()[0].examples[0]).slotKey, "312");
}

TEST_F(ImportWarningsTest, FaithfulLessonsAndLessonsWithoutRoomOrGroupRecordNothing) {
    const ImportWarnings& warnings = importWithWarnings(
        {lesson({}), lesson({{"TAREA", "T1"}}), lesson({{"AULA", ""}, {"CODGRUPO", ""}})});
    EXPECT_TRUE(warnings.teachersWithProblems().empty());
    EXPECT_EQ(warnings.count(), 0u);
}

TEST_F(ImportWarningsTest, LessonsOfNoTeacherAndLessonsNotPlaced) {
    const ImportWarnings& warnings = importWithWarnings(
        {lesson({{"PROF", "NADIE"}}), lesson({{"PROF", "NADIE"}}),
         lesson({{"PROF", "NADIE"}, {"DIA", "0"}}), lesson({{"PROF", "OTRO"}}),
         lesson({{"DIA", "0"}}), lesson({{"PROF", "LUIS"}, {"DIA", "0"}, {"ASIG", "X"}}),
         lesson({{"DIA", "0"}}), lesson({})});
    const std::map<std::string, std::size_t> expected{{"NADIE", 2}, {"OTRO", 1}};
    EXPECT_EQ(warnings.lessonsWithoutTeacher(), expected);
    // Those of a teacher, grouped by teacher, subject, group and task.
    const std::vector<UnplacedLessons> unplaced = warnings.unplacedLessons();
    ASSERT_EQ(unplaced.size(), 2u);
    EXPECT_EQ(unplaced[0].teacher.nombre, "Ana");
    EXPECT_EQ(unplaced[0].asig, "MAT");
    EXPECT_EQ(unplaced[0].codgrupo, "G1");
    EXPECT_EQ(unplaced[0].lessons, 2u);
    EXPECT_EQ(unplaced[1].number, 2u);
    EXPECT_EQ(unplaced[1].asig, "X");
    EXPECT_EQ(warnings.unplacedCount(), 3u);
    EXPECT_EQ(warnings.count(), 3u);  // the lessons not placed are the timetabler's
    EXPECT_EQ(warnings.teachers(), 2u);
    EXPECT_EQ(warnings.lessons(), 1u);
}

TEST_F(ImportWarningsTest, TheResultDocumentIsTheSameWithWarnings) {
    work.fill(kSolucSpec, {lesson({}), lesson({{"AULA", "Z9"}}), lesson({{"PROF", "NADIE"}})});
    importar();
    const std::string without = testing::readFile(result());
    importWithWarnings({lesson({}), lesson({{"AULA", "Z9"}}), lesson({{"PROF", "NADIE"}})});
    EXPECT_EQ(testing::readFile(result()), without);
}

}  // namespace
}  // namespace mirvane::report
