#include "xml/document.h"
#include "xml/streamed_save.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/error.h"
#include "support/testing.h"

namespace mirvane::xml {
namespace {

using mirvane::testing::readFile;
using mirvane::testing::TempDir;
using mirvane::testing::writeFile;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The accented text every encoding case carries, in UTF-8.
const std::string kAccented = "Educación Física: ñandú, pingüino, ÁÉÍÓÚ";

// The message of the Error that `action` raises; fails the test when none.
template <typename Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

// UTF-8 (Basic Multilingual Plane only) to UTF-16 with a byte-order mark.
std::string utf16(const std::string& utf8, bool bigEndian) {
    std::vector<unsigned> units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            units.push_back(c);
            i += 1;
        } else if ((c >> 5) == 0x6) {
            units.push_back(((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu));
            i += 2;
        } else {
            units.push_back(((c & 0x0Fu) << 12) |
                            ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                            (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu));
            i += 3;
        }
    }
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (unsigned unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// UTF-8 to ISO-8859-1 (the characters used here all exist there).
std::string latin1(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            bytes += static_cast<char>(((c & 0x1Fu) << 6) |
                                       (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu));
            ++i;
        }
    }
    return bytes;
}

std::string exchangeBody(const std::string& value) {
    return "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><listasal>"
           "<salida dato=\"NOMBRE\">" +
           value + "</salida></listasal></listasal></SALIDAS></SERVICIO>";
}

// ---- Loading: encodings ------------------------------------------------------

struct EncodingCase {
    const char* label;
    std::string bytes;
    std::string expected;  // the field's text, UTF-8
};

TEST(XmlLoad, ReadsEveryEncodingADocumentDeclaresOrMarks) {
    const std::string declLatin = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
    const std::string decl1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n";
    const std::string declUtf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string declUtf16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n";
    const std::vector<EncodingCase> cases = {
        {"ISO-8859-1", declLatin + latin1(exchangeBody(kAccented)), kAccented},
        {"lower-case iso-8859-1",
         "<?xml version='1.0' encoding='iso-8859-1'?>" + latin1(exchangeBody(kAccented)),
         kAccented},
        // 0x80 is the euro sign and 0x93/0x94 curly quotes in windows-1252 only.
        {"windows-1252", decl1252 + latin1(exchangeBody(kAccented)) + "", kAccented},
        {"windows-1252 euro", decl1252 + exchangeBody("\x80 \x93hola\x94"), "€ “hola”"},
        {"UTF-8 declared", declUtf8 + exchangeBody(kAccented), kAccented},
        {"UTF-8 without declaration", exchangeBody(kAccented), kAccented},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + exchangeBody(kAccented), kAccented},
        {"UTF-16 LE with mark", utf16(declUtf16 + exchangeBody(kAccented), false), kAccented},
        {"UTF-16 BE with mark", utf16(declUtf16 + exchangeBody(kAccented), true), kAccented},
        {"UTF-16 LE, mark only", utf16(exchangeBody(kAccented), false), kAccented},
        {"character references", exchangeBody("Educaci&#243;n &#x20AC; &amp; &lt;"),
         "Educación € & <"},
    };
    TempDir dir;
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.label);
        const auto file = dir / "datos.xml";
        writeFile(file, c.bytes);
        Document document;
        document.load(file);
        ASSERT_TRUE(document.loaded());
        const NodeList records =
            document.selectNodes("/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
        ASSERT_EQ(records.length(), 1u);
        const NodeList fields = records.item(0).selectNodes("salida");
        ASSERT_EQ(fields.length(), 1u);
        EXPECT_EQ(fields.item(0).text(), c.expected);
        EXPECT_EQ(fields.item(0).attribute("dato"), "NOMBRE");
    }
}

// ---- Loading: what is refused ----------------------------------------------

