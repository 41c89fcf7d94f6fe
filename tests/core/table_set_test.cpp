// The work folder's tables changed as one set: the earlier set put back, and
// a change cut short finished or undone by the next run.

#include "core/table_set.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/os_fault.h"
#include "core/export_run.h"
#include "core/table_set_test.h"
#include "dbf/lock.h"
#include "dbf/table.h"

namespace mirvane::core {
namespace {

using table_set_test::filesIn;
using table_set_test::nothingLeftOver;

class TableSetTest : public ::testing::Test {
  protected:
    // The tables of an export of the example school whose first lesson starts at `hour`.
    void exportAt(const std::string& hour) {
        exporting::FixedStartHour prompt(hour);
        ExportRun(work.path(), prompt)
            .run(testing::sourceDir() / "examples" / "escuela" / "datos.xml");
    }
    std::map<std::string, std::string> kept() const {
        return filesIn(work / "Mirvane" / "anterior");
    }

    testing::TempDir work;
};

TEST_F(TableSetTest, ARestorePutsTheEarlierSetBackAndASecondUndoesIt) {
    exportAt("08:00");
    testing::writeFile(work / "PROFT.MDX", "índice de Tablexa");
    const auto first = filesIn(work.path());
    exportAt("09:00");
    const auto second = filesIn(work.path());
    ASSERT_NE(first, second);
    EXPECT_EQ(kept(), first);  // the index went with its table

    EXPECT_EQ(restoreEarlierTables(work.path()).size(), 7u);
    EXPECT_EQ(filesIn(work.path()), first);
    EXPECT_EQ(kept(), second);
    restoreEarlierTables(work.path());
    EXPECT_EQ(filesIn(work.path()), second);
    EXPECT_EQ(kept(), first);
    EXPECT_TRUE(nothingLeftOver(work.path()));
}

TEST_F(TableSetTest, ARestoreIsAllOrNone) {
    // Nothing kept yet: nothing to put back.
    EXPECT_THROW(restoreEarlierTables(work.path()), Error);
    exportAt("08:00");
    exportAt("09:00");
    const auto now = filesIn(work.path());
    const auto before = kept();
    for (const char* table : {"ASIGNOMT", "DIASHORAST"}) {
        SCOPED_TRACE(table);
        // Held when its turn to move comes, after the tables before it moved.
        const auto file = work / (std::string(table) + ".DBF");
        os::InjectedFaults held([&](os::Call call, const std::filesystem::path& path) {
            return call == os::Call::Move && path == file
                       ? os::Failure{os::Cause::HeldElsewhere, "está abierto en otro programa"}
                       : os::Failure{};
        });
        try {
            restoreEarlierTables(work.path());
            ADD_FAILURE() << "restored";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      dbf::heldElsewhere(file, "No se puede sustituir la tabla"));
        }
        EXPECT_EQ(filesIn(work.path()), now);
        EXPECT_EQ(kept(), before);
        EXPECT_TRUE(nothingLeftOver(work.path()));
    }
}

TEST_F(TableSetTest, AnUndoCutShortIsFinishedByTheNextRunWithoutLosingATable) {
    exportAt("08:00");
    exportAt("09:00");
    const auto now = filesIn(work.path());
    // The last table is held as its turn to move comes, and the first, moved
    // aside, cannot go back: the export stops with its change half-undone,
    // and its own new tables go with it.
    {
        const auto held = work / "DIASHORAST.DBF";
        const auto stuck = work / "Mirvane" / "saliente" / "ASIGNOMT.DBF";
        os::InjectedFaults faults([&](os::Call call, const std::filesystem::path& path) {
            return call == os::Call::Move && (path == held || path == stuck)
                       ? os::Failure{os::Cause::HeldElsewhere, "está abierto en otro programa"}
                       : os::Failure{};
        });
        EXPECT_THROW(exportAt("10:00"), Error);
    }
    EXPECT_EQ(recoverInterruptedChange(work.path()), Recovery::Undone);
    EXPECT_EQ(filesIn(work.path()), now);
    EXPECT_TRUE(nothingLeftOver(work.path()));
}

TEST_F(TableSetTest, AChangeWhoseEndCannotBeWrittenDownIsUndone) {
    exportAt("08:00");
    exportAt("09:00");
    const auto now = filesIn(work.path());
    const auto before = kept();
    // Every table has moved, and the journal saying so cannot be made sure of:
    // the run fails, so it must leave the tables as they were.
    const auto own = work / "Mirvane";
    const auto journal = own / "cambio-en-curso.txt";
    bool failed = false;
    os::InjectedFaults faults([&](os::Call call, const std::filesystem::path& path) {
        if (failed || call != os::Call::Flush || path != own ||
            testing::readFile(journal).find("estado=colocado") == std::string::npos)
            return os::Failure{};
        failed = true;
        return os::Failure{os::Cause::Other, "error de disco"};
    });
    EXPECT_THROW(exportAt("10:00"), Error);
    EXPECT_TRUE(failed);
    EXPECT_EQ(filesIn(work.path()), now);
    EXPECT_EQ(kept(), before);
    EXPECT_TRUE(nothingLeftOver(work.path()));
}

TEST_F(TableSetTest, ASetInPlaceWhoseEarlierSetCannotBeKeptYetIsKeptByTheNextRun) {
    exportAt("08:00");
    exportAt("09:00");
    const auto second = filesIn(work.path());
    // The new tables are in place; the earlier set cannot go to its folder
    // yet. The export has done its job and says so; the next run keeps it.
    {
        os::InjectedFaults faults([&](os::Call call, const std::filesystem::path& path) {
            return call == os::Call::Move && path.parent_path() == work / "Mirvane" / "saliente"
                       ? os::Failure{os::Cause::Other, "error de disco"}
                       : os::Failure{};
        });
        EXPECT_NO_THROW(exportAt("10:00"));
    }
    const auto now = filesIn(work.path());
    EXPECT_NE(now, second);
    EXPECT_EQ(recoverInterruptedChange(work.path()), Recovery::Completed);
    EXPECT_EQ(filesIn(work.path()), now);
    EXPECT_EQ(kept(), second);
    EXPECT_TRUE(nothingLeftOver(work.path()));
}

TEST_F(TableSetTest, AJournalThatIsNotOursStopsEveryRun) {
    exportAt("08:00");
    testing::writeFile(work / "Mirvane" / "cambio-en-curso.txt", "origen=../../etc\n");
    EXPECT_THROW(recoverInterruptedChange(work.path()), Error);
    EXPECT_THROW(restoreEarlierTables(work.path()), Error);
}

}  // namespace
}  // namespace mirvane::core
