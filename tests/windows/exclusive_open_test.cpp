// Tablexa and Mirvane open the work tables without sharing: a table that
// another program holds stops the export with the engine's message and is
// left exactly as it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include "support/testing.h"

namespace mirvane {
namespace {

using testing::ChildProcess;
using ::testing::HasSubstr;

int exportar(const testing::TempDir& work, std::string& output) {
    ChildProcess cli(testing::binDir() / "mirvane-cli.exe",
                     {L"exportar", (work / "datos.xml").wstring(), L"--carpeta",
                      work.path().wstring(), L"--hora", L"08:30"});
    return cli.finish(output);
}

TEST(ExclusiveOpen, ATableHeldByAnotherProgramStopsTheExportAndIsLeftAlone) {
    testing::TempDir work;
    std::filesystem::copy_file(testing::sourceDir() / "examples" / "escuela" / "datos.xml",
                               work / "datos.xml");
    std::string output;
    ASSERT_EQ(exportar(work, output), 0) << output;
    const std::string before = testing::readFile(work / "ASIGNOMT.DBF");

    ChildProcess holder(MIRVANE_HOLD_OPEN, {(work / "ASIGNOMT.DBF").wstring()});
    ASSERT_EQ(holder.readLine(), "abierto\n");

    output.clear();
    EXPECT_EQ(exportar(work, output), 1);
    EXPECT_THAT(output, HasSubstr("ASIGNOMT"));
    EXPECT_THAT(output, HasSubstr("abierta en otro programa"));

    std::string holderOutput;
    EXPECT_EQ(holder.finish(holderOutput), 0) << holderOutput;
    EXPECT_EQ(testing::readFile(work / "ASIGNOMT.DBF"), before);
}

}  // namespace
}  // namespace mirvane
