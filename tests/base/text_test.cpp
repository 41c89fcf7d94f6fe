#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"

namespace mirvane::text {
namespace {

struct Conversion {
    std::string utf8;
    std::string cp1252;
};

class Utf8ToCp1252 : public ::testing::TestWithParam<Conversion> {};

TEST_P(Utf8ToCp1252, ConvertsBothWays) {
    EXPECT_EQ(fromUtf8(GetParam().utf8), GetParam().cp1252);
    EXPECT_EQ(toUtf8(GetParam().cp1252), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Utf8ToCp1252,
    ::testing::Values(Conversion{"", ""}, Conversion{"ABC 123", "ABC 123"},
                      Conversion{"Mañana",
                                 "Ma\xF1"
                                 "ana"},
                      Conversion{"ÁÉÍÓÚÑÜ", "\xC1\xC9\xCD\xD3\xDA\xD1\xDC"},
                      Conversion{"áéíóúñüç", "\xE1\xE9\xED\xF3\xFA\xF1\xFC\xE7"},
                      Conversion{
                          "€ “quoted” – ‰ Œ œ Š š Ž ž Ÿ ƒ",
                          "\x80 \x93quoted\x94 \x96 \x89 \x8C \x9C \x8A \x9A \x8E \x9E \x9F \x83"},
                      Conversion{"ºª¿¡", "\xBA\xAA\xBF\xA1"}, Conversion{"\xC3\xBF", "\xFF"}));

TEST(Utf8ToCp1252, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(fromUtf8("Ω"), "?");          // Greek
    EXPECT_EQ(fromUtf8("a→b"), "a?b");      // arrow, three bytes
    EXPECT_EQ(fromUtf8("x😀y"), "x?y");      // four bytes
    EXPECT_EQ(fromUtf8("\xFF\xFE"), "??");  // not UTF-8 at all
    EXPECT_EQ(fromUtf8("a\xC3"), "a?");     // cut sequence
    EXPECT_EQ(fromUtf8("\xC3(x"), "?(x");   // bad continuation
}

TEST(DecodeUtf8, CharactersMalformedAndCutShortSequences) {
    const struct {
        std::string_view bytes;
        char32_t codePoint;
        std::size_t length;
    } cases[] = {
        {"A", U'A', 1},
        {"\xC3\xB1x", U'ñ', 2},
        {"\xE2\x82\xAC", U'€', 3},
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        {"\x80", kMalformed, 1},              // a stray continuation byte
        {"\xC3x", kMalformed, 1},             // a missing one
        {"\xC1\x81", kMalformed, 1},          // an overlong 'A'
        {"\xE0\x80\x80", kMalformed, 1},      // an overlong NUL
        {"\xED\xA0\x80", kMalformed, 1},      // a surrogate
        {"\xF4\x90\x80\x80", kMalformed, 1},  // beyond U+10FFFF
        {"\xF5\x80\x80\x80", kMalformed, 1},
        {"\xE2\x82", kMalformed, 0},  // cut short by the end
    };
    for (const auto& c : cases) {
        const Decoded decoded = decodeUtf8(c.bytes);
        EXPECT_EQ(decoded.codePoint, c.codePoint) << c.bytes;
        EXPECT_EQ(decoded.length, c.length) << c.bytes;
    }
}

TEST(Utf16, SurrogatePairsAndLoneSurrogates) {
    EXPECT_EQ(utf8ToUtf16("a\xC3\xB1\xF0\x9F\x98\x80"), u"añ\U0001F600");
    EXPECT_EQ(utf16ToUtf8(u"añ\U0001F600"), "a\xC3\xB1\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8ToUtf16("a\xFF"
                          "b\xE2\x82"),
              u"a\uFFFDb\uFFFD\uFFFD");
    const char16_t lone[] = {u'a', 0xD83D, u'b', 0xDE00, 0xD83D};
    EXPECT_EQ(utf16ToUtf8(std::u16string_view(lone, 5)),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(toUtf16("\x80\xF1"), u"€ñ");
}

TEST(ValidUtf8, KeepsCharactersAndMarksEveryOtherByte) {
    EXPECT_EQ(validUtf8("a\xC3\xB1\xC3(\xC1\x81"), "a\xC3\xB1?(??");
    EXPECT_EQ(validUtf8(std::string_view("a\0b", 3)), "a?b");
}

TEST(Trim, DropsCodes32AndBelowAtBothEnds) {
    EXPECT_EQ(trim("  G12 \t"), "G12");
    EXPECT_EQ(trim("\r\n\x01 A B \x1F"), "A B");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is above 32
    EXPECT_TRUE(isBlank(" \t\r\n"));
    EXPECT_FALSE(isBlank(" . "));
}

TEST(EqualsIgnoreCase, ComparesWindows1252Letters) {
    EXPECT_TRUE(equalsIgnoreCase("ab1", "AB1"));
    EXPECT_TRUE(equalsIgnoreCase("\xF1", "\xD1"));          // ñ Ñ
    EXPECT_TRUE(equalsIgnoreCase("caf\xE9", "CAF\xC9"));    // é É
    EXPECT_TRUE(equalsIgnoreCase("\x9A\xFF", "\x8A\x9F"));  // š ÿ
    EXPECT_FALSE(equalsIgnoreCase("ab1", "ab2"));
    EXPECT_FALSE(equalsIgnoreCase("ab", "ab "));
    EXPECT_FALSE(equalsIgnoreCase("\xF7", "\xD7"));  // ÷ and × are not letters
}

struct IntCase {
    std::string text;
    std::int32_t value;
    Digits digits = Digits::Decimal;
};

class ToIntAccepts : public ::testing::TestWithParam<IntCase> {};

TEST_P(ToIntAccepts, ReadsTheNumber) {
    EXPECT_EQ(toInt(GetParam().text, GetParam().digits), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Text, ToIntAccepts,
    ::testing::Values(IntCase{"0", 0}, IntCase{"42", 42}, IntCase{"   7", 7}, IntCase{"+5", 5},
                      IntCase{"-90", -90}, IntCase{" -0012", -12},
                      IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", -2147483647 - 1},
                      IntCase{"$1A2B", 0x1A2B, Digits::DecimalOrHex},
                      IntCase{"$ff", 255, Digits::DecimalOrHex},
                      IntCase{"$7FFFFFFF", 2147483647, Digits::DecimalOrHex},
                      IntCase{"$FFFFFFFF", -1, Digits::DecimalOrHex},
                      IntCase{"$80000000", -2147483647 - 1, Digits::DecimalOrHex},
                      IntCase{"42", 42, Digits::DecimalOrHex}));

struct RejectCase {
    std::string text;
    Digits digits = Digits::Decimal;
};

class ToIntRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ToIntRejects, RaisesTheConversionError) {
    const RejectCase& c = GetParam();
    try {
        toInt(c.text, c.digits);
        FAIL() << "accepted '" << c.text << "'";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "'" + c.text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Text, ToIntRejects,
    ::testing::Values(
        RejectCase{""}, RejectCase{" "}, RejectCase{"  "}, RejectCase{"+"}, RejectCase{"-"},
        RejectCase{"$"}, RejectCase{"45min"}, RejectCase{"1.5"}, RejectCase{"1 2"},
        RejectCase{"7 "}, RejectCase{"\t7"}, RejectCase{"2147483648"}, RejectCase{"-2147483649"},
        RejectCase{"99999999999999999999"}, RejectCase{"1e3"}, RejectCase{"0x10"},
        RejectCase{"--1"},
        // Documents are decimal only: the hexadecimal form is refused.
        RejectCase{"$3C"}, RejectCase{"$1A2B"},
        // The host handle's form still has its limits.
        RejectCase{"$", Digits::DecimalOrHex}, RejectCase{"$XYZ", Digits::DecimalOrHex},
        RejectCase{"$100000000", Digits::DecimalOrHex}, RejectCase{"$-1", Digits::DecimalOrHex},
        RejectCase{"1A2B", Digits::DecimalOrHex}));

TEST(ToInt, MessageShowsTheTextInUtf8) {
    try {
        toInt(
            "ma\xF1"
            "ana");
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'mañana' is not a valid integer value");
    }
}

TEST(WithFullStop, AppendsOnlyWhenMissing) {
    EXPECT_EQ(withFullStop("No existe archivo"), "No existe archivo.");
    EXPECT_EQ(withFullStop("Hecho."), "Hecho.");
    EXPECT_EQ(withFullStop(""), ".");
}

}  // namespace
}  // namespace mirvane::text