TEST(XmlLoad, NeverPullsInAnOutsideResource) {
    TempDir dir;
    const auto secret = dir / "secreto.txt";
    writeFile(secret, "SECRETO");
    const std::string url = "file://" + secret.string();
    const std::vector<std::string> documents = {
        "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + url + "\">]><r>&e;</r>",
        "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + secret.string() + "\">]><r>&e;</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + url + "\"> %p;]><r>x</r>",
        "<!DOCTYPE r [<!ENTITY e PUBLIC \"-//X//Y\" \"http://127.0.0.1:9/x\">]><r>&e;</r>",
    };
    for (const std::string& bytes : documents) {
        SCOPED_TRACE(bytes);
        Document document;
        const std::string message = errorOf([&] { document.loadMemory(bytes, "externo.xml"); });
        EXPECT_THAT(message, StartsWith("El archivo externo.xml hace referencia a un recurso"));
        EXPECT_THAT(message, Not(HasSubstr("SECRETO")));
        EXPECT_FALSE(document.loaded());
    }
}

TEST(XmlLoad, AnExternalDtdThatIsOnlyNamedDoesNotStopTheLoad) {
    Document document;
    document.loadMemory(
        "<?xml version=\"1.0\"?>\n<!DOCTYPE SERVICIO SYSTEM \"servicio.dtd\">\n"
        "<SERVICIO>bien</SERVICIO>",
        "dtd.xml");
    EXPECT_EQ(document.documentElement().text(), "bien");
}

std::string billionLaughs() {
    std::string bytes = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        bytes += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int k = 0; k < 10; ++k) bytes += "&lol" + std::to_string(level - 1) + ";";
        bytes += "\">";
    }
    return bytes + "]><lolz>&lol9;</lolz>";
}

std::string quadraticBlowup(std::size_t entitySize, int uses) {
    std::string bytes = "<!DOCTYPE r [<!ENTITY a \"" + std::string(entitySize, 'x') + "\">]><r>";
    for (int i = 0; i < uses; ++i) bytes += "&a;";
    return bytes + "</r>";
}

TEST(XmlLoad, EntityBombsEndWithAnError) {
    const std::vector<std::pair<const char*, std::string>> bombs = {
        {"billion laughs", billionLaughs()},
        {"quadratic blowup", quadraticBlowup(10000, 20000)},
        {"wide quadratic blowup", quadraticBlowup(100000, 2000)},
    };
    for (const auto& [label, bytes] : bombs) {
        SCOPED_TRACE(label);
        Document document;
        EXPECT_THAT(errorOf([&] { document.loadMemory(bytes, "bomba.xml"); }),
                    StartsWith("El archivo bomba.xml no es un documento XML válido"));
    }
}

// ---- Loading: malformed documents ------------------------------------------

struct MalformedCase {
    const char* label;
    std::string bytes;
    std::string place;   // "(línea …" part of the message
    std::string reason;  // part of the reason
};

