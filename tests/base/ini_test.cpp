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
        Edit{"SectionNamePrefixIsAnotherSection", "[TransformadoresX]\r\nTransformado=1\r\n",
             "[TransformadoresX]\r\nTransformado=1\r\n[Transformadores]\r\nTransformado=-1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

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
