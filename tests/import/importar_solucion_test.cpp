#include "import/importar_solucion.h"

#include <array>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "base/error.h"
#include "import/indexed_lookups.h"
#include "import_fixture.h"
#include "plain_scan.h"

namespace mirvane::importing {
namespace {

using formats::kProft;
using testing::ImportTest;
using testing::kSolucSpec;
using testing::Rows;

TEST(ArchivoResultado, PrefixesTheChosenNameInItsFolder) {
    EXPECT_EQ(archivoResultado("/srv/delphos/datos.xml"), "/srv/delphos/ResultadoVorsadatos.xml");
    EXPECT_EQ(archivoResultado("datos.xml"), "ResultadoVorsadatos.xml");
    EXPECT_EQ(archivoResultado("/a/Datos Centro.XML"), "/a/ResultadoVorsaDatos Centro.XML");
}

TEST_F(ImportTest, ReplacesSalidasAndKeepsTheRestInOrder) {
    writeDocument(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<SERVICIO><CABECERA a=\"1\">uno</CABECERA><SALIDAS><listasal seq=\"MATERIAS\">"
        "<listasal><salida dato=\"X\">viejo</salida></listasal></listasal></SALIDAS>"
        "<PIE>fin</PIE><!-- nota --><OTRO/></SERVICIO>\n");
    work.fill(kProft, {{{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}, {"F_TOMAPOS", "01/09/2020"}}});
    const ResultadoImportacion resultado = importar();

    EXPECT_EQ(resultado.profesores, 1);
    EXPECT_EQ(resultado.actividades, 0);
    EXPECT_EQ(resultado.archivo, docs / "ResultadoVorsadatos.xml");
    const std::string saved = testing::readFile(resultado.archivo);
    EXPECT_NE(
        saved.find("<SERVICIO><CABECERA a=\"1\">uno</CABECERA><PIE>fin</PIE><!-- nota --><OTRO/>"
                   "<SALIDAS><ERROR><salida dato=\"CN_ERROR\">0</salida>"
                   "<salida dato=\"TE_ERROR\">Servicio finalizado Correctamente</salida>"
                   "</ERROR><listasal seq=\"EMPLEADO_1\"><salida dato=\"X_EMPLEADO\">E1"
                   "</salida><salida dato=\"F_TOMAPOS\">01/09/2020</salida></listasal>"
                   "</SALIDAS></SERVICIO>"),
        std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("viejo"), std::string::npos);
}

TEST_F(ImportTest, NumbersTeachersThroughoutAndActivitiesPerTeacher) {
    work.fill(kProft, {
                          {{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}, {"F_TOMAPOS", "F1"}},
                          {{"ABREV", "SINCLASES"}, {"X_EMPLEADO", "E2"}, {"F_TOMAPOS", "F2"}},
                          {{"ABREV", "CEROS"}, {"X_EMPLEADO", "E3"}, {"F_TOMAPOS", "F3"}},
                          {{"ABREV", "LUIS"}, {"X_EMPLEADO", "E4"}},
                      });
    // Rows of different teachers interleaved, DIA 0 rows among the lessons.
    work.fill(kSolucSpec, {
                              {{"PROF", "ANA"}, {"DIA", "1"}, {"HORA", "1"}, {"TAREA", "a1"}},
                              {{"PROF", "LUIS"}, {"DIA", "2"}, {"HORA", "1"}, {"TAREA", "l1"}},
                              {{"PROF", "ANA"}, {"DIA", "0"}, {"HORA", "2"}, {"TAREA", "x"}},
                              {{"PROF", "CEROS"}, {"DIA", "0"}, {"HORA", "3"}, {"TAREA", "x"}},
                              {{"PROF", "ANA"}, {"DIA", "3"}, {"HORA", "2"}, {"TAREA", "a2"}},
                              {{"PROF", "LUIS"}, {"DIA", "0"}, {"HORA", "1"}, {"TAREA", "x"}},
                              {{"PROF", "ANA"}, {"DIA", "5"}, {"HORA", "11"}, {"TAREA", "a3"}},
                              {{"PROF", "LUIS"}, {"DIA", "4"}, {"HORA", "6"}, {"TAREA", "l2"}},
                          });
    const ResultadoImportacion resultado = importar();

    EXPECT_EQ(resultado.profesores, 4);
    EXPECT_EQ(resultado.actividades, 5);
    const std::string rest = " N_DIASEMANA= X_TRAMO= X_DEPCENTRO= X_UNIDAD= X_MATERIAOMC=\n";
    EXPECT_EQ(testing::outline(resultado.archivo),
              "CABECERA\n"
              "SALIDAS\n"
              "  ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente\n"
              "  EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=F1\n"
              "    ACTIVIDAD_1 X_ACTIVIDAD=a1" +
                  rest + "    ACTIVIDAD_2 X_ACTIVIDAD=a2" + rest +
                  "    ACTIVIDAD_3 X_ACTIVIDAD=a3" + rest +
                  "  EMPLEADO_2 X_EMPLEADO=E2 F_TOMAPOS=F2\n"
                  "  EMPLEADO_3 X_EMPLEADO=E3 F_TOMAPOS=F3\n"
                  "  EMPLEADO_4 X_EMPLEADO=E4 F_TOMAPOS=\n"
                  "    ACTIVIDAD_1 X_ACTIVIDAD=l1" +
                  rest + "    ACTIVIDAD_2 X_ACTIVIDAD=l2" + rest);
}

TEST_F(ImportTest, WithoutTeachersOnlyTheStatusBlockIsWritten) {
    work.fill(kSolucSpec, {{{"PROF", "ANA"}, {"DIA", "1"}, {"HORA", "1"}}});
    const ResultadoImportacion resultado = importar();
    EXPECT_EQ(resultado.profesores, 0);
    EXPECT_EQ(testing::outline(resultado.archivo),
              "CABECERA\nSALIDAS\n  ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente\n");
}

// Which teacher receives which lessons: the filter compares the whole
// abbreviation exactly, quotes and stars included, and two rows with the
// same abbreviation each receive the same lessons.
TEST_F(ImportTest, EachTeacherReceivesExactlyTheLessonsOfItsAbbreviation) {
    work.fill(kProft, {
                          {{"ABREV", "O'NEIL"}, {"X_EMPLEADO", "oneil"}},
                          {{"ABREV", "ANA*"}, {"X_EMPLEADO", "star"}},
                          {{"ABREV", "ANA"}, {"X_EMPLEADO", "ana1"}},
                          {{"ABREV", "ana"}, {"X_EMPLEADO", "lower"}},
                          {{"ABREV", "ANA"}, {"X_EMPLEADO", "ana2"}},
                      });
    work.fill(kSolucSpec, {
                              {{"PROF", "ANA"}, {"DIA", "1"}, {"HORA", "1"}, {"TAREA", "ana"}},
                              {{"PROF", "ANA*"}, {"DIA", "1"}, {"HORA", "2"}, {"TAREA", "star"}},
                              {{"PROF", "ANABEL"}, {"DIA", "1"}, {"HORA", "3"}, {"TAREA", "bel"}},
                              {{"PROF", "O'NEIL"}, {"DIA", "1"}, {"HORA", "4"}, {"TAREA", "q"}},
                              {{"PROF", "ANA "}, {"DIA", "1"}, {"HORA", "5"}, {"TAREA", "pad"}},
                          });
    const std::string rest = " N_DIASEMANA= X_TRAMO= X_DEPCENTRO= X_UNIDAD= X_MATERIAOMC=\n";
    EXPECT_EQ(testing::outline(importar().archivo),
              "CABECERA\n"
              "SALIDAS\n"
              "  ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente\n"
              "  EMPLEADO_1 X_EMPLEADO=oneil F_TOMAPOS=\n"
              "    ACTIVIDAD_1 X_ACTIVIDAD=q" +
                  rest +
                  "  EMPLEADO_2 X_EMPLEADO=star F_TOMAPOS=\n"
                  "    ACTIVIDAD_1 X_ACTIVIDAD=star" +
                  rest +
                  "  EMPLEADO_3 X_EMPLEADO=ana1 F_TOMAPOS=\n"
                  "    ACTIVIDAD_1 X_ACTIVIDAD=ana" +
                  rest + "    ACTIVIDAD_2 X_ACTIVIDAD=pad" + rest +
                  "  EMPLEADO_4 X_EMPLEADO=lower F_TOMAPOS=\n"
                  "  EMPLEADO_5 X_EMPLEADO=ana2 F_TOMAPOS=\n"
                  "    ACTIVIDAD_1 X_ACTIVIDAD=ana" +
                  rest + "    ACTIVIDAD_2 X_ACTIVIDAD=pad" + rest);
}

TEST_F(ImportTest, ValuesKeepTheirAccentsAndBlanks) {
    work.fill(kProft, {{{"ABREV", "MU\xD1OZ"}, {"X_EMPLEADO", "  7"}, {"F_TOMAPOS", "Jos\xE9"}}});
    work.fill(kSolucSpec, {{{"PROF", "MU\xD1OZ"}, {"DIA", "1"}, {"HORA", "1"}, {"TAREA", "\xD1"}}});
    const std::string rest = " N_DIASEMANA= X_TRAMO= X_DEPCENTRO= X_UNIDAD= X_MATERIAOMC=\n";
    EXPECT_EQ(testing::outline(importar().archivo),
              "CABECERA\n"
              "SALIDAS\n"
              "  ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente\n"
              "  EMPLEADO_1 X_EMPLEADO=  7 F_TOMAPOS=Jos\u00e9\n"
              "    ACTIVIDAD_1 X_ACTIVIDAD=\u00d1" +
                  rest);
}

TEST_F(ImportTest, ReplacesAnEarlierResultAndNeverWritesTheChosenFile) {
    const std::string chosenBefore = testing::readFile(chosen);
    testing::writeFile(docs / "ResultadoVorsadatos.xml", "anterior");
    work.fill(kProft, {{{"ABREV", "ANA"}, {"X_EMPLEADO", "E1"}}});
    importar();
    EXPECT_EQ(testing::readFile(chosen), chosenBefore);
    EXPECT_NE(testing::readFile(docs / "ResultadoVorsadatos.xml"), "anterior");
}

// Failures: the build stops with a clear error, writes no result (an earlier
// one stays as it was), and leaves every table closed for the timetabler.

void expectEveryTableOpensAgain(const std::filesystem::path& folder) {
    for (const formats::TableSpec* spec : testing::WorkFolder::allSpecs()) {
        if (!std::filesystem::exists(folder / (std::string(spec->name) + ".DBF"))) continue;
        dbf::Table table;
        table.setDatabaseName(folder);
        table.setTableName(spec->name);
        table.setExclusive(true);
        EXPECT_NO_THROW(table.open()) << spec->name;
    }
}

TEST_F(ImportTest, ADocumentWithoutSalidasStopsBeforeAnyTableIsOpened) {
    writeDocument("<?xml version=\"1.0\"?>\n<SERVICIO><salidas/><OTRO/></SERVICIO>\n");
    try {
        importar();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "El archivo datos.xml no es un documento de intercambio de Delphos: le falta "
                     "el elemento SALIDAS. Elija el archivo XML que envió Delphos.");
    }
    EXPECT_FALSE(std::filesystem::exists(result()));
    expectEveryTableOpensAgain(work.path());
}

TEST_F(ImportTest, ADocumentWithoutRootStops) {
    xml::Document empty;
    formats::WorkTableComponents tables(work.path());
    try {
        ImportarSolucion(empty, chosen, tables);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "El archivo datos.xml no es un documento de intercambio de Delphos: no tiene "
                     "elemento raíz. Elija el archivo XML que envió Delphos.");
    }
    EXPECT_FALSE(std::filesystem::exists(result()));
}