TEST(XmlLoad, AMalformedDocumentNamesTheFileThePlaceAndTheReason) {
    const std::vector<MalformedCase> cases = {
        {"unclosed tag", "<SERVICIO>\n<SALIDAS>\n</SERVICIO>", "(línea 3, columna",
         "</SERVICIO> no corresponde a <SALIDAS>, abierta en la línea 2"},
        {"truncated", "<?xml version=\"1.0\"?>\n<SERVICIO>\n  <SALIDAS>\n", "(línea 4",
         "sin cerrar la etiqueta <SALIDAS>"},
        {"truncated in a tag", "<SERVICIO>\n  <listasal seq=\"MAT", "(línea 2", ""},
        {"garbage", "esto no es XML", "(línea 1", "no empieza por una etiqueta"},
        {"binary", std::string("\x00\x01\x02\xFF\xFE\x03\x04", 7), "(línea 1", ""},
        {"only blanks", "   \n  ", "(línea 2", "no empieza por una etiqueta"},
        {"two roots", "<a/>\n<b/>", "(línea 2", "después del final"},
        {"undefined entity", "<a>\n&nada;</a>", "(línea 2", "«&nada;» no está definida"},
        {"undeclared prefix", "<a><x:b/></a>", "(línea 1", "Namespace prefix x"},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"klingon\"?><a/>", "(línea 1",
         "«klingon» no es conocida"},
        {"Latin-1 bytes without declaration", "<a>educaci\xF3n</a>", "(línea 1, columna",
         "UTF-8 cuando no declara ninguna"},
        {"bad UTF-8 in a UTF-8 document",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\x28</a>", "(línea 1", ""},
        {"attribute without quotes", "<a b=c/>", "(línea 1", ""},
        {"unescaped ampersand", "<a>fish & chips</a>", "(línea 1", ""},
        {"double hyphen in a comment", "<a><!--k--\"--></a>", "(línea 1", "contiene «--»"},
        {"unfinished comment", "<a><!--k", "(línea 1", "no se cierra con «-->»"},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.label);
        Document document;
        const std::string message = errorOf([&] { document.loadMemory(c.bytes, "datos.xml"); });
        EXPECT_THAT(message,
                    StartsWith("El archivo datos.xml no es un documento XML válido " + c.place));
        EXPECT_THAT(message, HasSubstr(c.reason));
        EXPECT_THAT(message, HasSubstr("): "));
        EXPECT_FALSE(document.loaded());
    }
}

TEST(XmlLoad, FilesThatCannotBeReadAreNamedInTheMessage) {
    TempDir dir;
    writeFile(dir / "vacio.xml", "");
    Document document;
    EXPECT_EQ(errorOf([&] { document.load(dir / "vacio.xml"); }),
              "El archivo vacio.xml está vacío: no es un documento XML válido");
    EXPECT_EQ(errorOf([&] { document.load(dir / "falta.xml"); }),
              "No existe el archivo " + (dir / "falta.xml").string());
    EXPECT_THAT(errorOf([&] { document.load(dir.path()); }), HasSubstr("es una carpeta"));
}

TEST(XmlLoad, AFailedLoadKeepsTheDocumentAndLeavesNoErrorBehind) {
    const xmlExternalEntityLoader loaderBefore = xmlGetExternalEntityLoader();
    Document document;
    document.loadMemory("<a>primero</a>", "uno.xml");
    errorOf([&] { document.loadMemory("<a>", "dos.xml"); });
    EXPECT_TRUE(document.loaded());
    EXPECT_EQ(document.documentElement().text(), "primero");
    // A second document loads cleanly after a failed one.
    Document other;
    other.loadMemory("<b>segundo</b>", "tres.xml");
    EXPECT_EQ(other.documentElement().text(), "segundo");
    EXPECT_EQ(xmlGetExternalEntityLoader(), loaderBefore);
}

// ---- Loading without a section -----------------------------------------------

struct SkippedSectionCase {
    const char* label;
    std::string document;
    std::string saved;  // the root as it is written back
};

