#include "core/export_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "base/os_fault.h"
#include "base/text.h"
#include "core/table_set_test.h"
#include "dbf/lock.h"
#include "export/export_fixture.h"
#include "formats/work_tables.h"
#include "support/testing.h"

namespace mirvane::core {
namespace {

using export_test::column;
using export_test::cp;
using export_test::readTable;
using export_test::TableRow;
using table_set_test::exampleSchool;
using table_set_test::filesIn;
using table_set_test::nothingLeftOver;

const formats::TableSpec* const kTables[] = {&formats::kAsignomt, &formats::kProft,
                                             &formats::kAulat,    &formats::kGrupost,
                                             &formats::kAsigt,    &formats::kDiashorast};

ExportSummary exampleSummary() {
    return {{"ASIGNOMT", 28}, {"PROFT", 31}, {"AULAT", 16},
            {"GRUPOST", 12},  {"ASIGT", 49}, {"DIASHORAST", 35}};
}

class ExportRunTest : public ::testing::Test {
  protected:
    std::optional<ExportSummary> exportFile(const std::filesystem::path& file,
                                            std::string hour = "08:30") {
        exporting::FixedStartHour prompt(std::move(hour));
        ExportRun run(work.path(), prompt);
        try {
            auto summary = run.run(file);
            closedAfter = !run.components() || !anyOpen(*run.components());
            return summary;
        } catch (...) {
            closedAfter = !run.components() || !anyOpen(*run.components());
            throw;
        }
    }

    static bool anyOpen(formats::WorkTableComponents& c) {
        return c.wwTableNomAsg.active() || c.wwTableProfesor.active() || c.wwTableAulas.active() ||
               c.wwTableGrupos.active() || c.wwTableAsig.active() || c.wwTableTramos.active() ||
               c.wwTableSoluc.active();
    }

    // The example school with one text replaced (the first occurrence), in a file of its own.
    std::filesystem::path exampleWith(std::string_view from, std::string_view to) {
        std::string text = testing::readFile(exampleSchool());
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        const auto file = docs / ("cambiado" + std::to_string(++changed) + ".xml");
        testing::writeFile(file, text);
        return file;
    }

    testing::TempDir work;
    testing::TempDir docs;
    bool closedAfter = false;
    int changed = 0;
};

TEST_F(ExportRunTest, ExampleSchoolGivesItsKnownTables) {
    const auto summary = exportFile(exampleSchool());
    ASSERT_TRUE(summary);
    EXPECT_EQ(*summary, exampleSummary());
    EXPECT_TRUE(closedAfter);

    const auto subjects = readTable(work.path(), formats::kAsignomt);
    EXPECT_EQ(subjects[2], (TableRow{{"COD", "MAT1"},
                                     {"CODLARGO", "MAT1ESO"},
                                     {"NOMBRE", cp("Matemáticas 1º ESO")},
                                     {"MATERIA", "300201"},
                                     {"ESTAREA", "F"}}));
    const auto codes = column(subjects, "COD");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "mat1"), 0);
    EXPECT_EQ(column(subjects, "ESTAREA"),
              (std::vector<std::string>{"F", "F", "F", "F", "F", "F", "F", "F", "F", "F",
                                        "F", "F", "F", "F", "F", "F", "F", "F", "F", "F",
                                        "F", "F", "F", "T", "T", "T", "T", "F"}));

    const auto teachers = readTable(work.path(), formats::kProft);
    EXPECT_EQ(teachers[30], teachers[12]);
    EXPECT_EQ(teachers[13].at("NOMBRE"), cp("Álvarez Serrano, Teresa"));
    EXPECT_EQ(teachers[13].at("X_EMPLEADO"), "204321");

    const auto rooms = readTable(work.path(), formats::kAulat);
    EXPECT_EQ(rooms[14].at("ABREV"), "DC5114");  // blank abbreviation
    EXPECT_EQ(rooms[14].at("EDIFICIO"), "A");

    const auto groups = readTable(work.path(), formats::kGrupost);
    EXPECT_EQ(groups[0].at("TURNO"), "M");
    EXPECT_EQ(groups[0].at("DESCRIP"), cp("MAÑANA ESO 1 A"));
    EXPECT_EQ(groups[11].at("NIVEL"), "NIV");
    EXPECT_EQ(groups[11].at("DESCRIP"), "M NIV 2 P");

    const auto assignments = readTable(work.path(), formats::kAsigt);
    std::vector<std::string> taskCodes(41, "LE");
    for (const char* code : {"GUA", "TUT", "TUT", "RD", "GBIB", "LE", "G099", "LE"})
        taskCodes.push_back(code);
    EXPECT_EQ(column(assignments, "CTAREA"), taskCodes);
    EXPECT_EQ(assignments[40].at("SESIONES"), "1");  // no minutes
    EXPECT_EQ(assignments[40].at("NIVEL"), "NIV");
    EXPECT_EQ(assignments[48].at("SESIONES"), "21111111111111");  // 900 minutes

