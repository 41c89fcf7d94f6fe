#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dbf/reader.h"
#include "dbf/table.h"
#include "formats/work_tables.h"
#include "support/testing.h"

namespace mirvane::dbf {
namespace {

using mirvane::testing::readFile;
using mirvane::testing::TempDir;

void appendRows(Table& table, int from, int to) {
    for (int row = from; row < to; ++row) {
        table.append();
        table.setText("CASIG", std::to_string(row));
        table.setFloat("HORAS", 1.0);
        table.post();
    }
}

TEST(DbfWriter, TheFileIsAValidTableWhileRowsAreBeingWritten) {
    TempDir dir;
    Table table;
    formats::replaceTable(table, dir.path(), formats::kAsigt);
    table.open();
    std::uint32_t seen = 0;
    for (int batch = 0; batch < 10; ++batch) {
        appendRows(table, batch * 300, (batch + 1) * 300);
        // What another program would read now: a table, with whole rows only.
        const StoredRows onDisk(readFile(dir / "ASIGT.DBF"), "ASIGT.DBF");
        EXPECT_GE(onDisk.size(), seen);
        seen = onDisk.size();
        if (seen > 0) {
            const FieldDescriptor& casig = *onDisk.find("CASIG");
            EXPECT_EQ(onDisk.value(casig, onDisk.record(seen - 1)).text(),
                      std::to_string(seen - 1));
        }
    }
    EXPECT_GT(seen, 0u);     // batches reach the disk before the close
    EXPECT_LT(seen, 3000u);  // but not one system call per row
    table.close();
    EXPECT_EQ(StoredRows(readFile(dir / "ASIGT.DBF"), "ASIGT.DBF").size(), 3000u);
}

// Appended rows are not kept in memory: a scan reads them back from the file.
TEST(DbfWriter, AppendedRowsReadBackBeforeTheClose) {
    for (const int rows : {1, 2, 1500}) {  // the last, one before it, several batches
        TempDir dir;
        Table table;
        formats::replaceTable(table, dir.path(), formats::kAsigt);
        table.open();
        const auto scan = [&] {
            std::string seen;
            for (table.first(); !table.eof(); table.next()) seen += table.asText("CASIG") + ",";
            return seen;
        };
        std::string expected;
        for (int pass = 0; pass < 2; ++pass) {  // the second after rows read back
            appendRows(table, pass * rows, (pass + 1) * rows);
            EXPECT_EQ(table.asText("CASIG"), std::to_string((pass + 1) * rows - 1)) << rows;
            for (int row = pass * rows; row < (pass + 1) * rows; ++row)
                expected += std::to_string(row) + ",";
            EXPECT_EQ(scan(), expected) << rows;
            EXPECT_EQ(table.recordCount(), std::size_t(rows * (pass + 1))) << rows;
        }
        appendRows(table, 2 * rows, 2 * rows + 1);
        table.setFilter("CASIG= '0'");
        table.setFiltered(true);
        EXPECT_EQ(scan(), "0,") << rows;
    }
}

TEST(DbfWriter, AProcessKilledWhileWritingLeavesATableThatOpens) {
    TempDir dir;
    {
        Table table;
        formats::replaceTable(table, dir.path(), formats::kAsigt);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Table table;
        table.setDatabaseName(dir.path());
        table.setTableName("ASIGT");
        table.open();
        appendRows(table, 0, 5000);
        ::_exit(0);  // killed before the close: nothing flushes what is left
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    Table table;
    table.setDatabaseName(dir.path());
    table.setTableName("ASIGT");
    table.setExclusive(true);
    table.open();
    EXPECT_GT(table.recordCount(), 0u);
    std::size_t row = 0;
    for (; !table.eof(); table.next(), ++row) ASSERT_EQ(table.asInteger("CASIG"), int(row));
    // And more rows can be added to it.
    appendRows(table, int(row), int(row) + 1);
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), row + 1);
}

}  // namespace
}  // namespace mirvane::dbf