TEST(XmlLoad, WithoutASectionLeavesOnlyTheRootsFirstSuchChildEmpty) {
    const std::vector<SkippedSectionCase> cases = {
        {"every kind of content",
         "<r><a>1</a><SALIDAS k=\"v\"><x>y</x>t<!--c--><?p q?><![CDATA[z]]></SALIDAS><b/></r>",
         "<r><a>1</a><SALIDAS k=\"v\"/><b/></r>"},
        {"a second one is kept", "<r><SALIDAS><x/></SALIDAS><SALIDAS><y/></SALIDAS></r>",
         "<r><SALIDAS/><SALIDAS><y/></SALIDAS></r>"},
        {"deeper or in a namespace",
         "<r xmlns:p=\"u\"><a><SALIDAS><x/></SALIDAS></a><p:SALIDAS><x/></p:SALIDAS>"
         "<SALIDAS><x/></SALIDAS></r>",
         "<r xmlns:p=\"u\"><a><SALIDAS><x/></SALIDAS></a><p:SALIDAS><x/></p:SALIDAS>"
         "<SALIDAS/></r>"},
        {"a root of the same name", "<SALIDAS><SALIDAS><x/></SALIDAS></SALIDAS>",
         "<SALIDAS><SALIDAS/></SALIDAS>"},
        {"entities inside and outside",
         "<!DOCTYPE r [<!ENTITY e \"<x>v</x>\">]><r><b>&e;</b><SALIDAS>&e;&e;</SALIDAS>"
         "<c>&e;</c></r>",
         "<r><b><x>v</x></b><SALIDAS/><c><x>v</x></c></r>"},
        {"an entity that holds the section",
         "<!DOCTYPE r [<!ENTITY s \"<SALIDAS><x/></SALIDAS>\">]><r>&s;<SALIDAS><y/></SALIDAS></r>",
         "<r><SALIDAS><x/></SALIDAS><SALIDAS/></r>"},
    };
    TempDir dir;
    for (const SkippedSectionCase& c : cases) {
        SCOPED_TRACE(c.label);
        writeFile(dir / "entrada.xml", c.document);
        Document fromFile, fromMemory;
        fromFile.load(dir / "entrada.xml", {.emptiedSection = "SALIDAS"});
        fromMemory.loadMemory(c.document, "entrada.xml", {.emptiedSection = "SALIDAS"});
        for (const Document* document : {&fromFile, &fromMemory}) {
            document->save(dir / "salida.xml");
            EXPECT_THAT(readFile(dir / "salida.xml"), HasSubstr(c.saved + "\n"));
        }
    }
}

TEST(XmlLoad, WithoutASectionStillChecksTheSection) {
    TempDir dir;
    writeFile(dir / "mal.xml", "<r><SALIDAS>\n<x></y></SALIDAS></r>");
    Document document;
    EXPECT_THAT(errorOf([&] { document.load(dir / "mal.xml", {.emptiedSection = "SALIDAS"}); }),
                HasSubstr("mal.xml no es un documento XML válido (línea 2"));
    EXPECT_FALSE(document.loaded());
}

// ---- Selection and reading -------------------------------------------------

const char* const kTwoSections = R"(<?xml version="1.0" encoding="ISO-8859-1"?>
<SERVICIO>
  <SALIDAS>
    <listasal seq="MATERIAS">
      <listasal><salida dato="A">  G12 	</salida><salida dato="B">uno</salida></listasal>
      <listasal><salida>dos</salida><!-- nota --><salida/></listasal>
    </listasal>
    <listasal seq="PROFESORES"><listasal><salida>profesor</salida></listasal></listasal>
    <listasal seq="MATERIAS">
      <listasal><salida>tres</salida></listasal>
    </listasal>
  </SALIDAS>
  <SALIDAS><otra/></SALIDAS>
</SERVICIO>
)";