    const auto slots = readTable(work.path(), formats::kDiashorast);
    EXPECT_EQ(column(slots, "HORADESDE"), [] {
        std::vector<std::string> week;
        for (int day = 0; day < 5; ++day)
            for (const char* start :
                 {"08:30", "09:25", "10:20", "11:15", "11:45", "12:40", "13:35"})
                week.push_back(start);
        return week;
    }());
    EXPECT_EQ(slots[11], (TableRow{{"DIHO", "25"},
                                   {"CODDIHO", "8111"},
                                   {"DIA", "2"},
                                   {"TEXTODIA", ""},
                                   {"HORA", "5"},
                                   {"TEXTOHOR", "5-11:45-12:40"},
                                   {"HORADESDE", "11:45"},
                                   {"HORAHASTA", "12:40"},
                                   {"MINUTOS", "55"},
                                   {"MARCO", "0"},
                                   {"MARCOXML", ""}}));
}

// Every character field of every table, as another dBase reader sees it.
TEST_F(ExportRunTest, AForeignReaderSeesTheSameTables) {
    ASSERT_TRUE(exportFile(exampleSchool()));
    std::string ours;
    for (const formats::TableSpec* spec : kTables) {
        for (const TableRow& row : readTable(work.path(), *spec)) {
            ours += spec->name;
            for (const formats::FieldSpec& field : spec->fields)
                if (field.type == dbf::FieldType::Character)
                    ours += "|" + text::toUtf8(row.at(std::string(field.name)));
            ours += "\n";
        }
    }
    const std::string script =
        "import sys, dbfread\n"
        "for name in sys.argv[2:]:\n"
        "    table = dbfread.DBF(sys.argv[1] + '/' + name + '.DBF', encoding='cp1252',\n"
        "                        char_decode_errors='strict')\n"
        "    for record in table:\n"
        "        values = [str(record[f.name]) for f in table.fields if f.type == 'C']\n"
        "        sys.stdout.write('|'.join([name] + values) + '\\n')\n";
    testing::writeFile(docs / "leer.py", script);
    const auto result = testing::run(std::string(testing::kDebianPython) + " " +
                                     testing::shellQuote((docs / "leer.py").string()) + " " +
                                     testing::shellQuote(work.path().string()) +
                                     " ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, ours);
}

TEST_F(ExportRunTest, NoFileWritesNothing) {
    EXPECT_FALSE(exportFile(docs / "no-existe.xml"));
    EXPECT_FALSE(exportFile({}));
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

TEST_F(ExportRunTest, ASecondRunReplacesEveryTableAndItsIndex) {
    ASSERT_TRUE(exportFile(exampleSchool(), "08:00"));
    for (const formats::TableSpec* spec : kTables)
        testing::writeFile(work / (std::string(spec->name) + ".MDX"), "index");
    ASSERT_TRUE(exportFile(exampleSchool(), "09:00"));
    for (const formats::TableSpec* spec : kTables)
        EXPECT_FALSE(std::filesystem::exists(work / (std::string(spec->name) + ".MDX")));
    EXPECT_EQ(readTable(work.path(), formats::kDiashorast)[0].at("HORADESDE"), "09:00");
    EXPECT_EQ(readTable(work.path(), formats::kAsignomt).size(), 28u);
}

// Whatever stops an export, the work folder keeps the earlier tables byte for
// byte, and nothing of the run's own.
TEST_F(ExportRunTest, AnExportThatStopsLeavesTheEarlierTablesAsTheyWere) {
    ASSERT_TRUE(exportFile(exampleSchool(), "08:00"));  // the earlier set
    ASSERT_TRUE(exportFile(exampleSchool(), "08:15"));  // and the one kept before it
    const auto earlier = filesIn(work.path());
    const auto kept = filesIn(work / "Mirvane" / "anterior");
    const auto failOn = [](os::Call call, std::filesystem::path path, os::Failure failure) {
        return [=](os::Call made, const std::filesystem::path& on) {
            return made == call && on == path ? failure : os::Failure{};
        };
    };
    const os::Failure diskFull{os::Cause::Other, "no queda espacio en el disco"};
    const os::Failure held{os::Cause::HeldElsewhere, "está abierto en otro programa"};
    struct Stop {
        std::string what;
        std::filesystem::path document;
        std::string hour;
        os::FaultHook fault;
        std::string message;  // the start of the error
    };
    std::vector<Stop> stops = {
        {"minutos con unidad",
         exampleWith("<salida dato=\"MINUTOS\">55</salida>\r\n        "
                     "<salida dato=\"X_MATERIAOMC\">G002</salida>",
                     "<salida dato=\"MINUTOS\">45min</salida>\r\n        "
                     "<salida dato=\"X_MATERIAOMC\">G002</salida>"),
         "08:00",
         {},
         "'45min' is not a valid integer value. Está en el registro 43 de la sección "
         "ASIGNATURAS, campo 8 (minutos), valor «45min»"},
        {"registro corto",
         exampleWith("<salida dato=\"EDIFICIO\">Principal</salida>", ""),
         "08:00",
         {},
         "El registro 1 de la sección AULAS tiene 3 campos; se esperan 4"},
        {"tramo fuera de límites",
         exampleWith(">L2<", ">L27<"),
         "08:00",
         {},
         "El registro 2 de la sección TRAMOS tiene el número de tramo 27; debe estar entre 1 y 20"},
        {"hora rechazada",
         exampleSchool(),
         "24:00",
         {},
         "La hora de inicio \"24:00\" no es válida"},
        {"hora sin minutos", exampleSchool(), "08:  ", {}, "'  ' is not a valid integer value"},
        {"disco lleno", exampleSchool(), "08:00",
         failOn(os::Call::Write, work / "Mirvane" / "nuevo" / "ASIGT.DBF", diskFull),
         "No se puede escribir en la tabla"},
    };
    for (const formats::TableSpec* spec : kTables) {
        const auto table = work / (std::string(spec->name) + ".DBF");
        stops.push_back({"retenida al colocar " + std::string(spec->name), exampleSchool(), "08:00",
                         failOn(os::Call::Move, table, held),
                         dbf::heldElsewhere(table, "No se puede sustituir la tabla")});
    }
    for (const Stop& stop : stops) {
        SCOPED_TRACE(stop.what);
        std::optional<os::InjectedFaults> faults;
        if (stop.fault) faults.emplace(stop.fault);
        try {
            exportFile(stop.document, stop.hour);
            ADD_FAILURE() << "the run went through";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, stop.message.size()), stop.message);
        }
        faults.reset();
        EXPECT_TRUE(closedAfter);
        EXPECT_EQ(filesIn(work.path()), earlier);
        EXPECT_EQ(filesIn(work / "Mirvane" / "anterior"), kept);
        EXPECT_TRUE(nothingLeftOver(work.path()));
    }
}

