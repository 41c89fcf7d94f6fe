#include "formats/exchange.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"

namespace mirvane::formats {
namespace {

ExchangeRecords read(const std::string& text) {
    return ExchangeRecords::readMemory(text, "prueba.xml");
}

// A document whose one TRAMOS record holds `fields`, after `prolog`.
ExchangeRecords oneRecord(const std::string& fields, const std::string& prolog = "") {
    return read(prolog + "<SERVICIO><SALIDAS><listasal seq=\"TRAMOS\"><listasal>" + fields +
                "</listasal></listasal></SALIDAS></SERVICIO>");
}

TEST(SectionPath, IsTheDocumentedExpression) {
    EXPECT_EQ(sectionPath(kMaterias), "/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
    EXPECT_EQ(sectionPath(kTramos), "/SERVICIO/SALIDAS/listasal[@seq=\"TRAMOS\"]/listasal");
}

TEST(SectionRecords, EveryMatchingSectionInDocumentOrder) {
    // Elements in a namespace are not the ones the paths name; neither is a
    // seq attribute in one, nor an element nested deeper.
    const auto exchange = read(
        "<SERVICIO xmlns:o=\"urn:otro\"><SALIDAS>"
        "<listasal seq=\"AULAS\"><listasal><salida>1</salida></listasal></listasal>"
        "<listasal seq=\"GRUPOS\"><listasal><salida>x</salida></listasal></listasal>"
        "<listasal seq=\"AULAS\"><listasal><salida>2</salida></listasal>"
        "<listasal><salida>3</salida></listasal><o:listasal><salida>no</salida></o:listasal>"
        "<otro><listasal><salida>no</salida></listasal></otro></listasal>"
        "<listasal seq=\"aulas\"><listasal><salida>no</salida></listasal></listasal>"
        "<listasal o:seq=\"AULAS\"><listasal><salida>no</salida></listasal></listasal>"
        "</SALIDAS><SALIDAS><listasal seq=\"AULAS\"><listasal><salida>4</salida></listasal>"
        "</listasal></SALIDAS><SALIDAS xmlns=\"urn:otro\"><listasal seq=\"AULAS\"><listasal>"
        "<salida>no</salida></listasal></listasal></SALIDAS></SERVICIO>");
    const SectionRecords records = exchange.section(kAulas);
    std::string values;
    for (std::size_t i = 0; i < records.length(); ++i) values += fieldValue(records.item(i), 0);
    EXPECT_EQ(values, "1234");
    EXPECT_EQ(exchange.section(kTramos).length(), 0u);
}

TEST(SectionRecords, OnlyTheSalidaChildren) {
    const auto exchange = oneRecord(
        "<salida>a</salida><otro>b</otro><grupo><salida>c</salida></grupo><salida>d</salida>"
        "<o:salida xmlns:o=\"urn:otro\">e</o:salida>");
    const Record record = exchange.section(kTramos).item(0);
    ASSERT_EQ(record.fields(), 2u);
    EXPECT_EQ(fieldValue(record, 1), "d");
}

TEST(FieldValue, TrimmedConvertedAndConcatenated) {
    const struct {
        const char* xml;
        const char* value;  // UTF-8
    } cases[] = {
        {"<salida>  G12 \t</salida>", "G12"},
        {"<salida>\n\r Matemáticas  Aplicadas \n</salida>", "Matemáticas  Aplicadas"},
        {"<salida/>", ""},
        {"<salida>   </salida>", ""},
        {"<salida>MA<b>Ñ</b>ANA</salida>", "MAÑANA"},
        {"<salida> <b>x</b> <!-- no --><?pi no?>y </salida>", "x y"},
        {"<salida>&lt;1&amp;2&gt;&#65;</salida>", "<1&2>A"},
        {"<salida><![CDATA[ x ]]></salida>", "x"},
        {"<salida>€ 5</salida>", "€ 5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldValue(oneRecord(c.xml).section(kTramos).item(0), 0), text::fromUtf8(c.value))
            << c.xml;
}

TEST(FieldValue, EveryEncodingADocumentMayDeclare) {
    const std::string fields =
        "<salida>Espa\xF1"
        "a \x80</salida>";  // Windows-1252
    const std::string utf16 = std::string("\xFF\xFE", 2) + [] {
        std::string out;
        for (char c : std::string("<SERVICIO><SALIDAS><listasal seq=\"TRAMOS\"><listasal>"
                                  "<salida>Espa\xF1"
                                  "a \xAC</salida></listasal></listasal>"
                                  "</SALIDAS></SERVICIO>"))
            out += c == '\xAC' ? std::string("\xAC\x20", 2) : std::string(1, c) + '\0';
        return out;
    }();
    const struct {
        std::string prolog;
        std::string fields;
        const char* value;  // UTF-8
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", fields, "España €"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>",
         "<salida>Espa\xF1"
         "a \xA4</salida>",
         "España €"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
         "<salida>Espa\xF1"
         "a</salida>",
         "España"},
        {"\xEF\xBB\xBF", "<salida>España €</salida>", "España €"},
        {"", "<salida>España €</salida>", "España €"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldValue(oneRecord(c.fields, c.prolog).section(kTramos).item(0), 0),
                  text::fromUtf8(c.value))
            << c.prolog;
    EXPECT_EQ(fieldValue(read(utf16).section(kTramos).item(0), 0), text::fromUtf8("España €"));
}

TEST(FieldLabel, AsWrittenOrNothing) {
    const auto exchange = oneRecord(
        "<salida dato=\" NOMBRE \">x</salida><salida>y</salida><salida dato=\"AÑO\">z</salida>");
    const Record record = exchange.section(kTramos).item(0);
    EXPECT_EQ(fieldLabel(record, 0), " NOMBRE ");
    EXPECT_EQ(fieldLabel(record, 1), std::nullopt);
    EXPECT_EQ(fieldLabel(record, 2), text::fromUtf8("AÑO"));
}

TEST(ExchangeRecords, AttributesTheDtdDefaultsCountAsWritten) {
    // Read in one pass, and through the DOM where the document declares an entity.
    for (const std::string entity : {"", "<!ENTITY e \"e\">"}) {
        const auto exchange = read(
            "<!DOCTYPE SERVICIO [<!ATTLIST listasal seq CDATA \"TRAMOS\">"
            "<!ATTLIST salida dato CDATA \"DIA\">" +
            entity +
            "]><SERVICIO><SALIDAS><listasal><listasal><salida>1</salida>"
            "<salida dato=\"NOMBRE\">x</salida></listasal></listasal>"
            "<listasal seq=\"AULAS\"><listasal><salida>a</salida></listasal></listasal>"
            "</SALIDAS></SERVICIO>");
        const SectionRecords tramos = exchange.section(kTramos);
        ASSERT_EQ(tramos.length(), 1u) << entity;
        EXPECT_EQ(fieldLabel(tramos.item(0), 0), "DIA") << entity;
        EXPECT_EQ(fieldLabel(tramos.item(0), 1), "NOMBRE") << entity;
        EXPECT_EQ(exchange.section(kAulas).length(), 1u) << entity;
    }
}

TEST(ExchangeRecords, DocumentsDeclaringEntitiesReadAsTheDomReadsThem) {
    const auto exchange = oneRecord("<salida dato=\"&d;\">&v;</salida><salida>&v;&v;</salida>",
                                    "<!DOCTYPE SERVICIO [<!ENTITY v \" L&#49;<b>2</b>\">"
                                    "<!ENTITY d \"DIA\">]>");
    const Record record = exchange.section(kTramos).item(0);
    ASSERT_EQ(record.fields(), 2u);
    EXPECT_EQ(fieldValue(record, 0), "L12");
    EXPECT_EQ(fieldLabel(record, 0), "DIA");
    EXPECT_EQ(fieldValue(record, 1), "L12 L12");
}

TEST(ExchangeRecords, RefusalsAreTheLoads) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"", "El archivo prueba.xml está vacío: no es un documento XML válido"},
        {"<SERVICIO><SALIDAS></SERVICIO>",
         "El archivo prueba.xml no es un documento XML válido (línea 1, columna 31): la etiqueta "
         "de cierre </SERVICIO> no corresponde a <SALIDAS>, abierta en la línea 1"},
        // The DOM's words too: libxml2 reads a comment alike on both paths.
        {"<S><!--k--\"M--></S>",
         "El archivo prueba.xml no es un documento XML válido (línea 1, columna 9): un "
         "comentario contiene «--» antes de su final («-->»)"},
        {"<!DOCTYPE S [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><S>&e;</S>",
         "El archivo prueba.xml hace referencia a un recurso externo («file:///etc/passwd»), que "
         "no se lee por seguridad"},
    };
    for (const auto& c : cases) {
        try {
            read(c.text);
            ADD_FAILURE() << c.text;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(Conventions, TaskSubjectsAndEmptyLevel) {
    EXPECT_TRUE(isTaskSubject("G439"));
    EXPECT_FALSE(isTaskSubject("g439"));
    EXPECT_FALSE(isTaskSubject(""));
    EXPECT_FALSE(isTaskSubject(" G439"));  // values are trimmed before
    EXPECT_EQ(levelOrNiv(""), "NIV");
    EXPECT_EQ(levelOrNiv("ESO"), "ESO");
}

}  // namespace
}  // namespace mirvane::formats
