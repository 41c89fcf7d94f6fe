#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/error.h"
#include "dbf/table.h"
#include "support/testing.h"

namespace mirvane::dbf {
namespace {

using mirvane::testing::readFile;
using mirvane::testing::TempDir;
using mirvane::testing::writeFile;
using ::testing::HasSubstr;

// A closed table PROFT with one field of each program type.
void createSample(Table& table, const std::filesystem::path& folder) {
    table.setDatabaseName(folder);
    table.setTableName("PROFT.DBF");
    table.setTableType(TableType::dBase);
    table.clearFieldDefs();
    table.addFieldDef("ABREV", FieldType::Character, 10);
    table.addFieldDef("ACTIVO", FieldType::Logical);
    table.addFieldDef("DNI", FieldType::Integer);
    table.addFieldDef("HORAS", FieldType::Float);
    table.createTable();
}

void addRow(Table& table, std::string_view abrev, double horas = 1.0) {
    table.append();
    table.setText("ABREV", abrev);
    table.setFloat("HORAS", horas);
    table.post();
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(DbfTable, RowsWrittenReadBackInOrderWithTheirValues) {
    TempDir dir;
    {
        Table table;
        createSample(table, dir.path());
        table.open();
        table.append();
        table.setText("ABREV", "  ANA \xD1");
        table.setBool("ACTIVO", true);
        table.setFloat("DNI", -2147483648.0);
        table.setFloat("HORAS", 35791394.1166667);
        table.post();
        table.append();
        table.setText("ABREV", "LUIS");
        table.setBool("ACTIVO", false);
        table.post();
        table.append();  // nothing set: every field empty
        table.post();
        table.close();
    }
    Table table;
    table.setDatabaseName(dir.path());
    table.setTableName("PROFT");
    table.open();
    EXPECT_EQ(table.recordCount(), 3u);
    table.first();
    EXPECT_EQ(table.asText("ABREV"), "  ANA \xD1");
    EXPECT_EQ(table.asText("ACTIVO"), "T");
    EXPECT_EQ(table.asInteger("DNI"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(table.asText("DNI"), "-2147483648");
    EXPECT_NEAR(table.asFloat("HORAS"), 35791394.1166667, 1e-6);
    table.next();
    EXPECT_EQ(table.asText("ABREV"), "LUIS");
    EXPECT_EQ(table.asText("ACTIVO"), "F");
    EXPECT_EQ(table.asText("DNI"), "");
    EXPECT_EQ(table.asInteger("DNI"), 0);
    table.next();
    EXPECT_EQ(table.asText("ABREV"), "");
    EXPECT_EQ(table.asText("ACTIVO"), "");
    EXPECT_EQ(table.asFloat("HORAS"), 0.0);
    EXPECT_FALSE(table.eof());
    table.next();
    EXPECT_TRUE(table.eof());
}

TEST(DbfTable, EveryMinuteCountOverSixtyReadsBackExactly) {
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    table.open();
    const std::int64_t minutes[] = {60, 61, 89, 119, 1439, 99999, 2147483647};
    for (std::int64_t m : minutes) addRow(table, "X", static_cast<double>(m) / 60.0);
    table.close();
    table.open();
    for (std::int64_t m : minutes) {
        EXPECT_EQ(std::llround(table.asFloat("HORAS") * 60.0), m) << m;
        table.next();
    }
}

TEST(DbfTable, TextIsCutToTheFieldWidthAndReadsBackBeforeThePost) {
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    table.open();
    table.append();
    table.setText("ABREV", "ABCDEFGHIJKLMN");
    table.setFloat("HORAS", 1.5);
    EXPECT_EQ(table.asText("ABREV"), "ABCDEFGHIJ");
    EXPECT_EQ(table.asFloat("HORAS"), 1.5);
    table.post();
    EXPECT_EQ(table.asText("ABREV"), "ABCDEFGHIJ");
}

TEST(DbfTable, NumbersAreTheExactValueRoundedToTheFieldsDecimals) {
    const struct {
        double value;
        const char* horas;  // N(19,9), read as its shortest text; null: does not fit
        const char* dni;    // N(11,0)
    } cases[] = {
        {1.0 / 1024, "0.000976562", "0"},  // a tie at the ninth decimal goes to even
        {2.5, "2.5", "2"},
        {25.0 / 60, "0.416666667", "0"},
        {-1e-10, "0", "0"},  // a negative that rounds to zero is zero
        {-0.4, "-0.4", "0"},
        {-2147483648.0, nullptr, "-2147483648"},
    };
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    table.open();
    for (const auto& c : cases) {
        table.append();
        table.setFloat("DNI", c.value);
        if (c.horas)
            table.setFloat("HORAS", c.value);
        else
            EXPECT_THAT(messageOf([&] { table.setFloat("HORAS", c.value); }), HasSubstr("no cabe"));
        table.post();
        EXPECT_EQ(table.asText("HORAS"), c.horas ? c.horas : "") << c.value;
        EXPECT_EQ(table.asText("DNI"), c.dni) << c.value;
    }
}

TEST(DbfTable, ANumberThatDoesNotFitIsAnErrorNotAStarredField) {
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    table.open();
    table.append();
    EXPECT_THAT(messageOf([&] { table.setFloat("HORAS", 1e12); }),
                HasSubstr("no cabe en el campo HORAS"));
    EXPECT_THAT(messageOf([&] { table.setFloat("DNI", NAN); }), HasSubstr("no cabe"));
}

TEST(DbfTable, FileOnDiskIsDBaseThreeWithWindowsDriverDateAndEndMarker) {
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    std::string bytes = readFile(dir / "PROFT.DBF");
    ASSERT_EQ(bytes.size(), 32u + 4 * 32 + 1 + 1);
    EXPECT_EQ(bytes[0], 0x03);
    EXPECT_GE(static_cast<unsigned char>(bytes[1]), 120);  // year 2020 or later
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x57);
    EXPECT_EQ(bytes[32 + 4 * 32], 0x0D);
    EXPECT_EQ(bytes.back(), 0x1A);
    // HORAS is N(19,9), DNI N(11,0).
    EXPECT_EQ(bytes[32 + 2 * 32 + 11], 'N');
    EXPECT_EQ(bytes[32 + 2 * 32 + 16], 11);
    EXPECT_EQ(bytes[32 + 3 * 32 + 16], 19);
    EXPECT_EQ(bytes[32 + 3 * 32 + 17], 9);

    table.open();
    addRow(table, "ANA", 2.0);
    table.close();
    bytes = readFile(dir / "PROFT.DBF");
    const std::size_t recordLength = 1 + 10 + 1 + 11 + 19;
    ASSERT_EQ(bytes.size(), 32u + 4 * 32 + 1 + recordLength + 1);
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes.substr(161, recordLength),
              " ANA       " + std::string(" ") + std::string(11, ' ') + "        2.000000000");
    EXPECT_EQ(bytes.back(), 0x1A);
}

TEST(DbfTable, CreatingReplacesAnExistingTable) {
    TempDir dir;
    {
        Table table;
        createSample(table, dir.path());
        table.open();
        addRow(table, "ANA");
    }
    Table table;
    createSample(table, dir.path());
    table.open();
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_TRUE(table.eof());
}

TEST(DbfTable, TableNamesMatchWithoutRegardToLetterCase) {
    TempDir dir;
    {
        Table table;
        createSample(table, dir.path());
        table.open();
        addRow(table, "ANA");
    }
    std::filesystem::rename(dir / "PROFT.DBF", dir / "proft.dbf");
    Table table;
    table.setDatabaseName(dir.path());
    table.setTableName("PROFT");
    table.open();
    EXPECT_EQ(table.filePath(), dir / "proft.dbf");
    EXPECT_EQ(table.asText("abrev"), "ANA");
    table.close();
    createSample(table, dir.path());  // replaces proft.dbf under the name given
    EXPECT_TRUE(std::filesystem::exists(dir / "PROFT.DBF"));
    EXPECT_FALSE(std::filesystem::exists(dir / "proft.dbf"));
}

TEST(DbfTable, ErrorsNameTheTableAndTheFault) {
    TempDir dir;
    Table missingFolder;
    missingFolder.setDatabaseName(dir / "KTEMP");
    missingFolder.setTableName("PROFT");
    EXPECT_THAT(messageOf([&] { missingFolder.open(); }),
                HasSubstr("no existe la carpeta " + (dir / "KTEMP").string()));
    EXPECT_THAT(messageOf([&] { createSample(missingFolder, dir / "KTEMP"); }),
                HasSubstr("No se puede crear la tabla"));
    EXPECT_FALSE(std::filesystem::exists(dir / "KTEMP"));

    Table missingTable;
    missingTable.setDatabaseName(dir.path());
    missingTable.setTableName("SOLUC");
    EXPECT_EQ(messageOf([&] { missingTable.open(); }),
              "No existe la tabla " + (dir / "SOLUC.DBF").string() + ".");
}

TEST(DbfTable, AMissingFieldNamesTheComponent) {
    TempDir dir;
    Table named("wwTableSoluc");
    createSample(named, dir.path());
    named.open();
    EXPECT_EQ(messageOf([&] { named.asText("DIA"); }), "wwTableSoluc: Field 'DIA' not found");
    named.close();
    Table anonymous;
    createSample(anonymous, dir.path());
    anonymous.open();
    EXPECT_EQ(messageOf([&] { anonymous.asInteger("DIA"); }), "Field 'DIA' not found");
    anonymous.append();
    EXPECT_EQ(messageOf([&] { anonymous.setText("DIA", "1"); }), "Field 'DIA' not found");
}

TEST(DbfTable, ExclusiveOpenKeepsOthersOutUntilClosed) {
    TempDir dir;
    Table writer;
    createSample(writer, dir.path());
    Table first("wwTableProfesor");
    first.setDatabaseName(dir.path());
    first.setTableName("PROFT");
    first.setExclusive(true);
    first.open();

    Table second;
    second.setDatabaseName(dir.path());
    second.setTableName("PROFT");
    EXPECT_EQ(messageOf([&] { second.open(); }),
              "No se puede abrir la tabla " + (dir / "PROFT.DBF").string() +
                  ": está abierta en otro programa. Cierre Tablexa e inténtelo de nuevo.");
    EXPECT_THAT(messageOf([&] { createSample(writer, dir.path()); }),
                HasSubstr("No se puede crear la tabla"));
    first.close();
    EXPECT_NO_THROW(second.open());
    second.close();
    {
        Table scoped;
        scoped.setDatabaseName(dir.path());
        scoped.setTableName("PROFT");
        scoped.setExclusive(true);
        scoped.open();
    }  // released when it goes
    EXPECT_NO_THROW(second.open());
}

TEST(DbfTable, ExclusiveOpenKeepsAnotherProcessOut) {
    TempDir dir;
    Table writer;
    createSample(writer, dir.path());
    writer.setExclusive(true);
    writer.open();
    const auto result = mirvane::testing::run(
        "flock -n " + mirvane::testing::shellQuote((dir / "PROFT.DBF").string()) + " true");
    EXPECT_NE(result.status, 0);
    writer.close();
    const auto after = mirvane::testing::run(
        "flock -n " + mirvane::testing::shellQuote((dir / "PROFT.DBF").string()) + " true");
    EXPECT_EQ(after.status, 0);
}

class DbfFilter : public ::testing::Test {
  protected:
    void SetUp() override {
        createSample(table, dir.path());
        table.open();
        for (const char* abrev : {"ANA", "ANABEL", "O'NEIL", "ANA", "ana", "ANA*", ""})
            addRow(table, abrev);
        table.close();
        table.setExclusive(true);
        table.open();
    }
    std::size_t matches(std::string_view expression) {
        table.setFiltered(false);
        table.setFilter(expression);
        table.setFiltered(true);
        std::size_t count = 0;
        for (; !table.eof(); table.next()) ++count;
        table.first();
        std::size_t again = 0;
        for (; !table.eof(); table.next()) ++again;
        EXPECT_EQ(count, again);
        return count;
    }
    TempDir dir;
    Table table;
};

TEST_F(DbfFilter, MatchesExactlyCaseSensitiveAndNeverAsPrefix) {
    EXPECT_EQ(matches("ABREV= 'ANA'"), 2u);
    EXPECT_EQ(matches("ABREV= 'ana'"), 1u);
    EXPECT_EQ(matches("ABREV= 'AN*'"), 0u);
    EXPECT_EQ(matches("ABREV= 'ANA*'"), 1u);
    EXPECT_EQ(matches("ABREV= 'O''NEIL'"), 1u);
    EXPECT_EQ(matches("ABREV= ''"), 1u);
    EXPECT_EQ(matches("ABREV= 'NADIE'"), 0u);
    EXPECT_EQ(matches(""), 7u);
}

TEST_F(DbfFilter, SwitchingOnMovesToTheFirstMatchingRow) {
    table.first();
    table.next();
    table.setFilter("ABREV= 'O''NEIL'");
    table.setFiltered(true);
    ASSERT_FALSE(table.eof());
    EXPECT_EQ(table.asText("ABREV"), "O'NEIL");
    table.next();
    EXPECT_TRUE(table.eof());
    table.setFilter("ABREV= 'NADIE'");
    EXPECT_TRUE(table.eof());
    table.setFiltered(false);
    EXPECT_EQ(table.asText("ABREV"), "ANA");
    EXPECT_EQ(table.recordCount(), 7u);
}

TEST_F(DbfFilter, MalformedExpressionsAndUnknownFieldsFail) {
    for (const char* expression :
         {"ABREV 'ANA'", "ABREV= ANA", "ABREV= 'ANA", "= 'ANA'", "ABREV= 'ANA' AND X"})
        EXPECT_THAT(messageOf([&] { table.setFilter(expression); }), HasSubstr("no es válido"))
            << expression;
    EXPECT_EQ(messageOf([&] { table.setFilter("PROF= 'ANA'"); }), "Field 'PROF' not found");
}

TEST(DbfTable, OperationsOnAClosedTableOrWithoutANewRowFail) {
    TempDir dir;
    Table table;
    createSample(table, dir.path());
    EXPECT_THAT(messageOf([&] { table.first(); }), HasSubstr("no está abierta"));
    EXPECT_THAT(messageOf([&] { table.asText("ABREV"); }), HasSubstr("no está abierta"));
    table.open();
    EXPECT_THAT(messageOf([&] { table.setText("ABREV", "X"); }),
                HasSubstr("no se está añadiendo ninguna fila"));
    EXPECT_THAT(messageOf([&] { table.post(); }), HasSubstr("no se está añadiendo ninguna"));
    EXPECT_THAT(messageOf([&] { table.createTable(); }), HasSubstr("está abierta"));
}

TEST(DbfTable, FieldDefinitionsAreChecked) {
    TempDir dir;
    Table table;
    table.setDatabaseName(dir.path());
    table.setTableName("T");
    EXPECT_THAT(messageOf([&] { table.addFieldDef("NOMBRELARGO", FieldType::Character, 5); }),
                HasSubstr("de 1 a 10"));
    EXPECT_THAT(messageOf([&] { table.addFieldDef("A", FieldType::Character, 0); }),
                HasSubstr("longitud"));
    EXPECT_THAT(messageOf([&] { table.addFieldDef("A", FieldType::Character, 255); }),
                HasSubstr("longitud"));
    table.addFieldDef("A", FieldType::Character, 254);
    EXPECT_THAT(messageOf([&] { table.addFieldDef("a", FieldType::Logical); }),
                HasSubstr("ya está definido"));
    EXPECT_THAT(messageOf([&] {
                    Table empty;
                    empty.setDatabaseName(dir.path());
                    empty.setTableName("E");
                    empty.createTable();
                }),
                HasSubstr("no tiene campos"));
}

}  // namespace
}  // namespace mirvane::dbf
