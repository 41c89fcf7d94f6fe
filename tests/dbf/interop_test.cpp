// Tables exchanged with programs no one here wrote: python3-dbf and GDAL
// write tables the engine must read, dbfread and ogrinfo read the tables
// the engine writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dbf/table.h"
#include "formats/work_tables.h"
#include "support/testing.h"

namespace mirvane::dbf {
namespace {

using mirvane::testing::CommandResult;
using mirvane::testing::kDebianPython;
using mirvane::testing::run;
using mirvane::testing::shellQuote;
using mirvane::testing::TempDir;
using mirvane::testing::writeFile;
using ::testing::HasSubstr;

CommandResult python(const TempDir& dir, const std::string& script, const std::string& arg) {
    writeFile(dir / "script.py", script);
    const CommandResult result =
        run(std::string(kDebianPython) + " " + shellQuote((dir / "script.py").string()) + " " +
            shellQuote(arg));
    EXPECT_EQ(result.status, 0) << result.errors;
    return result;
}

constexpr const char* kWriteWithPythonDbf = R"(
import sys, dbf
path, kind = sys.argv[1].rsplit(':', 1)
spec = 'NOMBRE C(10); ACTIVO L; CANTIDAD N(11,0); PRECIO N(8,2); FECHA D'
if kind == 'fp':
    spec += '; NOTA M'   # this python3-dbf writes FoxPro's version byte only with a memo
t = dbf.Table(path, spec, dbf_type=kind, codepage='cp1252')
t.open(dbf.READ_WRITE)
extra = ('nota',) if kind == 'fp' else ()
t.append(('\u00d1and\u00fa', True, 12, 3.5, dbf.Date(2026, 12, 8)) + extra)
t.append(('BORRADO', False, 1, 0, None) + extra)
t.append(('Jos\u00e9', False, -2147483648, -0.25, None) + extra)
dbf.delete(t[1])
t.close()
)";

TEST(DbfInterop, ReadsTablesWrittenByPythonDbfInEachDialect) {
    for (const char* kind : {"db3", "fp", "vfp"}) {
        TempDir dir;
        python(dir, kWriteWithPythonDbf, (dir / "T.DBF").string() + ":" + kind);
        Table table;
        table.setDatabaseName(dir.path());
        table.setTableName("T");
        table.open();
        ASSERT_EQ(table.recordCount(), 2u) << kind;
        EXPECT_EQ(table.asText("NOMBRE"),
                  "\xD1"
                  "and\xFA")
            << kind;
        EXPECT_EQ(table.asText("ACTIVO"), "T") << kind;
        EXPECT_EQ(table.asInteger("CANTIDAD"), 12) << kind;
        EXPECT_EQ(table.asFloat("PRECIO"), 3.5) << kind;
        EXPECT_EQ(table.asText("FECHA"), "20261208") << kind;
        table.next();
        EXPECT_EQ(table.asText("NOMBRE"), "Jos\xE9") << kind;
        EXPECT_EQ(table.asText("ACTIVO"), "F") << kind;
        EXPECT_EQ(table.asInteger("CANTIDAD"), -2147483647 - 1) << kind;
        EXPECT_EQ(table.asFloat("PRECIO"), -0.25) << kind;
        EXPECT_EQ(table.asText("FECHA"), "") << kind;
        table.next();
        EXPECT_TRUE(table.eof()) << kind;
    }
}

TEST(DbfInterop, ReadsATableWrittenByOgr2ogr) {
    TempDir dir;
    writeFile(dir / "in.csv",
              "PROF,DIA,HORAS\n"
              "ANA,1,1.5\n"
              "\xC3\x91"
              "ANDU,7,\n");  // UTF-8, as GDAL reads CSV
    const CommandResult result =
        run("cd " + shellQuote(dir.path().string()) +
            " && ogr2ogr -f 'ESRI Shapefile' -lco ENCODING=LDID/87 out in.csv"
            " -oo AUTODETECT_TYPE=YES 2>&1");
    ASSERT_EQ(result.status, 0) << result.output;
    Table table("wwTableSoluc");
    table.setDatabaseName(dir / "out");
    table.setTableName("in");
    table.setExclusive(true);
    table.open();
    ASSERT_EQ(table.recordCount(), 2u);
    EXPECT_EQ(table.asText("PROF"), "ANA");
    EXPECT_EQ(table.asInteger("DIA"), 1);
    EXPECT_EQ(table.asFloat("HORAS"), 1.5);
    table.next();
    EXPECT_EQ(table.asText("PROF"),
              "\xD1"
              "ANDU");
    EXPECT_EQ(table.asText("DIA"), "7");
    EXPECT_EQ(table.asFloat("HORAS"), 0.0);  // GDAL's null number
}

// A table as the export writes one: every type the program uses, accents,
// a long text cut to its width, an empty row.
void writeOurTable(const std::filesystem::path& folder) {
    Table table;
    table.setDatabaseName(folder);
    table.setTableName("NUESTRA.DBF");
    table.addFieldDef("NOMBRE", FieldType::Character, 12);
    table.addFieldDef("ESTAREA", FieldType::Logical);
    table.addFieldDef("DNI", FieldType::Integer);
    table.addFieldDef("HORAS", FieldType::Float);
    table.createTable();
    table.open();
    table.append();
    table.setText("NOMBRE", "Educaci\xF3n F\xEDsica");
    table.setBool("ESTAREA", true);
    table.setFloat("DNI", 2147483647);
    table.setFloat("HORAS", 1.5);
    table.post();
    table.append();
    table.setText("NOMBRE", "  Espa\xF1ol");
    table.setBool("ESTAREA", false);
    table.setFloat("DNI", -7);
    table.setFloat("HORAS", 61.0 / 60.0);
    table.post();
    table.close();
}

constexpr const char* kReadWithDbfread = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1])
print(t.encoding)
for f in t.fields:
    print(f.name, f.type, f.length, f.decimal_count)
