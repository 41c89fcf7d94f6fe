// The platform layer's files, on both systems (the Windows suite runs these
// under Wine).

#include "base/os_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "support/testing.h"

namespace mirvane::os {
namespace {

using mirvane::testing::TempDir;

File openHeld(const std::filesystem::path& file, Hold hold, Failure& failure) {
    return File::open(file, Access::ReadWrite, hold, failure);
}

TEST(OsFile, HoldsExcludeEachOtherWithinOneProcess) {
    struct Case {
        Hold first;
        Hold second;
        bool refused;
    } cases[] = {
        {Hold::Exclusive, Hold::Exclusive, true},
        {Hold::Exclusive, Hold::Shared, true},
        {Hold::Shared, Hold::Exclusive, true},
        {Hold::Shared, Hold::Shared, false},
    };
    TempDir dir;
    const auto table = dir / "PROFT.DBF";
    mirvane::testing::writeFile(table, "datos");
    for (const Case& c : cases) {
        Failure failure;
        File first = openHeld(table, c.first, failure);
        ASSERT_TRUE(first.isOpen()) << failure.reason;
        Failure refusal;
        File second = openHeld(table, c.second, refusal);
        EXPECT_EQ(second.isOpen(), !c.refused);
        EXPECT_EQ(refusal.cause, c.refused ? Cause::HeldElsewhere : Cause::None) << refusal.reason;
        second = File();
        first = File();  // released when it goes
        Failure after;
        EXPECT_TRUE(openHeld(table, Hold::Exclusive, after).isOpen()) << after.reason;
    }
}

TEST(OsFile, PositionedWritesAndReadsMeetAtTheirOffsets) {
    TempDir dir;
    const auto file = dir / "t.dbf";
    mirvane::testing::writeFile(file, "0123456789");
    Failure failure;
    File open = openHeld(file, Hold::Exclusive, failure);
    ASSERT_TRUE(open.writeAt(8, "ABCD", failure)) << failure.reason;
    ASSERT_TRUE(open.writeAt(2, "x", failure)) << failure.reason;
    ASSERT_TRUE(open.flushToDisk(failure)) << failure.reason;
    EXPECT_EQ(open.size(), 12u);
    char buffer[8];
    const std::size_t got = open.readAt(7, buffer, sizeof buffer, failure);
    EXPECT_EQ(std::string(buffer, got), "7ABCD");
    EXPECT_EQ(open.readAt(12, buffer, sizeof buffer, failure), 0u);
    EXPECT_FALSE(failure);
    open = File();
    EXPECT_EQ(mirvane::testing::readFile(file), "01x34567ABCD");
}

TEST(OsFile, MissingFilesAndFoldersAreToldApart) {
    TempDir dir;
    mirvane::testing::writeFile(dir / "plain", "x");
    std::filesystem::create_directory(dir / "sub");
    struct Case {
        std::filesystem::path path;
        Kind kind;
    } cases[] = {
        {dir / "plain", Kind::Regular},
        {dir / "sub", Kind::Directory},
        {dir / "none", Kind::Missing},
        {dir / "plain" / "below", Kind::Missing},  // through a regular file
    };
    for (const Case& c : cases) {
        Failure failure;
        EXPECT_EQ(kindOf(c.path, failure), c.kind) << c.path;
        EXPECT_FALSE(failure) << failure.reason;
    }
    Failure failure;
    const File missing = File::open(dir / "none", Access::Read, Hold::Unheld, failure);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(failure.cause, Cause::NotFound);
    EXPECT_EQ(failure.reason, "el archivo no existe");
}

TEST(OsFile, AFailedReplacementKeepsTheOldFile) {
    TempDir dir;
    const auto target = dir / "ASIGT.DBF";
    mirvane::testing::writeFile(target, "anterior");
    Failure failure;
    EXPECT_FALSE(replace(dir / "no-such-temporary", target, failure));
    EXPECT_TRUE(failure);
    EXPECT_EQ(mirvane::testing::readFile(target), "anterior");

    std::filesystem::path temporary;
    File created = File::createBeside(target, temporary, failure = {});
    ASSERT_TRUE(created.isOpen()) << failure.reason;
    EXPECT_EQ(temporary.parent_path(), dir.path());
    ASSERT_TRUE(created.write("nuevo", failure));
    ASSERT_TRUE(created.close(failure));
    ASSERT_TRUE(replace(temporary, target, failure)) << failure.reason;
    EXPECT_EQ(mirvane::testing::readFile(target), "nuevo");
    EXPECT_EQ(listFolder(dir.path(), failure), std::vector<std::string>{"ASIGT.DBF"});
}

TEST(OsFile, AccentedNamesRoundTripThroughTheSystem) {
    TempDir dir;
    const std::string name = "horario ñ.xml";
    const auto file = dir.path() / paths::fromUtf8(name);
    saveFileSafely(file, "<a/>");
    EXPECT_EQ(readWholeFile(file), "<a/>");
    Failure failure;
    EXPECT_EQ(listFolder(dir.path(), failure), std::vector<std::string>{name});
    EXPECT_EQ(paths::toUtf8(file.filename()), name);
    EXPECT_TRUE(remove(file, failure));
    EXPECT_TRUE(remove(file, failure));  // already gone: no failure
    EXPECT_FALSE(failure);
}

#ifndef _WIN32
// Symbolic links and their loops: POSIX only.
TEST(OsFile, ALinkLoopIsAFailureAndAnErrorNamingThePath) {
    TempDir dir;
    const auto loop = dir / "LOOP";
    std::filesystem::create_directory_symlink(loop, loop);
    Failure failure;
    EXPECT_EQ(kindOf(loop, failure), Kind::Missing);
    EXPECT_EQ(failure.cause, Cause::Other);
    try {
        paths::kindOf(loop / "ASIGT.DBF");
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "No se puede acceder a " + (loop / "ASIGT.DBF").string() +
                      ": hay un ciclo de enlaces simbólicos en la ruta.");
    }
    EXPECT_EQ(paths::matchCase(loop / "x"), loop / "x");
}
#endif

}  // namespace
}  // namespace mirvane::os