TEST(XmlSelect, SectionsWithTheSameSeqGiveAllTheirRecordsInOrder) {
    Document document;
    document.loadMemory(kTwoSections, "dos.xml");
    const NodeList records =
        document.selectNodes("/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
    ASSERT_EQ(records.length(), 3u);
    std::vector<std::string> firstFields;
    for (std::size_t i = 0; i < records.length(); ++i)
        firstFields.push_back(records.item(i).selectNodes("salida").item(0).text());
    EXPECT_THAT(firstFields, ::testing::ElementsAre("  G12 \t", "dos", "tres"));
    EXPECT_EQ(document.selectNodes("/SERVICIO/SALIDAS/listasal[@seq=\"AULAS\"]/listasal").length(),
              0u);
}

TEST(XmlSelect, AChildNameSelectsLikeTheXPathChildAxis) {
    Document document;
    document.loadMemory(
        "<r xmlns:p=\"urn:p\"><salida>1</salida>texto<p:salida>no</p:salida><!--c-->"
        "<salida>2<salida>dentro</salida></salida><salidas>no</salidas>"
        "<otro xmlns=\"urn:d\"><salida>ns</salida></otro><salida>3</salida></r>",
        "ns.xml");
    const Node root = document.documentElement();
    for (const char* name : {"salida", "otro", "nada"}) {
        SCOPED_TRACE(name);
        const NodeList fast = root.selectNodes(name);
        const NodeList xpath = root.selectNodes(std::string("child::") + name);
        ASSERT_EQ(fast.length(), xpath.length());
        for (std::size_t i = 0; i < fast.length(); ++i)
            EXPECT_EQ(fast.item(i).text(), xpath.item(i).text());
    }
    EXPECT_EQ(root.selectNodes("salida").length(), 3u);
    EXPECT_EQ(root.selectNodes("otro").length(), 0u);  // in a default namespace
    EXPECT_EQ(root.selectNodes("salida").item(1).text(), "2dentro");
}

TEST(XmlSelect, SingleNodeIsTheFirstMatchOrTheNullNode) {
    Document document;
    document.loadMemory(kTwoSections, "dos.xml");
    const Node root = document.documentElement();
    EXPECT_EQ(root.name(), "SERVICIO");
    const Node salidas = root.selectSingleNode("SALIDAS");
    ASSERT_TRUE(salidas);
    EXPECT_EQ(salidas.selectNodes("listasal").length(), 3u);
    EXPECT_FALSE(root.selectSingleNode("NADA"));
    EXPECT_TRUE(root.selectSingleNode("SALIDAS[2]/otra"));
}

TEST(XmlSelect, ReadsTextAndAttributesAsTheDomDoes) {
    Document document;
    document.loadMemory(
        "<r xml:lang=\"es\"><e a=\"x &amp; y\" b=\"\">uno<i>dos</i><![CDATA[<tres>]]>"
        "<!--no-->&#233;</e><vacio/></r>",
        "texto.xml");
    const Node root = document.documentElement();
    const Node e = root.selectSingleNode("e");
    EXPECT_EQ(e.text(), "unodos<tres>é");
    EXPECT_EQ(root.text(), "unodos<tres>é");
    EXPECT_EQ(root.selectSingleNode("vacio").text(), "");
    EXPECT_EQ(e.attribute("a"), "x & y");
    EXPECT_EQ(e.attribute("b"), "");
    EXPECT_EQ(e.attribute("c"), std::nullopt);
    EXPECT_EQ(root.attribute("xml:lang"), "es");
    EXPECT_EQ(root.attribute("lang"), std::nullopt);
    const Node attribute = e.selectSingleNode("@a");
    EXPECT_EQ(attribute.name(), "a");
    EXPECT_EQ(attribute.text(), "x & y");
    EXPECT_EQ(e.selectSingleNode("text()").name(), "#text");
}

TEST(XmlSelect, EveryMisuseRaisesAClearError) {
    Document empty;
    EXPECT_FALSE(empty.loaded());
    EXPECT_FALSE(empty.documentElement());
    EXPECT_EQ(errorOf([&] { empty.selectNodes("/a"); }), "No hay ningún documento XML cargado");

    Document document;
    document.loadMemory("<r><a/></r>", "r.xml");
    const Node root = document.documentElement();
    EXPECT_THAT(errorOf([&] { root.selectNodes("a[["); }),
                StartsWith("La expresión XPath «a[[» no es válida"));
    EXPECT_THAT(errorOf([&] { root.selectNodes("p:a"); }),
                StartsWith("La expresión XPath «p:a» no es válida"));
    EXPECT_EQ(errorOf([&] { root.selectNodes("count(a)"); }),
              "La expresión XPath «count(a)» no selecciona nodos");
    EXPECT_EQ(errorOf([&] { root.selectNodes("a").item(1); }),
              "No existe el nodo 1 de una lista de 1");
    const Node none = root.selectSingleNode("b");
    EXPECT_THAT(errorOf([&] { none.text(); }), HasSubstr("a un nodo XML que no existe"));
    EXPECT_THAT(errorOf([&] { none.selectNodes("x"); }), HasSubstr("que no existe"));
}

// ---- Taking a section out -----------------------------------------------------

TEST(XmlDelete, TakesTheChildOutAtOnceAndRefusesAnyOther) {
    Document document;
    document.loadMemory("<r><old><x><y/></x></old><a><b/></a><keep/></r>", "r.xml");
    Node root = document.documentElement();
    const Node b = root.selectSingleNode("a/b");
    root.deleteChild(root.selectSingleNode("old"));
    EXPECT_EQ(root.selectNodes("old").length(), 0u);
    EXPECT_EQ(root.selectNodes("keep").length(), 1u);
    EXPECT_THAT(errorOf([&] { root.deleteChild(b); }), HasSubstr("no es hijo del elemento r"));
    EXPECT_THAT(errorOf([&] { root.deleteChild(Node()); }), HasSubstr("que no existe"));
    EXPECT_EQ(root.selectNodes("a/b").length(), 1u);  // the tree is as it was
}

// ---- Saving -----------------------------------------------------------------

struct RoundTripCase {
    const char* label;
    std::string bytes;
};

TEST(XmlSave, AnUntouchedDocumentIsWrittenBackByteForByte) {
    const std::vector<RoundTripCase> cases = {
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" +
                           latin1(exchangeBody(kAccented)) + "\n"},
        {"windows-1252 with euro",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n" + exchangeBody("\x80 \xF1") + "\n"},
        {"UTF-8 declared",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + exchangeBody(kAccented) + "\n"},
        {"UTF-8 without declaration", exchangeBody(kAccented) + "\n"},
        {"comments, PIs, CDATA and blanks",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- Delphos -->\n<?pi datos?>\n"
         "<SERVICIO a=\"1\">\n\t<SALIDAS>  <![CDATA[ x ]]> </SALIDAS>\n<vacio/>\n</SERVICIO>\n"},
        {"internal DTD",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!DOCTYPE SERVICIO "
         "[\n<!ELEMENT SERVICIO ANY>\n]>\n"
         "<SERVICIO/>\n"},
    };
    TempDir dir;
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.label);
        writeFile(dir / "entrada.xml", c.bytes);
        Document document;
        document.load(dir / "entrada.xml");
        document.save(dir / "salida.xml");
        EXPECT_EQ(readFile(dir / "salida.xml"), c.bytes);
    }
}

