// Tablexa and Mirvane open the work tables without sharing, and scanners and
// sync agents hold a file for a moment after it is written. A hold that ends
// within the retries leaves the runs' files as they are without it; one that
// does not stops the run with the message that another program has the file
// open, and leaves that file exactly as it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "child_process.h"
#include "support/testing.h"

namespace mirvane {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using testing::ChildProcess;
using ::testing::HasSubstr;

// A work folder holding the example school's document, its tables and the
// result document, as an export and an import leave them.
class WorkFolder {
  public:
    WorkFolder() {
        const fs::path example = testing::sourceDir() / "examples" / "escuela";
        fs::copy_file(example / "datos.xml", work_ / "datos.xml");
        fs::copy_file(example / "SOLUC.DBF", work_ / "SOLUC.DBF");
        std::string output;
        EXPECT_EQ(run(L"exportar", output), 0) << output;
        EXPECT_EQ(run(L"importar", output), 0) << output;
    }

    fs::path operator/(std::string_view name) const { return work_ / name; }

    int run(const std::wstring& mode, std::string& output) const {
        std::vector<std::wstring> arguments = {mode, (work_ / "datos.xml").wstring(), L"--carpeta",
                                               work_.path().wstring(), L"--sin-informe"};
        // The timetable page names the minute of its run: two runs would
        // differ whenever a minute turns between them.
        if (mode == L"exportar")
            arguments.insert(arguments.end(), {L"--hora", L"08:30"});
        else
            arguments.push_back(L"--sin-horario");
        ChildProcess cli(testing::binDir() / "mirvane-cli.exe", arguments);
        return cli.finish(output);
    }

    // Every file below the folder, by its relative name, but the tables an
    // export keeps from the set it replaced: a temporary file left behind shows.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(work_.path())) {
            const std::string name = fs::relative(entry.path(), work_.path()).generic_string();
            if (entry.is_regular_file() && !name.starts_with("Mirvane/anterior/"))
                files[name] = testing::readFile(entry.path());
        }
        return files;
    }

  private:
    testing::TempDir work_;
};

struct Hold {
    const wchar_t* mode;
    const char* held;
    const char* sign;  // appears once the run has reached the held file
    bool opensOnSign;  // the hold begins when the sign appears
};

const Hold kHolds[] = {
    // The export writes its tables aside, the assignments last but one, and
    // then moves the work folder's tables out of the way: a scanner holds
    // one of those for a moment as it goes.
    {L"exportar", "PROFT.DBF", "Mirvane/nuevo/ASIGT.DBF", true},
    // The import writes its temporary file just before it replaces the result.
    {L"importar", "ResultadoVorsadatos.xml", ".ResultadoVorsadatos.xml.*", false},
};

TEST(TransientHold, AHoldOf300MillisecondsLeavesTheRunsFilesAsWithoutIt) {
    const WorkFolder work;
    const auto before = work.files();
    for (const Hold& hold : kHolds) {
        std::vector<std::wstring> arguments = {(work / hold.held).wstring(),
                                               (work / hold.sign).wstring(), L"300"};
        if (hold.opensOnSign) arguments.insert(arguments.begin(), L"--al-aparecer");
        ChildProcess holder(MIRVANE_HOLD_OPEN, arguments);
        ASSERT_EQ(holder.readLine(), hold.opensOnSign ? "esperando\n" : "abierto\n");
        std::string output;
        EXPECT_EQ(work.run(hold.mode, output), 0) << hold.held << ": " << output;
        std::string holderOutput;
        EXPECT_EQ(holder.finish(holderOutput), 0) << holderOutput;
        EXPECT_EQ(work.files(), before) << hold.held;
    }
}

TEST(LastingHold, StopsTheRunSayingAnotherProgramHasTheFileOpenAndLeavesItAlone) {
    const WorkFolder work;
    const auto before = work.files();
    for (const Hold& hold : kHolds) {
        ChildProcess holder(MIRVANE_HOLD_OPEN, {(work / hold.held).wstring()});
        ASSERT_EQ(holder.readLine(), "abierto\n");
        std::string output;
        EXPECT_EQ(work.run(hold.mode, output), 1);
        EXPECT_THAT(output, AllOf(HasSubstr(hold.held), HasSubstr("en otro programa")));
        EXPECT_THAT(output, ::testing::Not(HasSubstr("permiso")));
        std::string holderOutput;
        EXPECT_EQ(holder.finish(holderOutput), 0) << holderOutput;
        EXPECT_EQ(work.files(), before) << hold.held;
    }
}

}  // namespace
}  // namespace mirvane
