// mirvane-cli's usage errors and help: every text in Spanish, one line on
// the errors for a usage error.

#include <gtest/gtest.h>

#include "support/testing.h"
#include "version.h"

namespace mirvane {
namespace {

testing::CommandResult cli(const std::string& arguments) {
    return testing::run(testing::cliCommand() + " " + arguments);
}

TEST(UsageTest, EachKindOfUsageErrorIsOneSpanishLineAndStatusTwo) {
    const std::string exportarHelp = " Pruebe «mirvane-cli exportar --help».\n";
    const struct {
        const char* arguments;
        std::string errors;
    } cases[] = {
        {"", "Falta el subcomando: exportar, importar o restaurar. Pruebe «mirvane-cli --help».\n"},
        {"sincronizar",
         "«sincronizar» no es un subcomando de mirvane-cli; use exportar, importar o restaurar. "
         "Pruebe "
         "«mirvane-cli --help».\n"},
        {"--nada", "mirvane-cli no tiene la opción «--nada». Pruebe «mirvane-cli --help».\n"},
        {"exportar", "Falta el argumento DOCUMENTO." + exportarHelp},
        {"exportar a.xml --hora", "Falta el valor de --hora." + exportarHelp},
        {"exportar a.xml --hora=", "Falta el valor de --hora." + exportarHelp},
        {"exportar a.xml --hora 08:00 --hora 09:00",
         "--hora se ha dado más de una vez." + exportarHelp},
        {"exportar a.xml --hora 25:00",
         "--hora: La hora de inicio debe tener la forma HH:MM, con la hora de 00 a 23 y los "
         "minutos de 00 a 59: 25:00." +
             exportarHelp},
        {"exportar a.xml --informe x.html --sin-informe",
         "--informe y --sin-informe no pueden ir juntas." + exportarHelp},
        {"exportar a.xml --sin-informe=si", "--sin-informe no lleva valor." + exportarHelp},
        {"exportar a.xml b.xml c.xml", "Sobran «b.xml» y «c.xml»." + exportarHelp},
        {"--carpeta /tmp exportar a.xml",
         "La opción «--carpeta» va después del subcomando: «mirvane-cli exportar … --carpeta "
         "CARPETA»." +
             exportarHelp},
        {"importar a.xml --hora 08:00",
         "mirvane-cli importar no tiene la opción «--hora». Pruebe «mirvane-cli importar "
         "--help».\n"},
    };
    for (const auto& c : cases) {
        const auto result = cli(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_EQ(result.errors, c.errors) << c.arguments;
        EXPECT_EQ(result.output, "") << c.arguments;
    }
}

TEST(UsageTest, HelpIsSpanishOnTheOutputAndVersionIsTheProjects) {
    for (const char* arguments : {"--help", "exportar --help", "importar -h"}) {
        const auto result = cli(arguments);
        EXPECT_EQ(result.status, 0) << arguments;
        EXPECT_EQ(result.errors, "") << arguments;
        for (const char* spanish :
             {"Uso: mirvane-cli", "Opciones:", "Muestra esta ayuda y termina"})
            EXPECT_NE(result.output.find(spanish), std::string::npos) << arguments << spanish;
        for (const char* english : {"Usage", "Options", "Positionals", "Subcommand", "REQUIRED",
                                    "Excludes", "TEXT", "Print"})
            EXPECT_EQ(result.output.find(english), std::string::npos) << arguments << english;
    }
    EXPECT_NE(cli("exportar --help").output.find("--sin-informe (excluye --informe)"),
              std::string::npos);
    const auto version = cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "mirvane-cli " MIRVANE_VERSION "\n");
}

}  // namespace
}  // namespace mirvane
