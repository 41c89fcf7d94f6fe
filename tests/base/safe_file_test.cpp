#include "base/safe_file.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/testing.h"

namespace mirvane {
namespace {

int entriesIn(const std::filesystem::path& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(SaveFileSafely, WritesAndReplaces) {
    testing::TempDir dir;
    const auto file = dir / "out.xml";
    saveFileSafely(file, "primero");
    EXPECT_EQ(readWholeFile(file), "primero");
    saveFileSafely(file, std::string(100000, 'x'));
    EXPECT_EQ(readWholeFile(file), std::string(100000, 'x'));
    saveFileSafely(file, "cacheado", Durability::Cached);  // replaced the same, left unflushed
    EXPECT_EQ(readWholeFile(file), "cacheado");
    EXPECT_EQ(entriesIn(dir.path()), 1);
}

TEST(SaveFileSafely, AFailureKeepsTheEarlierFileAndLeavesNoTemporary) {
    testing::TempDir dir;
    const auto target = dir / "busy";
    std::filesystem::create_directory(target);
    testing::writeFile(target / "inside", "keep");
    // A cached page removes the old file first: a target it cannot remove
    // is still kept whole.
    for (Durability durability : {Durability::Flushed, Durability::Cached}) {
        try {
            saveFileSafely(target, "new", durability);
            FAIL();
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(target.string()), std::string::npos);
        }
        EXPECT_EQ(readWholeFile(target / "inside"), "keep");
        EXPECT_EQ(entriesIn(dir.path()), 1);
    }
}

TEST(SaveFileSafely, AMissingFolderNamesTheFile) {
    testing::TempDir dir;
    const auto target = dir / "no" / "such" / "file.xml";
    try {
        saveFileSafely(target, "x");
        FAIL();
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(target.string()), std::string::npos);
    }
}

TEST(SafeFileWriter, PiecesReachTheTargetOnlyOnCommit) {
    testing::TempDir dir;
    const auto target = dir / "out.xml";
    testing::writeFile(target, "anterior");
    std::string expected;
    {
        SafeFileWriter file(target);
        for (const std::size_t size : {std::size_t{10}, std::size_t{70000}, std::size_t{3}}) {
            file.write(std::string(size, static_cast<char>('a' + size % 26)));
            expected += std::string(size, static_cast<char>('a' + size % 26));
        }
        EXPECT_EQ(readWholeFile(target), "anterior");
        file.commit();
    }
    EXPECT_EQ(readWholeFile(target), expected);
    {
        SafeFileWriter abandoned(target);
        abandoned.write(std::string(100000, 'z'));
    }  // never committed
    EXPECT_EQ(readWholeFile(target), expected);
    EXPECT_EQ(entriesIn(dir.path()), 1);
}

TEST(ReadWholeFile, MissingFileAndFolderAreErrors) {
    testing::TempDir dir;
    EXPECT_THROW(readWholeFile(dir / "nothing"), Error);
    EXPECT_THROW(readWholeFile(dir.path()), Error);
    testing::writeFile(dir / "empty", "");
    EXPECT_EQ(readWholeFile(dir / "empty"), "");
}

}  // namespace
}  // namespace mirvane
