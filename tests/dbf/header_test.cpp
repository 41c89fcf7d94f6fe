#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/error.h"
#include "dbf/reader.h"
#include "dbf/test_tables.h"

namespace mirvane::dbf {
namespace {

using ::testing::HasSubstr;
using testing::RawTable;

RawTable sample() {
    RawTable table;
    table.fields = {{"PROF", 'C', 6}, {"DIA", 'N', 2}};
    table.records = {" ANA    1", "*LUIS   2", " EVA    3"};
    return table;
}

std::vector<std::string> profs(const StoredRows& rows) {
    std::vector<std::string> out;
    const FieldDescriptor* prof = rows.find("PROF");
    for (std::uint32_t n : rows.visible()) out.push_back(rows.value(*prof, rows.record(n)).text());
    return out;
}

std::string damage(const RawTable& table) {
    try {
        StoredRows rows(table.bytes(), "/t/SOLUC.DBF");
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(DbfHeader, TolerableFaultsReadTheRowsPresent) {
    struct Case {
        const char* what;
        void (*change)(RawTable&);
    } cases[] = {
        {"as written", [](RawTable&) {}},
        {"no terminator", [](RawTable& t) { t.terminator = false; }},
        {"extra byte after terminator",
         [](RawTable& t) { t.afterTerminator = std::string(1, '\0'); }},
        {"no end marker", [](RawTable& t) { t.endMarker = false; }},
        {"count smaller than records (extra dropped)",
         [](RawTable& t) {
             t.records.push_back(" OTRO   4");
             t.count = 3;
         }},
        {"unknown version with dBase III layout", [](RawTable& t) { t.version = 0x07; }},
        {"FoxPro with memo", [](RawTable& t) { t.version = 0xF5; }},
        {"dBase IV", [](RawTable& t) { t.version = 0x04; }},
        {"Visual FoxPro with backlink",
         [](RawTable& t) {
             t.version = 0x30;
             t.afterTerminator = std::string(263, '\0');
         }},
        {"dBase 7",
         [](RawTable& t) {
             t.version = 0x04;
             t.dBase7 = true;
         }},
    };
    for (const Case& c : cases) {
        RawTable table = sample();
        c.change(table);
        StoredRows rows(table.bytes(), "/t/SOLUC.DBF");
        EXPECT_EQ(profs(rows), (std::vector<std::string>{"ANA", "EVA"})) << c.what;
    }
}

TEST(DbfHeader, ALongerRecordThanTheFieldsNeedIsRead) {
    RawTable table = sample();
    table.recordLength = 12;
    table.records = {" ANA    1XYZ", " EVA    3XYZ"};
    StoredRows rows(table.bytes(), "/t/SOLUC.DBF");
    EXPECT_EQ(profs(rows), (std::vector<std::string>{"ANA", "EVA"}));
    EXPECT_EQ(rows.value(*rows.find("DIA"), rows.record(1)).integer(), 3);
}

TEST(DbfHeader, DamagedFilesFailNamingTheFileAndTheFault) {
    struct Case {
        const char* fault;
        void (*change)(RawTable&, std::string&);
    } cases[] = {
        {"cabecera está incompleta", [](RawTable&, std::string& b) { b.resize(20); }},
        {"cabecera dice ocupar", [](RawTable&, std::string& b) { b.resize(40); }},
        {"solo contiene 1", [](RawTable&, std::string& b) { b.resize(b.size() - 12); }},
        {"cuenta 9 registros",
         [](RawTable& t, std::string& b) {
             t.count = 9;
             b = t.bytes();
         }},
        {"sus campos ocupan",
         [](RawTable& t, std::string& b) {
             t.recordLength = 5;
             b = t.bytes();
         }},
        {"longitud cero",
         [](RawTable& t, std::string& b) {
             t.fields[1].width = 0;
             b = t.bytes();
         }},
        {"no termina donde debe",
         [](RawTable& t, std::string& b) {
             t.fields[0].name = "ABCDEFGHIJK";
             b = t.bytes();
         }},
        {"no tiene nombre",
         [](RawTable& t, std::string& b) {
             t.fields[0].name = "";
             b = t.bytes();
         }},
        {"tipo desconocido",
         [](RawTable& t, std::string& b) {
             t.fields[0].type = 'Z';
             b = t.bytes();
         }},
        {"longitud imposible",
         [](RawTable& t, std::string& b) {
             t.fields[1] = {"N", 'I', 2};
             b = t.bytes();
         }},
        {"no tiene campos",
         [](RawTable& t, std::string& b) {
             t.fields.clear();
             t.records.clear();
             t.recordLength = 2;
             b = t.bytes();
         }},
        {"longitud de sus registros",
         [](RawTable& t, std::string& b) {
             t.recordLength = 0;
             b = t.bytes();
         }},
        {"versión 0x07",
         [](RawTable& t, std::string& b) {
             t.version = 0x07;
             t.fields[0].type = 'Z';
             b = t.bytes();
         }},
    };
    for (const Case& c : cases) {
        RawTable table = sample();
        std::string bytes = table.bytes();
        c.change(table, bytes);
        std::string message;
        try {
            StoredRows rows(bytes, "/t/SOLUC.DBF");
        } catch (const Error& error) {
            message = error.what();
        }
        EXPECT_THAT(message, HasSubstr("/t/SOLUC.DBF")) << c.fault;
        EXPECT_THAT(message, HasSubstr(c.fault)) << message;
    }
    EXPECT_EQ(damage(sample()), "(no error)");
}

TEST(DbfHeader, EncodedHeaderParsesBackToTheSameFields) {
    Layout layout;
    layout.fields = {{"COD", 'C', 0, 10}, {"HORAS", 'N', 0, 19, 9}, {"ESTAREA", 'L', 0, 1}};
    std::string bytes = encodeHeader(layout, 2026, 12, 8) + "\x1A";
    const Layout parsed = parseLayout(bytes, "x.dbf");
    ASSERT_EQ(parsed.fields.size(), 3u);
    EXPECT_EQ(parsed.fields[1].name, "HORAS");
    EXPECT_EQ(parsed.fields[1].offset, 11u);
    EXPECT_EQ(parsed.fields[1].decimals, 9);
    EXPECT_EQ(parsed.recordLength, 31u);
    EXPECT_EQ(bytes[1], 126);
}

}  // namespace
}  // namespace mirvane::dbf