TEST(XmlSave, AttributesTheDtdDefaultsAreSeenButNotWritten) {
    const std::string bytes =
        "<!DOCTYPE SERVICIO [\n<!ATTLIST SALIDAS v CDATA \"1\">\n<!ATTLIST SALIDAS w CDATA "
        "#IMPLIED>\n"
        "<!ATTLIST listasal seq CDATA \"MATERIAS\">\n]>\n"
        "<SERVICIO><SALIDAS w=\"2\"><listasal><listasal/></listasal></SALIDAS></SERVICIO>\n";
    Document document;
    document.loadMemory(bytes, "d.xml");
    EXPECT_EQ(
        document.selectNodes("/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal").length(),
        1u);
    EXPECT_EQ(document.documentElement().selectSingleNode("SALIDAS").attribute("v"), "1");
    TempDir dir;
    document.save(dir / "d.xml");
    EXPECT_EQ(readFile(dir / "d.xml"), bytes);
    EXPECT_EQ(document.documentElement().selectSingleNode("SALIDAS").attribute("v"), "1");
}

// What XML itself does not keep: line ends are read as LF, and a declaration
// without an encoding is written with the UTF-8 it stood for.
TEST(XmlSave, NormalisesOnlyWhatXmlDoesNotKeep) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<?xml version=\"1.0\"?>\r\n<a>\r\n<b>\xC3\xB1</b>\r\n</a>\r\n",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\n<b>\xC3\xB1</b>\n</a>\n"},
        {"<a x='1'>&#233;&gt;></a>", "<a x=\"1\">\xC3\xA9&gt;&gt;</a>\n"},
    };
    TempDir dir;
    for (const auto& [read, written] : cases) {
        SCOPED_TRACE(read);
        Document document;
        document.loadMemory(read, "a.xml");
        document.save(dir / "a.xml");
        EXPECT_EQ(readFile(dir / "a.xml"), written);
    }
}

