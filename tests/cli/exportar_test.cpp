// mirvane-cli exportar as other tools call it: outputs and exit statuses.

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

#include "support/testing.h"

namespace mirvane {
namespace {

using testing::shellQuote;

std::string example() {
    return shellQuote((testing::sourceDir() / "examples" / "escuela" / "datos.xml").string());
}

class ExportarCliTest : public ::testing::Test {
  protected:
    testing::CommandResult exportar(const std::string& arguments) {
        return testing::run("WINEPREFIX=" + shellQuote(wine.path().string()) + " " +
                            testing::cliCommand() + " exportar " + arguments);
    }
    std::string intoWork() const { return " --carpeta " + shellQuote(work.path().string()); }

    testing::TempDir work;
    testing::TempDir wine;  // never the real prefix
};

TEST_F(ExportarCliTest, SuccessPrintsTheSummaryAndTheReportLine) {
    const auto report = work / "informe.html";
    const auto result =
        exportar(example() + intoWork() + " --hora 8:30 --informe " + shellQuote(report.string()));
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, "Proceso finalizado\nTablexa tiene ya los datos del centro en " +
                                 work.path().string() +
                                 ":\n  28 materias (ASIGNOMT)\n  31 profesores (PROFT)\n"
                                 "  16 aulas (AULAT)\n  12 grupos (GRUPOST)\n"
                                 "  49 asignaciones de materia a grupo (ASIGT)\n"
                                 "  35 tramos horarios (DIASHORAST)\nInforme con 2 avisos: " +
                                 report.string() + "\n");
    EXPECT_EQ(result.errors, "");
    EXPECT_TRUE(std::filesystem::exists(work / "DIASHORAST.DBF"));
    EXPECT_NE(testing::readFile(report).find("Informe de exportación"), std::string::npos);
}

TEST_F(ExportarCliTest, ReportBesideTheDocumentOrNone) {
    std::filesystem::copy_file(testing::sourceDir() / "examples" / "escuela" / "datos.xml",
                               work / "datos.xml");
    // Named after the document without its extension; what an earlier
    // version wrote under its old name goes.
    const auto beside = work / "datos - Informe de exportación.html";
    for (const char* old : {"InformeExportaciondatos.xml.html", "InformeExportaciondatos.xml.csv",
                            "datos - Informe de exportación (avisos).csv"})
        testing::writeFile(work / old, "viejo");
    auto result = exportar(shellQuote((work / "datos.xml").string()) + intoWork());
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.output.find("Informe con 2 avisos: " + beside.string() + "\n"),
              std::string::npos)
        << result.output;
    EXPECT_FALSE(std::filesystem::exists(work / "InformeExportaciondatos.xml.html"));
    EXPECT_FALSE(std::filesystem::exists(work / "InformeExportaciondatos.xml.csv"));
    EXPECT_FALSE(std::filesystem::exists(work / "datos - Informe de exportación (avisos).csv"));

    std::filesystem::remove(beside);
    result = exportar(shellQuote((work / "datos.xml").string()) + intoWork() + " --sin-informe");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output.find("Informe"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(beside));

    result = exportar(shellQuote((work / "datos.xml").string()) + intoWork() +
                      " --sin-informe --informe x.html");
    EXPECT_EQ(result.status, 2);
}

TEST_F(ExportarCliTest, DefaultWorkFolderIsKtempOnDriveC) {
    std::filesystem::create_directories(wine / "drive_c" / "ktemp");  // found in any letter case
    const auto result = exportar(example() + " --sin-informe");
    EXPECT_EQ(result.status, 0) << result.errors;
    // --help names the folder the run used.
    EXPECT_NE(exportar("--help").output.find("(por omisión C:\\KTEMP, aquí " +
                                             (wine / "drive_c" / "ktemp").string() + ")"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(wine / "drive_c" / "ktemp" / "ASIGNOMT.DBF"));
}

TEST_F(ExportarCliTest, NoFile) {
    const auto result = exportar(shellQuote((work / "no-existe.xml").string()) + intoWork());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, "No existe archivo: «" + (work / "no-existe.xml").string() + "»\n");
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

TEST_F(ExportarCliTest, FailureIsReportedOnceAndThenItsReport) {
    testing::writeFile(work / "datos.xml",
                       "<SERVICIO><SALIDAS><listasal seq=\"ASIGNATURAS\"><listasal>"
                       "<salida>a</salida><salida>b</salida><salida>c</salida></listasal>"
                       "</listasal></SALIDAS></SERVICIO>");
    const auto result = exportar(shellQuote((work / "datos.xml").string()) + intoWork());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors,
              "El registro 1 de la sección ASIGNATURAS tiene 3 campos; se esperan 9.\n"
              "Informe sin avisos: " +
                  (work / "datos - Informe de exportación.html").string() + "\n");
    EXPECT_NE(testing::readFile(work / "datos - Informe de exportación.html")
                  .find("La exportación no terminó"),
              std::string::npos);
}

