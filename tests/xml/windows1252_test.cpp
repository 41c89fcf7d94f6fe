// windows-1252 documents through the program's own encoding handler, the one
// both builds read and write with, and documents at accented paths.

#include <gtest/gtest.h>

#include "base/paths.h"
#include "support/testing.h"
#include "xml/detail.h"
#include "xml/document.h"
#include "xml/streamed_save.h"

namespace mirvane::xml {
namespace {

using mirvane::testing::TempDir;

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n";

class Windows1252 : public ::testing::Test {
  protected:
    TempDir dir;
};

TEST_F(Windows1252, EveryByteReadsAsWindowsReadsIt) {
    // The five bytes the code page leaves undefined read as Windows reads
    // them, as the same control characters, and are saved as the same bytes.
    const std::string undefined = "\x81\x8D\x8F\x90\x9D";
    for (const char* name : {"windows-1252", "WINDOWS-1252", "cp1252"}) {
        const std::string bytes = "<?xml version=\"1.0\" encoding=\"" + std::string(name) +
                                  "\"?>\n<a t=\"\x80\">\x93"
                                  "cl\xE1"
                                  "se\x94 \x9C" +
                                  undefined + "</a>\n";
        Document document;
        document.loadMemory(bytes, "datos.xml");
        EXPECT_EQ(document.documentElement().text(), "“cláse” œ\u0081\u008D\u008F\u0090\u009D")
            << name;
        EXPECT_EQ(document.documentElement().attribute("t"), "€") << name;
        document.save(dir / "copia.xml");
        EXPECT_EQ(mirvane::testing::readFile(dir / "copia.xml"), bytes) << name;
    }
}

TEST_F(Windows1252, SavedInTheCodePageWithReferencesForWhatItLacks) {
    Document document;
    document.loadMemory(std::string(kDeclaration) + "<r/>\n", "datos.xml");
    const auto file = dir / "salida.xml";
    StreamedSave save(document, file);
    save.start("a");
    save.text("€ “sí” œ ✓");
    save.end();
    save.commit();
    EXPECT_EQ(mirvane::testing::readFile(file),
              std::string(kDeclaration) + "<r><a>\x80 \x93s\xED\x94 \x9C &#10003;</a></r>\n");
    Document reread;
    reread.load(file);
    EXPECT_EQ(reread.documentElement().text(), "€ “sí” œ ✓");
}

TEST_F(Windows1252, LongDocumentsCrossTheParsersPieces) {
    // Larger than libxml2's buffers, so conversions stop and resume mid-text.
    std::string body;
    for (int i = 0; i < 20000; ++i) body += "\x80\x93\xF1\x94 ";
    const auto file = dir / "largo.xml";
    mirvane::testing::writeFile(file, std::string(kDeclaration) + "<a>" + body + "</a>\n");
    Document document;
    document.load(file);
    std::string expected;
    for (int i = 0; i < 20000; ++i) expected += "€“ñ” ";
    EXPECT_EQ(document.documentElement().text(), expected);
    document.save(dir / "copia.xml");
    EXPECT_EQ(mirvane::testing::readFile(dir / "copia.xml"), mirvane::testing::readFile(file));
}

TEST_F(Windows1252, ADocumentAtAnAccentedPathLoadsAndSavesBesideIt) {
    const auto folder = dir.path() / paths::fromUtf8("José");
    std::filesystem::create_directory(folder);
    const auto chosen = folder / paths::fromUtf8("horario ñ.xml");
    mirvane::testing::writeFile(chosen, std::string(kDeclaration) + "<a>\xF1</a>\n");
    Document document;
    document.load(chosen);
    EXPECT_EQ(document.documentElement().text(), "ñ");
    const auto result = folder / paths::fromUtf8("ResultadoVorsahorario ñ.xml");
    document.save(result);
    EXPECT_EQ(mirvane::testing::readFile(result), mirvane::testing::readFile(chosen));
}

}  // namespace
}  // namespace mirvane::xml