class MissingTableTest : public ImportTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingTableTest, StopsWithTheEnginesErrorAndKeepsAnEarlierResult) {
    work.fill(kProft, {{{"ABREV", "ANA"}}});
    work.fill(kSolucSpec, {{{"PROF", "ANA"}, {"DIA", "1"}, {"HORA", "1"}}});
    std::filesystem::remove(work / (std::string(GetParam()) + ".DBF"));
    testing::writeFile(result(), "anterior");
    try {
        importar();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam()), std::string::npos) << error.what();
    }
    EXPECT_EQ(testing::readFile(result()), "anterior");
    expectEveryTableOpensAgain(work.path());
}

INSTANTIATE_TEST_SUITE_P(EachTable, MissingTableTest,
                         ::testing::Values("SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT",
                                           "DIASHORAST", "ASIGT"));

TEST_F(ImportTest, AssignmentsAreNotNeededWithoutLessons) {
    work.fill(kProft, {{{"ABREV", "ANA"}}});
    work.fill(kSolucSpec, {{{"PROF", "ANA"}, {"DIA", "0"}, {"HORA", "1"}}});
    std::filesystem::remove(work / "ASIGT.DBF");
    EXPECT_EQ(importar().profesores, 1);
}

TEST_F(ImportTest, ATableHeldByAnotherProgramStopsTheBuild) {
    work.fill(kProft, {{{"ABREV", "ANA"}}});
    {
        dbf::Table holder;
        holder.setDatabaseName(work.path());
        holder.setTableName("AULAT");
        holder.setExclusive(true);
        holder.open();
        EXPECT_THROW(importar(), Error);
    }
    EXPECT_FALSE(std::filesystem::exists(result()));
    expectEveryTableOpensAgain(work.path());
}