for r in t:
    print(repr(list(r.values())))
)";

TEST(DbfInterop, DbfreadReadsOurTables) {
    TempDir dir;
    writeOurTable(dir.path());
    const CommandResult result = python(dir, kReadWithDbfread, (dir / "NUESTRA.DBF").string());
    EXPECT_EQ(result.output,
              "cp1252\n"
              "NOMBRE C 12 0\n"
              "ESTAREA L 1 0\n"
              "DNI N 11 0\n"
              "HORAS N 19 9\n"
              "['Educación Fí', True, 2147483647, 1.5]\n"
              "['  Español', False, -7, 1.016666667]\n");
}

TEST(DbfInterop, OgrinfoReadsOurTables) {
    TempDir dir;
    writeOurTable(dir.path());
    const CommandResult result =
        run("ogrinfo -ro -al " + shellQuote((dir / "NUESTRA.DBF").string()) + " 2>&1");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_THAT(result.output, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(result.output, HasSubstr("NOMBRE: String (12.0)"));
    EXPECT_THAT(result.output, HasSubstr("DNI: Integer64 (11.0)"));
    EXPECT_THAT(result.output, HasSubstr("HORAS: Real (19.9)"));
    EXPECT_THAT(result.output, HasSubstr("NOMBRE (String) = Educación Fí\n"));
    EXPECT_THAT(result.output, HasSubstr("DNI (Integer64) = 2147483647\n"));
    EXPECT_THAT(result.output, HasSubstr("HORAS (Real) = 1.5"));
    EXPECT_THAT(result.output,
                HasSubstr("NOMBRE (String) = Español\n"));  // ogrinfo drops left blanks
    EXPECT_THAT(result.output, HasSubstr("DNI (Integer64) = -7\n"));
}

}  // namespace
}  // namespace mirvane::dbf
