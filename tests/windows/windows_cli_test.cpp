// The Windows mirvane-cli.exe, run under Wine, converts the example school
// exactly as the Linux build does, and third-party dBase readers read the
// tables it writes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "support/testing.h"

namespace mirvane {
namespace {

namespace fs = std::filesystem;
using testing::run;
using testing::shellQuote;
using testing::TempDir;

const fs::path kWine = "/usr/lib/wine/wine64";
const fs::path kWindowsCli = fs::path(MIRVANE_WINDOWS_BIN_DIR) / "mirvane-cli.exe";
const char* const kTables[] = {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"};

// The same file as a Windows program under Wine names it (drive Z: is /).
std::string windowsPath(const fs::path& path) {
    std::string name = "Z:" + fs::absolute(path).string();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string windowsCli(const std::string& arguments) {
    return "env WINEPREFIX=" + shellQuote(MIRVANE_WINE_PREFIX) +
           " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' " + shellQuote(kWine.string()) +
           " " + shellQuote(kWindowsCli.string()) + " " + arguments;
}

std::string linuxCli(const std::string& arguments) {
    return shellQuote((testing::binDir() / "mirvane-cli").string()) + " " + arguments;
}

// A work folder with the example school's document in delphos/, converted
// both ways as `make demo` does, by the program `cli` gives. Without the
// reports: they name the folders as each system sees them.
struct RoundTrip {
    TempDir work;

    template <typename Cli>
    void convert(Cli cli, std::string (*pathOf)(const fs::path&)) {
        const fs::path example = testing::sourceDir() / "examples" / "escuela";
        fs::create_directory(work / "delphos");
        fs::copy_file(example / "datos.xml", work / "delphos" / "datos.xml");
        const std::string document = shellQuote(pathOf(work / "delphos" / "datos.xml"));
        const std::string folder = shellQuote(pathOf(work.path()));

        const auto exported = run(
            cli("exportar " + document + " --carpeta " + folder + " --hora 08:30 --sin-informe"));
        ASSERT_EQ(exported.status, 0) << exported.output << exported.errors;
        fs::copy_file(example / "SOLUC.DBF", work / "SOLUC.DBF");
        const auto imported =
            run(cli("importar " + document + " --carpeta " + folder + " --sin-informe"));
        ASSERT_EQ(imported.status, 0) << imported.output << imported.errors;
    }
};

std::string unchanged(const fs::path& path) {
    return path.string();
}

// Every file below a folder, by its relative name.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = testing::readFile(entry.path());
    return files;
}

class WindowsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kWindowsCli) || !fs::exists(kWine))
            GTEST_SKIP() << "no Windows build (" << kWindowsCli << ") or no " << kWine;
        ASSERT_NO_FATAL_FAILURE(linux.convert(linuxCli, unchanged));
        ASSERT_NO_FATAL_FAILURE(windows.convert(windowsCli, windowsPath));
    }

    RoundTrip linux;
    RoundTrip windows;
};

TEST_F(WindowsCli, ConvertsTheExampleSchoolByteForByteAsTheLinuxBuild) {
    auto expected = filesBelow(linux.work.path());
    auto actual = filesBelow(windows.work.path());
    ASSERT_TRUE(expected.contains("delphos/ResultadoVorsadatos.xml"));
    for (auto* files : {&expected, &actual}) {
        for (auto& [name, bytes] : *files) {
            // A table's header holds the day it was written, and the two runs
            // may straddle midnight.
            if (name.ends_with(".DBF") && name != "SOLUC.DBF" && bytes.size() > 4)
                bytes.replace(1, 3, "YMD");
            // The timetable names the documents by each system's own path.
            if (name.ends_with(".html")) {
                const auto paths = bytes.find("<p class=\"datos\">");
                if (paths != std::string::npos)
                    bytes.erase(paths, bytes.find("</p>", paths) - paths);
            }
        }
    }
    EXPECT_EQ(actual, expected);
}

// A foreign reader's view of the six tables: every record's values.
std::string readWithDbfread(const fs::path& folder) {
    const std::string script =
        "import sys, dbfread\n"
        "for name in sys.argv[2:]:\n"
        "    for record in dbfread.DBF(sys.argv[1] + '/' + name + '.DBF', encoding='cp1252',\n"
        "                              char_decode_errors='strict'):\n"
        "        print(name, *record.values(), sep='|')\n";
    std::string command = std::string(testing::kDebianPython) + " -c " + shellQuote(script) + " " +
                          shellQuote(folder.string());
    for (const char* table : kTables) command += std::string(" ") + table;
    const auto result = run(command);
    EXPECT_EQ(result.status, 0) << result.errors;
    return result.output;
}

TEST_F(WindowsCli, ForeignReadersReadItsTables) {
    const std::string ours = readWithDbfread(windows.work.path());
    EXPECT_THAT(ours, ::testing::HasSubstr("PROFT|"));
    EXPECT_EQ(ours, readWithDbfread(linux.work.path()));

    for (const char* table : kTables) {
        const auto file = windows.work / (std::string(table) + ".DBF");
        const auto info = run("ogrinfo -ro -al -so " + shellQuote(file.string()) + " 2>&1");
        EXPECT_EQ(info.status, 0) << table << ": " << info.output;
        EXPECT_THAT(info.output, ::testing::HasSubstr("Feature Count: ")) << table;
    }
}

}  // namespace
}  // namespace mirvane
