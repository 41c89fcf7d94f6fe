#include "shell/host_result.h"

#include <gtest/gtest.h>

#include "support/testing.h"

namespace mirvane::shell {
namespace {

namespace fs = std::filesystem;

TEST(VirtualStoreCopy, OnlyAFileInsideAProtectedFolderHasOne) {
    const fs::path local = "/c/Users/ana/AppData/Local";
    const os::Virtualization windows{
        {"/c/Program Files", "/c/Program Files (x86)", "/c/ProgramData", "/c/Windows"}, local};
    struct Case {
        fs::path file;
        os::Virtualization system;
        fs::path copy;  // empty: none
    } cases[] = {
        {"/c/Program Files (x86)/Tablexa/Tablexa.ini", windows,
         local / "VirtualStore" / "c/Program Files (x86)/Tablexa/Tablexa.ini"},
        {"/c/PROGRAM FILES (X86)/tablexa/Tablexa.ini", windows,
         local / "VirtualStore" / "c/PROGRAM FILES (X86)/tablexa/Tablexa.ini"},
        {"/c/ProgramData/Tablexa.ini", windows,
         local / "VirtualStore" / "c/ProgramData/Tablexa.ini"},
        {"/c/Program Files Extra/Tablexa/Tablexa.ini", windows, {}},  // another folder
        {"/c/Tablexa/Tablexa.ini", windows, {}},
        {"/d/Program Files/Tablexa/Tablexa.ini", windows, {}},
        {"/c/Program Files/Tablexa/Tablexa.ini", {windows.protectedFolders, {}}, {}},
        {"/c/Program Files/Tablexa/Tablexa.ini", {}, {}},  // nothing is virtualized
#ifdef _WIN32
        {"C:\\Program Files (x86)\\Tablexa\\Tablexa.ini",
         {{"c:\\Program Files (x86)"}, "C:\\Users\\ana\\AppData\\Local"},
         "C:\\Users\\ana\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Tablexa\\Tablexa.ini"},
#endif
    };
    for (const Case& c : cases) EXPECT_EQ(virtualStoreCopy(c.file, c.system), c.copy) << c.file;
}

TEST(WriteResultCode, AnExistingVirtualStoreCopyIsWrittenBesideTheFileAndNoneIsMade) {
    for (const bool copyExists : {true, false}) {
        mirvane::testing::TempDir root;
        const fs::path executable = root / "Program Files (x86)" / "Tablexa";
        const os::Virtualization system{{root / "Program Files (x86)"}, root / "Local"};
        const fs::path file = executable / "Tablexa.ini";
        const fs::path copy = root / "Local" / "VirtualStore" / file.relative_path();
        fs::create_directories(executable);
        mirvane::testing::writeFile(file, "[Tablexa]\r\nVersion=4\r\n");
        if (copyExists) {
            fs::create_directories(copy.parent_path());
            mirvane::testing::writeFile(copy, "[Tablexa]\r\nUsuario=ana\r\n");
        }

        writeResultCode(executable, system, -1);

        const std::string entry = "[Transformadores]\r\nTransformado=-1\r\n";
        EXPECT_EQ(mirvane::testing::readFile(file), "[Tablexa]\r\nVersion=4\r\n" + entry);
        if (copyExists)
            EXPECT_EQ(mirvane::testing::readFile(copy), "[Tablexa]\r\nUsuario=ana\r\n" + entry);
        else
            EXPECT_FALSE(fs::exists(root / "Local")) << "a copy the host would read from now on";
    }
}

}  // namespace
}  // namespace mirvane::shell
