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

// An element of fields, as the import writes them: one attribute each, and
// text that needs escaping or that the encoding may lack.
struct Piece {
    const char* name;
    const char* attribute;
    const char* value;
    const char* text;
};
constexpr Piece kPieces[] = {
    {"salida", "dato", "X_EMPLEADO", "12 < 13 & 14 > 1\r\n\t"},
    {"salida", "dato", "DÍA \"1\"\t<&>\n", "Año € Ω 😀"},
    {"salida", "dato", "X_TRAMO", ""},
};

std::string builtAndSaved(const std::string& text, const std::filesystem::path& file) {
    Document document;
    document.loadMemory(text, "prueba.xml");
    Node root = document.documentElement();
    Node outer = document.createElement("SALIDAS");
    root.appendChild(outer);
    for (const Piece& piece : kPieces) {
        Node element = document.createElement(piece.name);
        element.setAttribute(piece.attribute, piece.value);
        element.setText(piece.text);
        outer.appendChild(element);
    }
    outer.appendChild(document.createElement("vacio"));
    document.save(file);
    return readWholeFile(file);
}

std::string streamed(const std::string& text, const std::filesystem::path& file) {
    Document document;
    document.loadMemory(text, "prueba.xml");
    StreamedSave save(document, file);
    save.start("SALIDAS");
    for (const Piece& piece : kPieces) {
        save.start(piece.name, piece.attribute, piece.value);
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
    const std::string body = "<SERVICIO a=\"á\"><!-- <?x?> --><X>ñ</X></SERVICIO><!-- fin -->";
    const std::string utf16 = [] {
        std::string out = "\xFF\xFE";
        for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><SERVICIO/>")) {
            out += c;
            out += '\0';
        }
        return out;
    }();
    const std::string cases[] = {
        body,
        "\xEF\xBB\xBF" + body,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + body,
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO a=\"\xE1\"/>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><SERVICIO a=\"\xA4\"/>",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?><SERVICIO a=\"\x80\"/>",
        "<!DOCTYPE SERVICIO [<!ATTLIST SERVICIO b CDATA \"1\">]>" + body,
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"><SERVICIO/>",
        "<SERVICIO xmlns=\"urn:x\"><SALIDAS/></SERVICIO>",
        utf16,
    };
    TempDir dir;
    for (const std::string& text : cases)
        EXPECT_EQ(streamed(text, dir.path() / "b.xml"), builtAndSaved(text, dir.path() / "a.xml"))
            << text;
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