TEST_F(ExportRunTest, AFirstExportThatStopsLeavesNothing) {
    EXPECT_THROW(exportFile(exampleSchool(), "24:00"), Error);
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

// A file that is no exchange document would empty every table: it is refused
// before anything is asked or written.
TEST_F(ExportRunTest, WhatIsNoExchangeDocumentIsRefused) {
    ASSERT_TRUE(exportFile(exampleSchool()));
    const auto earlier = filesIn(work.path());
    const struct {
        const char* name;
        const char* text;
    } documents[] = {
        {"vacio.xml", "<SERVICIO><SALIDAS/></SERVICIO>"},
        {"ResultadoVorsadatos.xml",
         "<SERVICIO><SALIDAS><ERROR><salida dato=\"CN_ERROR\">0</salida></ERROR>"
         "<listasal seq=\"EMPLEADO_1\"><salida dato=\"X_EMPLEADO\">1</salida></listasal>"
         "</SALIDAS></SERVICIO>"},
        {"configuracion.xml",
         "<?xml version=\"1.0\"?><configuration><appSettings/></configuration>"},
    };
    for (const auto& document : documents) {
        testing::writeFile(docs / document.name, document.text);
        try {
            exportFile(docs / document.name, "99:99");  // never asked
            ADD_FAILURE() << document.name;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("El archivo «") + document.name +
                          "» no es un documento de intercambio de Delphos: no tiene ninguna de "
                          "las secciones MATERIAS, PROFESORES, AULAS, GRUPOS, ASIGNATURAS ni "
                          "TRAMOS. Elija el documento que exportó Delphos.");
        }
        EXPECT_EQ(filesIn(work.path()), earlier);
    }
}

TEST_F(ExportRunTest, MissingWorkFolderIsNotCreated) {
    exporting::FixedStartHour prompt;
    ExportRun run(work / "KTEMP", prompt);
    EXPECT_THROW(run.run(exampleSchool()), Error);
    EXPECT_FALSE(std::filesystem::exists(work / "KTEMP"));
}

TEST_F(ExportRunTest, MalformedDocumentWritesNoTable) {
    testing::writeFile(docs / "roto.xml", "<SERVICIO><SALIDAS>");
    EXPECT_THROW(exportFile(docs / "roto.xml"), Error);
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

TEST_F(ExportRunTest, TableHeldByAnotherProgramStopsTheRunBeforeItAsks) {
    ASSERT_TRUE(exportFile(exampleSchool()));
    const auto earlier = filesIn(work.path());
    dbf::Table held;
    held.setDatabaseName(work.path());
    held.setTableName("AULAT");
    held.open();
    try {
        exportFile(exampleSchool(), "99:99");  // never asked
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  dbf::heldElsewhere(work / "AULAT.DBF", "No se puede crear la tabla"));
    }
    EXPECT_TRUE(closedAfter);
    held.close();
    EXPECT_EQ(filesIn(work.path()), earlier);
}

}  // namespace
}  // namespace mirvane::core