TEST_F(ExportarCliTest, WhatIsNoExchangeDocumentIsRefusedAndWritesNothing) {
    testing::writeFile(work / "conf.xml", "<configuration><appSettings/></configuration>");
    const auto result = exportar(shellQuote((work / "conf.xml").string()) + intoWork());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors,
              "El archivo «conf.xml» no es un documento de intercambio de Delphos: no tiene "
              "ninguna de las secciones MATERIAS, PROFESORES, AULAS, GRUPOS, ASIGNATURAS ni "
              "TRAMOS. Elija el documento que exportó Delphos.\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// An export undone with one command, and that command undone by itself.
TEST_F(ExportarCliTest, RestaurarGoesBackToTheTablesBeforeTheLastExport) {
    const auto restaurar = [&] {
        return testing::run(testing::cliCommand() + " restaurar" + intoWork());
    };
    // A change cut short before anything moved: undone, and said so though
    // there is nothing to restore.
    std::filesystem::create_directory(work / "Mirvane");
    testing::writeFile(work / "Mirvane" / "cambio-en-curso.txt",
                       "Mirvane: cambio de las tablas de trabajo\norigen=nuevo\nestado=moviendo\n");
    auto result = restaurar();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("No hay tablas anteriores que restaurar"), std::string::npos)
        << result.errors;
    EXPECT_NE(result.output.find("quedó a medias"), std::string::npos) << result.output;

    ASSERT_EQ(exportar(example() + intoWork() + " --sin-informe --hora 08:00").status, 0);
    const std::string first = testing::readFile(work / "DIASHORAST.DBF");
    ASSERT_EQ(exportar(example() + intoWork() + " --sin-informe --hora 09:00").status, 0);
    const std::string second = testing::readFile(work / "DIASHORAST.DBF");
    result = restaurar();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output,
              "Tablas anteriores restauradas en " + work.path().string() +
                  ": materias (ASIGNOMT.DBF), profesores (PROFT.DBF), aulas (AULAT.DBF), grupos "
                  "(GRUPOST.DBF), asignaciones de materia a grupo (ASIGT.DBF) y tramos horarios "
                  "(DIASHORAST.DBF)\n"
                  "Las que había se guardan ahora en " +
                  (work / "Mirvane" / "anterior").string() +
                  "; para volver a ellas, repita «mirvane-cli restaurar».\n");
    EXPECT_EQ(testing::readFile(work / "DIASHORAST.DBF"), first);
    EXPECT_EQ(restaurar().status, 0);
    EXPECT_EQ(testing::readFile(work / "DIASHORAST.DBF"), second);
}

TEST_F(ExportarCliTest, MissingWorkFolderIsAFailure) {
    const auto result =
        exportar(example() + " --sin-informe --carpeta " + shellQuote((work / "KTEMP").string()));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors, "");
    EXPECT_FALSE(std::filesystem::exists(work / "KTEMP"));
}

TEST_F(ExportarCliTest, FileSystemFaultsAreReportedNamingThePathAndWriteNothing) {
    const auto loop = work / "LOOP";  // a symbolic link to itself
    std::filesystem::create_directory_symlink(loop, loop);
    testing::writeFile(work / "plain", "x");
    const auto throughFile = work / "plain" / "KTEMP";
    struct Case {
        std::string arguments;
        std::string errors;  // the path it names
    } cases[] = {
        {example() + " --carpeta " + shellQuote(loop.string()), loop.string()},
        {example() + " --carpeta " + shellQuote(throughFile.string()), throughFile.string()},
        {shellQuote((loop / "datos.xml").string()) + intoWork(), (loop / "datos.xml").string()},
        {shellQuote((work / "plain" / "datos.xml").string()) + intoWork(), "No existe archivo"},
    };
    for (const Case& c : cases) {
        const auto result = exportar(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments;
        EXPECT_EQ(result.output, "");
        EXPECT_NE(result.errors.find(c.errors), std::string::npos) << result.errors;
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(ExportarCliTest, UsageErrorsWriteNothing) {
    for (const std::string& arguments :
         {std::string(), example() + " --hora 24:00", example() + " --hora 07:75",
          example() + " --hora 8:3", example() + " --hora ab:cd", example() + " --hora",
          example() + " otro.xml", example() + " --desconocida"}) {
        const auto result = exportar(arguments + intoWork());
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.errors.find("exportar"), std::string::npos) << result.errors;
        EXPECT_EQ(result.output, "") << arguments;
    }
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

TEST_F(ExportarCliTest, HelpAndVersion) {
    const auto help = exportar("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"DOCUMENTO", "--carpeta", "--hora", "HH:MM", "--informe", "--sin-informe"})
        EXPECT_NE(help.output.find(word), std::string::npos) << word;
    const auto version = testing::run(testing::cliCommand() + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.output.find("mirvane-cli"), std::string::npos);
}

}  // namespace
}  // namespace mirvane
