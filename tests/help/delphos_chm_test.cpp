// The built help file, read back with chmlib's tools (Debian's libchm-bin).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/testing.h"

namespace mirvane::help {
namespace {

namespace fs = std::filesystem;
using mirvane::testing::readFile;
using mirvane::testing::run;
using mirvane::testing::shellQuote;

std::uint32_t littleEndian32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) |
                static_cast<unsigned char>(bytes.at(offset + static_cast<std::size_t>(i)));
    return value;
}

// The page a context number opens: #IVB pairs each context with the offset
// of its page's name in #STRINGS.
std::string pageOfContext(const fs::path& extracted, std::uint32_t context) {
    const std::string ivb = readFile(extracted / "#IVB");
    const std::string strings = readFile(extracted / "#STRINGS");
    for (std::size_t at = 4; at + 8 <= ivb.size(); at += 8) {
        if (littleEndian32(ivb, at) != context) continue;
        const std::size_t offset = littleEndian32(ivb, at + 4);
        if (offset >= strings.size()) return "(offset out of #STRINGS)";
        return std::string(strings.c_str() + offset);
    }
    return "";
}

class DelphosChm : public ::testing::Test {
  protected:
    void SetUp() override {
        chm = mirvane::testing::binDir() / "DELPHOS.chm";
        if (!fs::exists(chm)) {
            if (run("command -v chmcmd").status != 0)
                GTEST_SKIP() << "chmcmd is not installed: DELPHOS.chm is not built";
            FAIL() << chm << " was not built";
        }
        const auto extract = run("extract_chmLib " + shellQuote(chm.string()) + " " +
                                 shellQuote(extracted.path().string()));
        ASSERT_EQ(extract.status, 0) << extract.errors;
    }

    fs::path chm;
    mirvane::testing::TempDir extracted;
};

TEST_F(DelphosChm, HoldsEveryPageWithTheContentsAndTheIndex) {
    const auto listing = run("enum_chmLib " + shellQuote(chm.string()));
    ASSERT_EQ(listing.status, 0) << listing.errors;
    for (const char* file :
         {"/contenido.hhc", "/indice.hhk", "/ventana_principal.htm", "/exportar.htm",
          "/importar.htm", "/hora_inicio.htm", "/documento_delphos.htm", "/archivos.htm",
          "/modo_tablexa.htm", "/mensajes.htm", "/mensajes_tablas.htm", "/mensajes_xml.htm",
          "/mensajes_registros.htm", "/informes.htm", "/horario.htm", "/mirvane_cli.htm",
          "/linux_wine.htm", "/#IVB", "/#STRINGS", "/$WWKeywordLinks/BTree"})
        EXPECT_NE(listing.output.find(std::string(file) + "\n"), std::string::npos) << file;

    // The project names them, so the help window shows its contents and index tabs.
    const std::string system = readFile(extracted / "#SYSTEM");
    EXPECT_NE(system.find("contenido.hhc"), std::string::npos);
    EXPECT_NE(system.find("indice.hhk"), std::string::npos);
}

TEST_F(DelphosChm, ContextOneOpensTheMainWindowsPage) {
    const std::string page = pageOfContext(extracted.path(), 1);
    // The name inside the help file; a building machine's folder would never be found.
    EXPECT_EQ(page, "/ventana_principal.htm");
    EXPECT_TRUE(fs::exists(extracted / "ventana_principal.htm"));
}

TEST_F(DelphosChm, IndexKeywordsLeadToPagesOfTheHelp) {
    const std::string index = readFile(extracted / "indice.hhk");
    struct Keyword {
        const char* name;
        const char* page;
    };
    for (const Keyword& keyword :
         {Keyword{"hora de inicio", "hora_inicio.htm"}, Keyword{"Tablexa.ini", "modo_tablexa.htm"},
          Keyword{"No existe archivo", "mensajes.htm"},
          Keyword{"tabla da\xF1"
                  "ada",
                  "mensajes_tablas.htm"}}) {
        const std::string entry = std::string("<param name=\"Name\" value=\"") + keyword.name +
                                  "\">\n    <param name=\"Local\" value=\"" + keyword.page + "\">";
        EXPECT_NE(index.find(entry), std::string::npos) << keyword.name;
        EXPECT_TRUE(fs::exists(extracted / keyword.page)) << keyword.page;
    }
}

TEST_F(DelphosChm, PagesAndContentsAreInWindows1252) {
    // HTML Help reads the contents and index in the system's code page, and the
    // pages declare theirs.
    const std::string page = readFile(extracted / "archivos.htm");
    EXPECT_NE(page.find("charset=windows-1252"), std::string::npos);
    EXPECT_NE(page.find("Qu\xE9 archivos escribe Mirvane y d\xF3nde"), std::string::npos);
    EXPECT_NE(readFile(extracted / "contenido.hhc").find("Qu\xE9 archivos"), std::string::npos);
}

}  // namespace
}  // namespace mirvane::help
