#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/error.h"
#include "dbf/reader.h"
#include "dbf/test_tables.h"

namespace mirvane::dbf {
namespace {

using testing::le;
using testing::RawTable;

struct Read {
    std::string text;
    std::string integer;  // the number, or the error message
    double number = 0;
};

// One field of one row, read every way.
Read readField(std::uint8_t version, testing::RawField field, const std::string& stored) {
    RawTable table;
    table.version = version;
    table.fields = {field};
    table.records = {" " + stored};
    if (version == 0x30) table.afterTerminator = std::string(263, '\0');
    StoredRows rows(table.bytes(), "t.dbf");
    const FieldValue value = rows.value(rows.layout().fields[0], rows.record(0));
    Read read;
    read.text = value.text();
    try {
        read.integer = std::to_string(value.integer());
    } catch (const Error& error) {
        read.integer = error.what();
    }
    try {
        read.number = value.number();
    } catch (const Error&) {
        read.number = -999;
    }
    return read;
}

TEST(DbfField, EveryTypeReadsAsTextIntegerAndNumber) {
    struct Case {
        std::uint8_t version;
        testing::RawField field;
        std::string stored;
        Read expected;
    } cases[] = {
        {0x03, {"C", 'C', 6}, "  AB  ", {"  AB", "'  AB' is not a valid integer value", -999}},
        {0x03, {"C", 'C', 3}, " 1 ", {" 1", "1", 1}},
        {0x03, {"C", 'C', 3}, "   ", {"", "'' is not a valid integer value", -999}},
        {0x03,
         {"C", 'C', 3},
         std::string("A\0\0", 3),
         {"A", "'A' is not a valid integer value", -999}},
        {0x03, {"N", 'N', 4}, "  12", {"12", "12", 12}},
        {0x03, {"N", 'N', 4}, "    ", {"", "0", 0}},
        {0x03, {"N", 'N', 4}, "****", {"", "0", 0}},
        {0x03, {"N", 'N', 4}, std::string("\0\0\0\0", 4), {"", "0", 0}},
        {0x03, {"N", 'N', 4}, "  . ", {"", "0", 0}},
        {0x03, {"N", 'N', 4}, " 1a ", {"1a", "'1a' is not a valid integer value", -999}},
        // With decimals, the number's shortest text (a DIA stored as N(5,2)).
        {0x03, {"N", 'N', 5, 2}, " 1.00", {"1", "1", 1}},
        {0x03, {"N", 'N', 6, 2}, "  2.50", {"2.5", "3", 2.5}},
        {0x03, {"N", 'N', 6, 2}, " -0.00", {"0", "0", 0}},
        {0x03, {"N", 'N', 6, 2}, "      ", {"", "0", 0}},
        {0x03, {"N", 'N', 6, 2}, " 1a.00", {"1a.00", "'1a.00' is not a valid integer value", -999}},
        {0x03, {"N", 'N', 5, 0}, "  007", {"007", "7", 7}},
        {0x03, {"F", 'F', 6, 2}, " -1.25", {"-1.25", "-1", -1.25}},
        {0x03, {"F", 'F', 8, 3}, "   3.000", {"3", "3", 3}},
        {0x03, {"L", 'L', 1}, "y", {"T", "'T' is not a valid integer value", -999}},
        {0x03, {"L", 'L', 1}, "?", {"", "'' is not a valid integer value", -999}},
        {0x03, {"D", 'D', 8}, "20261208", {"20261208", "20261208", 20261208}},
        {0x03, {"D", 'D', 8}, "        ", {"", "'' is not a valid integer value", -999}},
        {0x83, {"M", 'M', 10}, "        12", {"12", "12", 12}},
        {0x30, {"I", 'I', 4}, le<std::int32_t>(-7), {"-7", "-7", -7}},
        {0x30, {"A", '+', 4}, le<std::int32_t>(42), {"42", "42", 42}},
        {0x30, {"B", 'B', 8}, le<double>(2.5), {"2.5", "3", 2.5}},
        {0x30, {"O", 'O', 8}, le<double>(-0.5), {"-0.5", "-1", -0.5}},
        {0x30, {"Y", 'Y', 8}, le<std::int64_t>(123400), {"12.34", "12", 12.34}},
        {0x30,
         {"T", 'T', 8},
         le<std::uint32_t>(2461042) + le<std::uint32_t>(3723000),
         {"2026-01-01 01:02:03", "'2026-01-01 01:02:03' is not a valid integer value", -999}},
        {0x30, {"T", 'T', 8}, std::string(8, '\0'), {"", "'' is not a valid integer value", -999}},
        {0x30, {"M", 'M', 4}, le<std::uint32_t>(9), {"9", "9", 9}},
        {0x30, {"M", 'M', 4}, le<std::uint32_t>(0), {"", "'' is not a valid integer value", -999}},
    };
    for (const Case& c : cases) {
        const Read read = readField(c.version, c.field, c.stored);
        EXPECT_EQ(read.text, c.expected.text) << c.field.type << " " << c.stored;
        EXPECT_EQ(read.integer, c.expected.integer) << c.field.type << " " << c.stored;
        EXPECT_DOUBLE_EQ(read.number, c.expected.number) << c.field.type << " " << c.stored;
    }
}

TEST(DbfField, DBase7BinaryNumbersAreBigEndianWithTheSignFlipped) {
    RawTable table;
    table.version = 0x04;
    table.dBase7 = true;
    table.fields = {{"I", 'I', 4}, {"O", 'O', 8}};
    // 5 as 0x80000005; 1.0 is 0x3FF0... with the sign bit set.
    table.records = {std::string(" \x80\x00\x00\x05", 5) + std::string("\xBF\xF0\0\0\0\0\0\0", 8)};
    StoredRows rows(table.bytes(), "t.dbf");
    EXPECT_EQ(rows.layout().dialect, Dialect::dBase7);
    EXPECT_EQ(rows.value(rows.layout().fields[0], rows.record(0)).integer(), 5);
    EXPECT_EQ(rows.value(rows.layout().fields[1], rows.record(0)).number(), 1.0);
}

TEST(DbfField, VisualFoxProNullsAndVarcharLengthsComeFromNullFlags) {
    RawTable table;
    table.version = 0x30;
    table.afterTerminator = std::string(263, '\0');
    // V uses bit 0 (shorter than its width), N nullable bit 1, C nullable bit 2.
    table.fields = {{"V", 'V', 5, 0, 0},
                    {"N", 'N', 3, 0, 0x02},
                    {"C", 'C', 2, 0, 0x02},
                    {"_NullFlags", '0', 1, 0, 0x05}};
    table.records = {std::string(" AB\0\0\x02  7XY\x07", 12), std::string(" ABCDE  7XY\x00", 12)};
    StoredRows rows(table.bytes(), "t.dbf");
    const auto& f = rows.layout().fields;
    EXPECT_EQ(rows.value(f[0], rows.record(0)).text(), "AB");
    EXPECT_EQ(rows.value(f[1], rows.record(0)).text(), "");
    EXPECT_EQ(rows.value(f[1], rows.record(0)).integer(), 0);
    EXPECT_EQ(rows.value(f[2], rows.record(0)).text(), "");
    EXPECT_EQ(rows.value(f[0], rows.record(1)).text(), "ABCDE");
    EXPECT_EQ(rows.value(f[1], rows.record(1)).integer(), 7);
    EXPECT_EQ(rows.value(f[2], rows.record(1)).text(), "XY");
    EXPECT_EQ(rows.find("_NullFlags"), nullptr);
}

TEST(DbfField, TextOfOtherCodePagesIsConvertedToWindows1252) {
    struct Case {
        std::uint8_t driver;
        std::string stored;
        std::string expected;
    } cases[] = {
        {0x57, "\xD1", "\xD1"},   // cp1252 as it is
        {0x00, "\xD1", "\xD1"},   // unknown: cp1252
        {0x02, "\xA5", "\xD1"},   // cp850 Ñ
        {0x01, "\xA4", "\xF1"},   // cp437 ñ
        {0x65, "\x80", "?"},      // cp866 Cyrillic А has no cp1252 form
        {0xC8, "\x8A", "\x8A"},   // cp1250 Š
        {0x7B, "\x82\xA0", "?"},  // cp932 Hiragana
    };
    for (const Case& c : cases) {
        RawTable table;
        table.languageDriver = c.driver;
        table.fields = {{"C", 'C', static_cast<int>(c.stored.size())}};
        table.records = {" " + c.stored};
        StoredRows rows(table.bytes(), "t.dbf");
        EXPECT_EQ(rows.value(rows.layout().fields[0], rows.record(0)).text(), c.expected)
            << int(c.driver);
    }
}

}  // namespace
}  // namespace mirvane::dbf
