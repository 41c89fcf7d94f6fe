#include "import/indexed_lookups.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "import_fixture.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "schoolgen/soluc_writer.h"

// The indexed lookups must write, byte for byte, the document that plain
// scans write: on generated schools and on tables made of a few short keys,
// full of duplicates, blanks, near misses and misses.
namespace mirvane::importing {
namespace {

using testing::ImportTest;
using LookupKind = ImportTest::LookupKind;

class IndexedLookupsTest : public ImportTest {
  protected:
    // Builds with both kinds of lookups and compares the saved documents.
    void expectSameDocuments() {
        const ResultadoImportacion scanned = importar(LookupKind::PlainScan);
        const std::string byScans = testing::readFile(scanned.archivo);
        const ResultadoImportacion indexed = importar(LookupKind::Indexed);
        EXPECT_EQ(indexed.actividades, scanned.actividades);
        EXPECT_EQ(testing::readFile(indexed.archivo), byScans);
        EXPECT_GT(scanned.actividades, 0);
    }
};

// A school small enough for the scans, with far more assignments than subject
// and group pairs, so that the same keys come back again and again.
TEST_F(IndexedLookupsTest, GeneratedSchoolsGiveTheSameDocument) {
    const schoolgen::SchoolSize size{24, 8, 10, 60, 400, 5, 14};
    for (std::uint32_t seed : {1u, 7u}) {
        SCOPED_TRACE(seed);
        const schoolgen::School school = schoolgen::generateSchool(size, seed);
        schoolgen::writeExchangeDocument(school, chosen);
        exporting::FixedStartHour prompt;
        core::ExportRun(work.path(), prompt).run(chosen);
        schoolgen::writeSoluc(schoolgen::solution(school, seed), work.path());
        expectSameDocuments();
    }
}

// Every text is drawn from a handful, blanks among them, so that every stage
// of every lookup meets duplicates, blank values and misses.
class Draw {
  public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    std::string key() { return pick({"", "A", "B", "a", "AB", "A B", " A", "C"}); }
    std::string value() { return pick({"", "", "\t", "M1", "M2", "M3", " M4", "G9"}); }
    std::string number(int below) { return std::to_string(engine_() % below); }

  private:
    std::string pick(std::initializer_list<const char*> choices) {
        return choices.begin()[engine_() % choices.size()];
    }
    std::mt19937 engine_;
};

TEST_F(IndexedLookupsTest, TablesOfFewKeysGiveTheSameDocument) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        Draw draw(seed);
        testing::Rows asignomt, diashorast, aulat, grupost, asigt, proft, soluc;
        for (int i = 0; i < 12; ++i) {
            asignomt.push_back({{"COD", draw.key()}, {"MATERIA", draw.value()}});
            diashorast.push_back({{"DIHO", draw.number(3) + draw.number(12)},
                                  {"DIA", draw.number(3)},
                                  {"CODDIHO", draw.value()}});
            aulat.push_back({{"ABREV", draw.key()}, {"DEPCENTRO", draw.value()}});
            grupost.push_back({{"ABREV", draw.key()}, {"UNIDAD", draw.value()}});
        }
        for (int i = 0; i < 40; ++i)
            asigt.push_back({{"CASIG", draw.key()},
                             {"CGRUP", draw.key()},
                             {"NIVEL", draw.key()},
                             {"CURSO", draw.key()},
                             {"MATERIA", draw.value()}});
        for (const char* abrev : {"A", "B", "A", "C"})
            proft.push_back({{"ABREV", abrev}, {"X_EMPLEADO", draw.value()}});
        for (int i = 0; i < 60; ++i)
            soluc.push_back({{"PROF", draw.key()},
                             {"DIA", draw.number(3)},
                             {"HORA", draw.number(12)},
                             {"TAREA", draw.key()},
                             {"AULA", draw.key()},
                             {"CODGRUPO", draw.key()},
                             {"ASIG", draw.key()},
                             {"NIVEL", draw.key()},
                             {"CURSO", draw.key()}});
        work.fill(formats::kAsignomt, asignomt);
        work.fill(formats::kDiashorast, diashorast);
        work.fill(formats::kAulat, aulat);
        work.fill(formats::kGrupost, grupost);
        work.fill(formats::kAsigt, asigt);
        work.fill(formats::kProft, proft);
        work.fill(testing::kSolucSpec, soluc);
        expectSameDocuments();
    }
}

}  // namespace
}  // namespace mirvane::importing
