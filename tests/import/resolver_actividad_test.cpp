#include "import/resolver_actividad.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "import_fixture.h"

namespace mirvane::importing {
namespace {

using formats::kAsignomt;
using formats::kAsigt;
using formats::kAulat;
using formats::kDiashorast;
using formats::kGrupost;
using testing::ImportTest;
using testing::Rows;

// One teacher "P" whose lessons are resolved against the tables of the case.
struct Case {
    const char* name;
    Rows asignomt, diashorast, aulat, grupost, asigt;
    Rows lessons;                    // SOLUC rows; PROF and DIA are filled in when absent
    std::vector<std::string> lines;  // the activity lines of the outline, in order
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// An activity line: the six fields in their order.
std::string act(const std::string& actividad, const std::string& dia, const std::string& tramo,
                const std::string& depcentro, const std::string& unidad,
                const std::string& materia) {
    return "X_ACTIVIDAD=" + actividad + " N_DIASEMANA=" + dia + " X_TRAMO=" + tramo +
           " X_DEPCENTRO=" + depcentro + " X_UNIDAD=" + unidad + " X_MATERIAOMC=" + materia;
}

testing::Row asig(const char* casig, const char* cgrup, const char* nivel, const char* curso,
                  const char* materia) {
    return {{"CASIG", casig},
            {"CGRUP", cgrup},
            {"NIVEL", nivel},
            {"CURSO", curso},
            {"MATERIA", materia}};
}

testing::Row lesson(const char* asig, const char* grupo, const char* nivel = "N",
                    const char* curso = "1") {
    return {
        {"TAREA", "T"}, {"ASIG", asig}, {"CODGRUPO", grupo}, {"NIVEL", nivel}, {"CURSO", curso}};
}

// clang-format off
const std::vector<Case> kCases = {
    // X_ACTIVIDAD
    {"TaskFoundGivesItsSubject", {{{"COD", "T1"}, {"MATERIA", "G123"}}}, {}, {}, {}, {},
     {{{"TAREA", "T1"}}}, {act("G123", "", "", "", "", "")}},
    {"TaskMissingGivesItself", {{{"COD", "T1"}, {"MATERIA", "G123"}}}, {}, {}, {}, {},
     {{{"TAREA", "T99"}}}, {act("T99", "", "", "", "", "")}},
    {"TaskComparedWithCase", {{{"COD", "t1"}, {"MATERIA", "G123"}}}, {}, {}, {}, {},
     {{{"TAREA", "T1"}}}, {act("T1", "", "", "", "", "")}},
    {"EmptyTaskMissingGivesDefault", {{{"COD", "T1"}, {"MATERIA", "G123"}}}, {}, {}, {}, {},
     {{{"TAREA", ""}}}, {act("G439", "", "", "", "", "")}},
    {"TaskWithBlankSubjectGivesDefault", {{{"COD", "T1"}, {"MATERIA", ""}}}, {}, {}, {}, {},
     {{{"TAREA", "T1"}}}, {act("G439", "", "", "", "", "")}},
    // An empty code matches an empty TAREA, and an empty ASIG in stage 3.
    {"EmptyTaskMatchesEmptyCode", {{{"COD", ""}, {"MATERIA", "M0"}}}, {}, {}, {}, {},
     {{{"TAREA", ""}}}, {act("M0", "", "", "", "", "M0")}},
    {"FirstOfDuplicateCodesWins",
     {{{"COD", "T1"}, {"MATERIA", "FIRST"}}, {{"COD", "T1"}, {"MATERIA", "SECOND"}}}, {}, {}, {},
     {}, {{{"TAREA", "T1"}}}, {act("FIRST", "", "", "", "", "")}},
    // N_DIASEMANA and X_TRAMO: the slot key is DIA and HORA side by side.
    {"SlotKeyJoinsDayAndHour", {},
     {{{"DIHO", "104"}, {"CODDIHO", "C104"}, {"DIA", "X"}},
      {{"DIHO", "14"}, {"CODDIHO", "C14"}, {"DIA", "L"}},
      {{"DIHO", "511"}, {"CODDIHO", "C511"}, {"DIA", "V"}},
      {{"DIHO", "14"}, {"CODDIHO", "LATER"}, {"DIA", "L"}}},
     {}, {}, {},
     {{{"DIA", "1"}, {"HORA", "4"}, {"TAREA", "T"}},
      {{"DIA", "5"}, {"HORA", "11"}, {"TAREA", "T"}},
      {{"DIA", "10"}, {"HORA", "4"}, {"TAREA", "T"}},
      {{"DIA", "2"}, {"HORA", "4"}, {"TAREA", "T"}}},
     {act("T", "L", "C14", "", "", ""), act("T", "V", "C511", "", "", ""),
      act("T", "X", "C104", "", "", ""), act("T", "", "", "", "", "")}},
    // X_DEPCENTRO and X_UNIDAD: nothing carries over from the previous lesson.
    {"RoomAndGroupMissesGiveEmpty", {}, {},
     {{{"ABREV", "A1"}, {"DEPCENTRO", "D1"}}, {{"ABREV", "A1"}, {"DEPCENTRO", "LATER"}}},
     {{{"ABREV", "G1"}, {"UNIDAD", "U1"}}}, {},
     {{{"TAREA", "T"}, {"AULA", "A1"}, {"CODGRUPO", "G1"}},
      {{"TAREA", "T"}, {"AULA", "a1"}, {"CODGRUPO", "G2"}}},
     {act("T", "", "", "D1", "U1", ""), act("T", "", "", "", "", "")}},
    // X_MATERIAOMC: the three stages.
    {"GroupStageBeatsLevelStage", {}, {}, {}, {},
     {asig("S", "G2", "N", "1", "M2"), asig("S", "G1", "N", "1", "M1")}, {lesson("S", "G1")},
     {act("T", "", "", "", "", "M1")}},
    {"LevelStageForAnotherGroup", {}, {}, {}, {}, {asig("S", "G2", "N", "1", "M2")},
     {lesson("S", "G1")}, {act("T", "", "", "", "", "M2")}},
    {"LevelStageNeedsLevelAndYear", {}, {}, {}, {},
     {asig("S", "G2", "N", "2", "YEAR"), asig("S", "G2", "M", "1", "LEVEL")},
     {lesson("S", "G1")}, {act("T", "", "", "", "", "")}},
    {"LevelStagePassesOverBlankSubjects", {}, {}, {}, {},
     {asig("S", "G2", "N", "1", ""), asig("S", "G3", "N", "1", "M3"),
      asig("S", "G4", "N", "1", "M4")},
     {lesson("S", "G1")}, {act("T", "", "", "", "", "M3")}},
    {"BlankGroupStageFallsToLevelStage", {}, {}, {}, {},
     {asig("S", "G1", "N", "1", ""), asig("S", "G2", "N", "1", "M2")}, {lesson("S", "G1")},
     {act("T", "", "", "", "", "M2")}},
    {"SubjectCodeStage", {{{"COD", "S"}, {"MATERIA", "MS"}}}, {}, {}, {},
     {asig("S", "G2", "N", "1", ""), asig("X", "G1", "N", "1", "MX")}, {lesson("S", "G1")},
     {act("T", "", "", "", "", "MS")}},
    {"BlankEverywhereKeepsTheBlank", {{{"COD", "S"}, {"MATERIA", "\t"}}}, {}, {}, {},
     {asig("S", "G1", "N", "1", "\t")}, {lesson("S", "G1")}, {act("T", "", "", "", "", "\t")}},
    {"KeysDoNotRunTogether", {}, {}, {}, {},
     {asig("AB", "C", "N", "1", "JOINED"), asig("A", "BC", "X", "1", "")}, {lesson("A", "BC")},
     {act("T", "", "", "", "", "")}},
    {"NoMatchAnywhere", {{{"COD", "Z"}, {"MATERIA", "MZ"}}}, {}, {}, {},
     {asig("Z", "G1", "N", "1", "MZ")}, {lesson("S", "G1"), {}},
     {act("T", "", "", "", "", ""), act("G439", "", "", "", "", "")}},
};
// clang-format on

using LookupKind = ImportTest::LookupKind;

class ResolverActividadTest : public ImportTest,
                              public ::testing::WithParamInterface<std::tuple<Case, LookupKind>> {};

TEST_P(ResolverActividadTest, WritesTheSixFieldsOfEachLesson) {
    const auto& [c, lookups] = GetParam();
    work.fill(formats::kProft, {{{"ABREV", "P"}}});
    work.fill(kAsignomt, c.asignomt);
    work.fill(kDiashorast, c.diashorast);
    work.fill(kAulat, c.aulat);
    work.fill(kGrupost, c.grupost);
    work.fill(kAsigt, c.asigt);
    Rows lessons = c.lessons;
    for (testing::Row& row : lessons) {
        row.emplace_back("PROF", "P");
        if (std::none_of(row.begin(), row.end(), [](auto& f) { return f.first == "DIA"; }))
            row.emplace_back("DIA", "1");
    }
    work.fill(testing::kSolucSpec, lessons);

    std::string expected =
        "CABECERA\nSALIDAS\n  ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente\n"
        "  EMPLEADO_1 X_EMPLEADO= F_TOMAPOS=\n";
    for (std::size_t i = 0; i < c.lines.size(); ++i)
        expected += "    ACTIVIDAD_" + std::to_string(i + 1) + " " + c.lines[i] + "\n";
    EXPECT_EQ(testing::outline(importar(lookups).archivo), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolverActividadTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(LookupKind::Indexed,
                                                              LookupKind::PlainScan)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == LookupKind::Indexed ? "_Indexed"
                                                                                    : "_PlainScan");
                         });

}  // namespace
}  // namespace mirvane::importing