TEST(XmlSave, KeepsTheDeclaredEncodingAndTheRestOfTheDocument) {
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO>\n"
        "<CABECERA>" +
        latin1("Castañeda") + "</CABECERA>\n";
    TempDir dir;
    writeFile(dir / "entrada.xml", head + "<SALIDAS><x/></SALIDAS>\n</SERVICIO>\n");
    Document document;
    document.load(dir / "entrada.xml");
    Node root = document.documentElement();
    root.deleteChild(root.selectSingleNode("SALIDAS"));
    StreamedSave save(document, dir / "salida.xml");
    save.start("SALIDAS");
    save.start("salida", "dato", "TE_ERROR");
    save.text("Educación € <ok>");  // € does not exist in ISO-8859-1
    save.end();
    save.end();
    save.commit();

    const std::string saved = readFile(dir / "salida.xml");
    EXPECT_EQ(saved, head + "\n" +
                         "<SALIDAS><salida dato=\"TE_ERROR\">Educaci\xF3n &#8364; "
                         "&lt;ok&gt;</salida></SALIDAS></SERVICIO>\n");
    Document reread;
    reread.load(dir / "salida.xml");
    EXPECT_EQ(reread.selectNodes("/SERVICIO/SALIDAS/salida").item(0).text(), "Educación € <ok>");
}

TEST(XmlSave, AUtf16DocumentIsSavedSoItReadsBackTheSame) {
    TempDir dir;
    writeFile(
        dir / "entrada.xml",
        utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + exchangeBody(kAccented), false));
    Document document;
    document.load(dir / "entrada.xml");
    document.save(dir / "salida.xml");
    EXPECT_THAT(readFile(dir / "salida.xml"), StartsWith(utf16("<?xml", false)));
    Document reread;
    reread.load(dir / "salida.xml");
    EXPECT_EQ(reread.documentElement().text(), kAccented);
}

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(XmlSave, AFailedSaveLeavesNoPartialFile) {
    TempDir dir;
    Document document;
    document.loadMemory("<r>datos</r>", "r.xml");
    std::filesystem::create_directory(dir / "carpeta");
    writeFile(dir / "carpeta" / "dentro.txt", "x");

    EXPECT_THAT(errorOf([&] { document.save(dir / "no-existe" / "r.xml"); }),
                HasSubstr((dir / "no-existe" / "r.xml").string()));
    EXPECT_THAT(errorOf([&] { document.save(dir / "carpeta"); }),
                HasSubstr((dir / "carpeta").string()));
    EXPECT_THAT(filesIn(dir.path()), ::testing::ElementsAre("carpeta"));
    EXPECT_THAT(filesIn(dir / "carpeta"), ::testing::ElementsAre("dentro.txt"));

    Document never;
    EXPECT_THAT(errorOf([&] { never.save(dir / "r.xml"); }), HasSubstr("No hay ningún documento"));
}

// The file-size limit makes the disk refuse the write half-way, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(XmlSave, AWriteThatFailsHalfWayLeavesTheEarlierFileAsItWas) {
    TempDir dir;
    const auto target = dir / "resultado.xml";
    writeFile(target, "<anterior/>");
    Document document;
    document.loadMemory("<r>" + std::string(100000, 'x') + "</r>", "r.xml");
    std::string message;
    {
        FileSizeLimit limit(4096);
        message = errorOf([&] { document.save(target); });
    }
    EXPECT_THAT(message, HasSubstr(target.string()));
    EXPECT_EQ(readFile(target), "<anterior/>");
    EXPECT_THAT(filesIn(dir.path()), ::testing::ElementsAre("resultado.xml"));
    document.save(target);  // and without the limit it works, replacing the file
    EXPECT_EQ(readFile(target).size(), std::string("<r></r>\n").size() + 100000);
}

}  // namespace
}  // namespace mirvane::xml