TEST_F(ImportTest, ADayThatIsNoNumberStopsTheBuild) {
    const std::array<formats::FieldSpec, 3> fields{{
        {"PROF", dbf::FieldType::Character, 10},
        {"DIA", dbf::FieldType::Character, 2},
        {"HORA", dbf::FieldType::Character, 2},
    }};
    work.fill(kProft, {{{"ABREV", "ANA"}}});
    work.fill(formats::TableSpec{"SOLUC", fields},
              {{{"PROF", "ANA"}, {"DIA", "L"}, {"HORA", "1"}}});
    try {
        importar();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'L' is not a valid integer value");
    }
    EXPECT_FALSE(std::filesystem::exists(result()));
    expectEveryTableOpensAgain(work.path());
}

TEST_F(ImportTest, AFailedSaveLeavesNoFileAndTheTablesClosed) {
    std::filesystem::create_directory(result());  // the save cannot replace a folder
    work.fill(kProft, {{{"ABREV", "ANA"}}});
    EXPECT_THROW(importar(), Error);
    EXPECT_TRUE(std::filesystem::is_directory(result()));
    EXPECT_TRUE(std::filesystem::is_empty(result()));
    for (const auto& entry : std::filesystem::directory_iterator(docs.path()))
        EXPECT_TRUE(entry.path() == chosen || entry.path() == result()) << entry.path();
    expectEveryTableOpensAgain(work.path());
}

}  // namespace
}  // namespace mirvane::importing
