// An export killed at every call that changes a file: whatever the moment,
// once the next run has looked at the work folder, its tables are all the
// earlier run's or all the new one's.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/os_fault.h"
#include "core/export_run.h"
#include "core/table_set.h"
#include "core/table_set_test.h"
#include "export/export_fixture.h"

namespace mirvane::core {
namespace {

using table_set_test::filesIn;
using table_set_test::nothingLeftOver;

// A school of two of everything: each of its hundred-odd deaths is quick.
std::filesystem::path smallSchool(const std::filesystem::path& folder) {
    using export_test::section;
    const auto file = folder / "datos.xml";
    testing::writeFile(
        file,
        export_test::exchange(
            {section("MATERIAS", {{"M1", "C1", "L1", "Uno"}, {"M2", "C2", "L2", "Dos"}}),
             section("PROFESORES", {{"E1", "F1", "Ana", "ANA"}, {"E2", "F2", "Luis", "LUI"}}),
             section("AULAS", {{"D1", "A1", "Aula 1", "P"}, {"D2", "A2", "Aula 2", "P"}}),
             section("GRUPOS", {{"U1", "1A", "M", "ESO", "1", "A"}}),
             section("ASIGNATURAS", {{"C1", "1A", "A1", "M", "ESO", "1", "A", "60", "M1"}}),
             export_test::labelledSection(
                 "TRAMOS", {{{"CODIGO_DELPHOS", "1"}, {"NOMBRE", "L1"}, {"MINUTOS", "55"}},
                            {{"CODIGO_DELPHOS", "2"}, {"NOMBRE", "L2"}, {"MINUTOS", "55"}}})}));
    return file;
}

void exportAt(const std::filesystem::path& work, const std::string& hour) {
    static const testing::TempDir documents;
    static const std::filesystem::path document = smallSchool(documents.path());
    exporting::FixedStartHour prompt(hour);
    ExportRun(work, prompt).run(document);
}

// Exports in a child process that ends at its `call`-th call; whether it got there.
bool killedAt(const std::filesystem::path& work, int call) {
    const pid_t child = ::fork();
    if (child == 0) {
        int made = 0;
        os::InjectedFaults kill([&](os::Call, const std::filesystem::path&) {
            if (++made == call) ::_exit(9);  // nothing after this call runs
            return os::Failure{};
        });
        exportAt(work, "09:00");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 9;
}

TEST(KilledExport, LeavesOneRunsTablesWhereverItStops) {
    // The work folder before each death: an earlier set, and one kept before it.
    testing::TempDir initial;
    exportAt(initial.path(), "07:00");
    exportAt(initial.path(), "08:00");
    const auto earlier = filesIn(initial.path());
    const auto kept = filesIn(initial / "Mirvane" / "anterior");
    testing::TempDir reference;
    exportAt(reference.path(), "09:00");
    const auto next = filesIn(reference.path());

    testing::TempDir work;
    int call = 1;
    for (;; ++call) {
        std::filesystem::remove_all(work.path());
        std::filesystem::copy(initial.path(), work.path(),
                              std::filesystem::copy_options::recursive);
        const bool killed = killedAt(work.path(), call);
        recoverInterruptedChange(work.path());  // what the next run does first
        SCOPED_TRACE("killed at call " + std::to_string(call));
        const auto tables = filesIn(work.path());
        ASSERT_TRUE(tables == earlier || tables == next);
        // The set replaced is the one kept; an undone change keeps the one before.
        EXPECT_EQ(filesIn(work / "Mirvane" / "anterior"), tables == next ? earlier : kept);
        EXPECT_TRUE(nothingLeftOver(work.path()));
        if (!killed) break;
    }
    EXPECT_GT(call, 20) << call;  // the export made its calls through the hook
}

}  // namespace
}  // namespace mirvane::core
