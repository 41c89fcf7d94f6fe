// The streamed element against the same element built and saved by the DOM:
// the bytes must be the same in every encoding and shape of document.

#include "xml/streamed_save.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "base/safe_file.h"
#include "support/testing.h"

namespace mirvane::xml {
namespace {

using mirvane::testing::TempDir;

// An element of fields as the import writes them: one attribute each, and
// text that needs escaping or that the encoding may lack.
struct Piece {
    const char* attribute;
    const char* text;
};
constexpr Piece kPieces[] = {
    {"X_EMPLEADO", "12 < 13 & 14 > 1\r\n\t"},
    {"DÍA \"1\"\t<&>\n", "Año € Ω 😀"},
    {"X_TRAMO", ""},
};
// The same element as markup in the document, in ASCII whatever its encoding.
constexpr std::string_view kMarkup =
    "<SALIDAS><salida dato=\"X_EMPLEADO\">12 &lt; 13 &amp; 14 &gt; 1&#13;\n\t</salida>"
    "<salida dato=\"D&#xCD;A &quot;1&quot;&#9;&lt;&amp;&gt;&#10;\">A&#xF1;o &#x20AC; &#x3A9; "
    "&#x1F600;</salida><salida dato=\"X_TRAMO\"/><vacio/></SALIDAS>";

// `text` with @@ replaced; a text marked with a leading '~' is then made
// UTF-16 (ASCII only), with its byte-order mark.
std::string replaced(std::string text, std::string_view by) {
    text.replace(text.find("@@"), 2, by);
    if (text.front() != '~') return text;
    std::string utf16 = "\xFF\xFE";
    for (char c : text.substr(1)) {
        utf16 += c;
        utf16 += '\0';
    }
    return utf16;
}

// The document read with the element in it, saved by the DOM.
std::string savedByTheDom(const std::string& text, const std::filesystem::path& file) {
    Document document;
    document.loadMemory(replaced(text, kMarkup), "prueba.xml");
    document.save(file);
    return readWholeFile(file);
}

std::string streamed(const std::string& text, const std::filesystem::path& file) {
    Document document;
    document.loadMemory(replaced(text, ""), "prueba.xml");
    StreamedSave save(document, file);
    save.start("SALIDAS");
    for (const Piece& piece : kPieces) {
        save.start("salida", "dato", piece.attribute);
        save.text(piece.text);
        save.end();
    }
    save.start("vacio");
    save.end();
    save.end();
    save.commit();
    return readWholeFile(file);
}

TEST(StreamedSave, WritesTheBytesTheDomSaves) {
    const std::string body = "<SERVICIO a=\"á\"><!-- <?x?> --><X>ñ</X>@@</SERVICIO><!-- fin -->";
    const std::string cases[] = {
        body,
        "\xEF\xBB\xBF" + body,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + body,
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO a=\"\xE1\">@@</SERVICIO>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><SERVICIO a=\"\xA4\">@@</SERVICIO>",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?><SERVICIO a=\"\x80\">@@</SERVICIO>",
        "<!DOCTYPE SERVICIO [<!ATTLIST SERVICIO b CDATA \"1\">]>" + body,
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"><SERVICIO>@@</SERVICIO>",
        "<s:SERVICIO xmlns:s=\"urn:x\"><SALIDAS/>@@</s:SERVICIO>",
        "~<?xml version=\"1.0\" encoding=\"UTF-16\"?><SERVICIO>@@</SERVICIO>",
    };
    TempDir dir;
    for (const std::string& text : cases)
        EXPECT_EQ(streamed(text, dir.path() / "b.xml"), savedByTheDom(text, dir.path() / "a.xml"))
            << text;
}

TEST(StreamedSave, TheElementStaysInNoNamespaceUnderADefaultOne) {
    struct Case {
        std::string root;      // the root's start tag
        std::string expected;  // the element's start tag as written
    } cases[] = {
        {"<SERVICIO xmlns=\"urn:x\">", "<SALIDAS xmlns=\"\">"},
        {"<SERVICIO xmlns=\"\">", "<SALIDAS>"},
        {"<SERVICIO xmlns:s=\"urn:x\">", "<SALIDAS>"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        Document document;
        document.loadMemory(c.root + "<SALIDAS xmlns=\"\"><a/></SALIDAS></SERVICIO>", "p.xml");
        Node root = document.documentElement();
        root.deleteChild(root.selectSingleNode("SALIDAS"));
        const auto file = dir.path() / "r.xml";
        StreamedSave save(document, file);
        save.start("SALIDAS");
        save.start("listasal", "seq", "EMPLEADO_1");
        save.end();
        save.end();
        save.commit();
        EXPECT_NE(readWholeFile(file).find(c.expected + "<listasal seq=\"EMPLEADO_1\"/>"),
                  std::string::npos)
            << c.root;
        Document reread;
        reread.load(file);
        EXPECT_EQ(
            reread.documentElement().selectSingleNode("SALIDAS").selectNodes("listasal").length(),
            1u)
            << c.root;
    }
}

TEST(StreamedSave, RefusesWhatTheDomRefusesAndLeavesNoFile) {
    TempDir dir;
    Document document;
    document.loadMemory("<SERVICIO/>", "prueba.xml");
    {
        StreamedSave save(document, dir.path() / "r.xml");
        save.start("salida");
        EXPECT_THROW(save.text("a\x01"), Error);
        EXPECT_THROW(save.text("\xC3("), Error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "r.xml"));
}

}  // namespace
}  // namespace mirvane::xml
