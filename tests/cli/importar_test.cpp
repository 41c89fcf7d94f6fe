// mirvane-cli importar as other tools call it: outputs and exit statuses.

#include <filesystem>

#include <gtest/gtest.h>

#include "support/testing.h"

namespace mirvane {
namespace {

using testing::shellQuote;

std::filesystem::path exampleFolder() {
    return testing::sourceDir() / "examples" / "escuela";
}

// A copy of the example document, and a work folder holding the example
// school's tables and the timetabler's solution for it.
class ImportarCliTest : public ::testing::Test {
  protected:
    ImportarCliTest() {
        std::filesystem::copy_file(exampleFolder() / "datos.xml", chosen);
        const auto exported = command("exportar " + shellQuote(chosen.string()) + intoWork());
        EXPECT_EQ(exported.status, 0) << exported.errors;
        std::filesystem::copy_file(exampleFolder() / "SOLUC.DBF", work / "SOLUC.DBF");
    }

    testing::CommandResult command(const std::string& arguments) {
        return testing::run("WINEPREFIX=" + shellQuote(wine.path().string()) + " " +
                            testing::cliCommand() + " " + arguments);
    }
    testing::CommandResult importar(const std::string& arguments) {
        return command("importar " + arguments);
    }
    std::string intoWork() const { return " --carpeta " + shellQuote(work.path().string()); }

    testing::TempDir work;
    testing::TempDir docs;
    testing::TempDir wine;  // never the real prefix
    std::filesystem::path chosen = docs / "datos.xml";
    std::filesystem::path result = docs / "ResultadoVorsadatos.xml";
    std::filesystem::path report = docs / "datos - Informe de importación.html";
    std::filesystem::path timetable = docs / "datos - Horario.html";
};

TEST_F(ImportarCliTest, SuccessPrintsTheCountsAndTheResultFile) {
    const auto run = importar(shellQuote(chosen.string()) + intoWork());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output,
              "Proceso finalizado\nDocumento de resultado, con 31 profesores y 119 clases: " +
                  result.string() + "\n" + "Informe con 6 avisos: " + report.string() + "\n" +
                  "Horario: " + timetable.string() + "\n");
    EXPECT_EQ(run.errors, "");
    EXPECT_TRUE(std::filesystem::exists(result));
    EXPECT_NE(testing::readFile(report).find("Informe de importación"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(docs / "datos - Informe de importación (clases).csv"));
    EXPECT_NE(testing::readFile(timetable).find("Horario tal como lo recibirá Delphos"),
              std::string::npos);
}

TEST_F(ImportarCliTest, ReportElsewhereOrNone) {
    const auto elsewhere = docs / "otro" / "informe.html";
    std::filesystem::create_directory(docs / "otro");
    auto run = importar(shellQuote(chosen.string()) + intoWork() + " --informe " +
                        shellQuote(elsewhere.string()));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("Informe con 6 avisos: " + elsewhere.string() + "\n"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(std::filesystem::exists(elsewhere));
    EXPECT_FALSE(std::filesystem::exists(report));

    std::filesystem::remove(timetable);
    run = importar(shellQuote(chosen.string()) + intoWork() + " --sin-informe --sin-horario");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output.find("Informe"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Horario"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(report));
    EXPECT_FALSE(std::filesystem::exists(timetable));

    // A report that cannot be written is said so; the run still succeeded.
    run = importar(shellQuote(chosen.string()) + intoWork() + " --informe " +
                   shellQuote((docs / "no-existe" / "informe.html").string()));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("No se pudo escribir el informe: "), std::string::npos) << run.output;
}

TEST_F(ImportarCliTest, DefaultWorkFolderIsKtempOnDriveC) {
    const auto ktemp = wine / "drive_c" / "ktemp";  // found in any letter case
    std::filesystem::create_directories(ktemp);
    for (const auto& entry : std::filesystem::directory_iterator(work.path()))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), ktemp / entry.path().filename());
    const auto run = importar(shellQuote(chosen.string()));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::exists(result));
}

TEST_F(ImportarCliTest, NoFile) {
    const auto run = importar(shellQuote((docs / "no-existe.xml").string()) + intoWork());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors, "No existe archivo: «" + (docs / "no-existe.xml").string() + "»\n");
    EXPECT_FALSE(std::filesystem::exists(docs / "ResultadoVorsano-existe.xml"));
}

TEST_F(ImportarCliTest, FailureIsReportedOnceWithAFullStopAndWritesNothing) {
    testing::writeFile(chosen, "<SERVICIO><OTRO/></SERVICIO>");
    const auto run = importar(shellQuote(chosen.string()) + intoWork());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors,
              "El archivo datos.xml no es un documento de intercambio de Delphos: le falta el "
              "elemento SALIDAS. Elija el archivo XML que envió Delphos.\n");
    EXPECT_FALSE(std::filesystem::exists(result));
    EXPECT_FALSE(std::filesystem::exists(report));  // it changed nothing
    EXPECT_FALSE(std::filesystem::exists(timetable));
}

TEST_F(ImportarCliTest, MissingSolutionIsAFailure) {
    std::filesystem::remove(work / "SOLUC.DBF");
    const auto run = importar(shellQuote(chosen.string()) + intoWork());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("SOLUC"), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(result));
}

TEST_F(ImportarCliTest, UsageErrorsWriteNothing) {
    for (const std::string& arguments :
         {std::string(), shellQuote(chosen.string()) + " otro.xml",
          shellQuote(chosen.string()) + " --carpeta", shellQuote(chosen.string()) + " --hora 08:00",
          shellQuote(chosen.string()) + " --desconocida"}) {
        SCOPED_TRACE(arguments);
        const auto run = importar(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_FALSE(std::filesystem::exists(result));
    }
}

TEST_F(ImportarCliTest, HelpNamesTheCommand) {
    const auto run = importar("--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("ResultadoVorsa"), std::string::npos) << run.output;
}

TEST_F(ImportarCliTest, FileSystemFaultsAreReportedNamingThePathAndWriteNothing) {
    const auto loop = docs / "LOOP";  // a symbolic link to itself
    std::filesystem::create_directory_symlink(loop, loop);
    const auto throughFile = chosen / "KTEMP";
    struct Case {
        std::string arguments;
        std::string errors;  // the path it names
    } cases[] = {
        {shellQuote(chosen.string()) + " --carpeta " + shellQuote(loop.string()), loop.string()},
        {shellQuote(chosen.string()) + " --carpeta " + shellQuote(throughFile.string()),
         throughFile.string()},
        {shellQuote((loop / "datos.xml").string()) + intoWork(), (loop / "datos.xml").string()},
        {shellQuote((chosen / "datos.xml").string()) + intoWork(), "No existe archivo"},
    };
    for (const Case& c : cases) {
        const auto run = importar(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.output, "");
        EXPECT_NE(run.errors.find(c.errors), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(result));
}

}  // namespace
}  // namespace mirvane
