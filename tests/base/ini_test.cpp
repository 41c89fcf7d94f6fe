#include "base/ini.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/error.h"
#include "support/testing.h"

namespace mirvane::ini {
namespace {

struct Edit {
    const char* name;
    std::string before;
    std::string after;
};

class WithInteger : public ::testing::TestWithParam<Edit> {};

TEST_P(WithInteger, WritesTheEntryAndKeepsEverythingElse) {
    EXPECT_EQ(withInteger(GetParam().before, "Transformadores", "Transformado", -1),
              GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, WithInteger,
    ::testing::Values(
        Edit{"EmptyFile", "", "[Transformadores]\r\nTransformado=-1\r\n"},
        Edit{"ReplacesTheValueWhereItStands",
             "[Transformadores]\r\nAntes=1\r\nTransformado=0\r\nDespues=2\r\n",
             "[Transformadores]\r\nAntes=1\r\nTransformado=-1\r\nDespues=2\r\n"},
        Edit{"MatchesSectionAndKeyInAnyCase",
             "[otra]\r\nx=1\r\n[ TRANSFORMADORES ]\r\n  transformado = 7 \r\n",
             "[otra]\r\nx=1\r\n[ TRANSFORMADORES ]\r\ntransformado=-1\r\n"},
        Edit{"AddsTheKeyAtTheEndOfItsSection",
             "[Transformadores]\r\nOtro=3\r\n\r\n[Siguiente]\r\nY=4\r\n",
             "[Transformadores]\r\nOtro=3\r\nTransformado=-1\r\n\r\n[Siguiente]\r\nY=4\r\n"},
        Edit{"AddsTheKeyToAnEmptySection", "[Transformadores]\r\n[B]\r\n",
             "[Transformadores]\r\nTransformado=-1\r\n[B]\r\n"},
        Edit{"AppendsTheSectionAtTheEnd", "; comentario\r\n[General]\r\nRuta=C:\\KTEMP\r\n",
             "; comentario\r\n[General]\r\nRuta=C:\\KTEMP\r\n[Transformadores]\r\n"
             "Transformado=-1\r\n"},
        Edit{"AddsALineBreakToALastLineWithout", "[General]\r\nRuta=x",
             "[General]\r\nRuta=x\r\n[Transformadores]\r\nTransformado=-1\r\n"},
        Edit{"KeepsUnixLineBreaks", "[Transformadores]\nA=1\n",
             "[Transformadores]\nA=1\nTransformado=-1\n"},
        Edit{"IgnoresCommentsThatLookLikeTheKey",
             "[Transformadores]\r\n;Transformado=5\r\nTransformado=1\r\n",
             "[Transformadores]\r\n;Transformado=5\r\nTransformado=-1\r\n"},
        Edit{"UsesTheFirstOfTwoSectionsOfTheName",
             "[Transformadores]\r\nA=1\r\n[Transformadores]\r\nTransformado=9\r\n",
             "[Transformadores]\r\nA=1\r\nTransformado=-1\r\n[Transformadores]\r\nTransformado="
             "9\r\n"},
        Edit{"KeyWithoutLineBreakAtEndOfFile", "[Transformadores]\r\nTransformado=1",
             "[Transformadores]\r\nTransformado=-1"},
        Edit{"OtherBytesKept", "[Transformadores]\r\nNombre=Jos\xE9\r\n",
             "[Transformadores]\r\nNombre=Jos\xE9\r\nTransformado=-1\r\n"},
        Edit{"KeyInAnotherSectionIsLeftAlone", "[Otra]\r\nTransformado=5\r\n",
             "[Otra]\r\nTransformado=5\r\n[Transformadores]\r\nTransformado=-1\r\n"},
        Edit{"UnixLinesWithoutAFinalBreak", "[Transformadores]\nA=1",
             "[Transformadores]\nA=1\nTransformado=-1\n"},
        Edit{"Utf8MarkKeptInFront", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n",
             "\xEF\xBB\xBF[Transformadores]\r\nTransformado=-1\r\n"},
        Edit{"SectionNamePrefixIsAnotherSection", "[TransformadoresX]\r\nTransformado=1\r\n",
             "[TransformadoresX]\r\nTransformado=1\r\n[Transformadores]\r\nTransformado=-1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// UTF-16 text as the bytes of a file, little- or big-endian, with its mark.
std::string utf16(std::u16string_view text, bool littleEndian = true) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

// A file that Windows wrote in UTF-16 stays UTF-16, mark and all, and keeps
// characters that no single-byte code page holds.
TEST_P(WithInteger, GivesTheSameEditInUtf16) {
    const Edit& edit = GetParam();
    if (edit.before.starts_with("\xEF\xBB\xBF") || edit.before.find('\xE9') != std::string::npos)
        GTEST_SKIP() << "single-byte text only";
    const std::u16string before(edit.before.begin(), edit.before.end());
    const std::u16string after(edit.after.begin(), edit.after.end());
    for (const bool littleEndian : {true, false}) {
        EXPECT_EQ(withInteger(utf16(before, littleEndian), "Transformadores", "Transformado", -1),
                  utf16(after, littleEndian));
    }
}

TEST(WithIntegerUtf16, KeepsEveryOtherUnit) {
    const std::u16string before = u"[Centro]\r\nNombre=I.E.S. \u0141\u00F3d\u017A \u6771\r\n";
    EXPECT_EQ(withInteger(utf16(before), "Transformadores", "Transformado", 1),
              utf16(before + u"[Transformadores]\r\nTransformado=1\r\n"));
    EXPECT_EQ(withInteger(utf16(u""), "Transformadores", "Transformado", 0),
              utf16(u"[Transformadores]\r\nTransformado=0\r\n"));
    // An odd last byte is no whole unit: it stays where it was, at the end.
    EXPECT_EQ(
        withInteger(utf16(u"[Transformadores]\r\n") + "x", "Transformadores", "Transformado", 0),
        utf16(u"[Transformadores]\r\nTransformado=0\r\n") + "x");
}

TEST(WriteInteger, CreatesAMissingFileAndUpdatesItLater) {
    testing::TempDir dir;
    const auto file = dir / "Tablexa.ini";
    writeInteger(file, "Transformadores", "Transformado", 1);
    EXPECT_EQ(testing::readFile(file), "[Transformadores]\r\nTransformado=1\r\n");
    writeInteger(file, "Transformadores", "Transformado", 0);
    EXPECT_EQ(testing::readFile(file), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(WriteInteger, AFailedWriteLeavesTheFileAsItWasAndNoTemporaryFile) {
    testing::TempDir dir;
    // A folder in place of the file: the rename over it fails.
    const auto file = dir / "Tablexa.ini";
    std::filesystem::create_directory(file);
    EXPECT_THROW(writeInteger(file, "Transformadores", "Transformado", 1), Error);
    EXPECT_TRUE(std::filesystem::is_directory(file));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(WriteInteger, AMissingFolderIsAnError) {
    testing::TempDir dir;
    EXPECT_THROW(writeInteger(dir / "no" / "Tablexa.ini", "S", "K", 1), Error);
}

}  // namespace
}  // namespace mirvane::ini
