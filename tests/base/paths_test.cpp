#include "base/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/testing.h"

namespace mirvane::paths {
namespace {

// Points WINEPREFIX at a folder for the length of a test.
class ScopedPrefix {
  public:
    explicit ScopedPrefix(const std::filesystem::path& prefix) {
        if (const char* old = std::getenv("WINEPREFIX")) old_ = old;
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
    }
    ~ScopedPrefix() {
        if (old_)
            ::setenv("WINEPREFIX", old_->c_str(), 1);
        else
            ::unsetenv("WINEPREFIX");
    }

  private:
    std::optional<std::string> old_;
};

TEST(Paths, DriveCIsInTheWinePrefix) {
    testing::TempDir prefix;
    ScopedPrefix scoped(prefix.path());
    EXPECT_EQ(driveC(), prefix.path() / "drive_c");
}

TEST(Paths, DriveCDefaultsToTheHomePrefix) {
    const char* old = std::getenv("WINEPREFIX");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::unsetenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(driveC(), std::filesystem::path(home) / ".wine" / "drive_c");
    if (saved) ::setenv("WINEPREFIX", saved->c_str(), 1);
}

TEST(Paths, WindowsPathsMatchExistingNamesWithoutRegardToCase) {
    testing::TempDir prefix;
    ScopedPrefix scoped(prefix.path());
    std::filesystem::create_directories(prefix / "drive_c" / "ktemp" / "Delphos");
    testing::writeFile(prefix / "drive_c" / "ktemp" / "soluc.dbf", "");

    const auto drive = prefix.path() / "drive_c";
    EXPECT_EQ(fromWindows(kWorkFolder), drive / "ktemp");
    EXPECT_EQ(fromWindows(kDialogFolder), drive / "ktemp" / "Delphos");
    EXPECT_EQ(fromWindows("C:\\KTEMP\\SOLUC.DBF"), drive / "ktemp" / "soluc.dbf");
    EXPECT_EQ(fromWindows("c:/KTemp/Soluc.Dbf"), drive / "ktemp" / "soluc.dbf");
    // Names that do not exist keep the case given, and so does what follows them.
    EXPECT_EQ(fromWindows("C:\\KTEMP\\ASIGT.DBF"), drive / "ktemp" / "ASIGT.DBF");
    EXPECT_EQ(fromWindows("C:\\NUEVA\\Sub\\X.DBF"), drive / "NUEVA" / "Sub" / "X.DBF");
}

TEST(Paths, InFolderPrefersTheExactName) {
    testing::TempDir dir;
    testing::writeFile(dir / "PROFT.DBF", "");
    EXPECT_EQ(inFolder(dir.path(), "PROFT.DBF"), dir / "PROFT.DBF");
    EXPECT_EQ(inFolder(dir.path(), "proft.dbf"), dir / "PROFT.DBF");
    EXPECT_EQ(inFolder(dir.path(), "AULAT.DBF"), dir / "AULAT.DBF");
    EXPECT_EQ(inFolder(dir / "missing", "a.dbf"), dir / "missing" / "a.dbf");
}

TEST(Paths, ExecutableFolderHoldsTheRunningProgram) {
    const auto folder = executableFolder();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(folder / "test_base"));
}

}  // namespace
}  // namespace mirvane::paths
