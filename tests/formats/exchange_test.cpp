#include "formats/exchange.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace mirvane::formats {
namespace {

std::unique_ptr<xml::Document> parse(const std::string& text) {
    auto document = std::make_unique<xml::Document>();
    document->loadMemory(text, "prueba.xml");
    return document;
}

TEST(SectionPath, IsTheDocumentedExpression) {
    EXPECT_EQ(sectionPath(kMaterias), "/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
    EXPECT_EQ(sectionPath(kTramos), "/SERVICIO/SALIDAS/listasal[@seq=\"TRAMOS\"]/listasal");
}

TEST(SectionRecords, EveryMatchingSectionInDocumentOrder) {
    const auto document = parse(
        "<SERVICIO><SALIDAS>"
        "<listasal seq=\"AULAS\"><listasal><salida>1</salida></listasal></listasal>"
        "<listasal seq=\"GRUPOS\"><listasal><salida>x</salida></listasal></listasal>"
        "<listasal seq=\"AULAS\"><listasal><salida>2</salida></listasal>"
        "<listasal><salida>3</salida></listasal></listasal>"
        "<listasal seq=\"aulas\"><listasal><salida>no</salida></listasal></listasal>"
        "</SALIDAS><SALIDAS><listasal seq=\"AULAS\"><listasal><salida>4</salida></listasal>"
        "</listasal></SALIDAS></SERVICIO>");
    const xml::NodeList records = sectionRecords(*document, kAulas);
    std::string values;
    for (std::size_t i = 0; i < records.length(); ++i)
        values += fieldValue(recordFields(records.item(i)).item(0));
    EXPECT_EQ(values, "1234");
    EXPECT_EQ(sectionRecords(*document, kTramos).length(), 0u);
}

TEST(RecordFields, OnlyTheSalidaChildren) {
    const auto document = parse(
        "<SERVICIO><SALIDAS><listasal seq=\"AULAS\"><listasal><salida>a</salida><otro>b</otro>"
        "<grupo><salida>c</salida></grupo><salida>d</salida></listasal></listasal></SALIDAS>"
        "</SERVICIO>");
    const xml::NodeList fields = recordFields(sectionRecords(*document, kAulas).item(0));
    ASSERT_EQ(fields.length(), 2u);
    EXPECT_EQ(fieldValue(fields.item(1)), "d");
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
        {"<salida>&lt;1&amp;2&gt;</salida>", "<1&2>"},
        {"<salida><![CDATA[ x ]]></salida>", "x"},
        {"<salida>€ 5</salida>", "€ 5"},
    };
    for (const auto& c : cases) {
        const auto document = parse(std::string("<SERVICIO>") + c.xml + "</SERVICIO>");
        const xml::Node field = document->documentElement().selectSingleNode("salida");
        EXPECT_EQ(fieldValue(field), text::fromUtf8(c.value)) << c.xml;
    }
}

TEST(FieldValue, DocumentInIso88591) {
    const auto document = parse(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO><salida>Espa\xF1"
        "a</salida></SERVICIO>");
    EXPECT_EQ(fieldValue(document->documentElement().selectSingleNode("salida")),
              "Espa\xF1"
              "a");
}

TEST(FieldLabel, AsWrittenOrNothing) {
    const auto document = parse(
        "<SERVICIO><salida dato=\" NOMBRE \">x</salida><salida>y</salida>"
        "<salida dato=\"AÑO\">z</salida></SERVICIO>");
    const xml::NodeList fields = document->documentElement().selectNodes("salida");
    EXPECT_EQ(fieldLabel(fields.item(0)), " NOMBRE ");
    EXPECT_EQ(fieldLabel(fields.item(1)), std::nullopt);
    EXPECT_EQ(fieldLabel(fields.item(2)), text::fromUtf8("AÑO"));
}

TEST(AppendField, WritesLabelAndValueAsGiven) {
    const auto document = parse("<SERVICIO/>");
    xml::Node root = document->documentElement();
    appendField(*document, root, kTeError, text::fromUtf8(" Año 2º "));
    const xml::Node field = root.selectSingleNode("salida");
    EXPECT_EQ(field.attribute("dato"), "TE_ERROR");
    EXPECT_EQ(field.text(), " Año 2º ");
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
