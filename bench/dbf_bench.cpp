// The table engine on a table as large as the largest school's: writing
// 100,000 assignment rows, and opening and scanning them reading three fields.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dbf/table.h"
#include "formats/work_tables.h"
#include "support/programs.h"

namespace {

constexpr int kRows = 100000;

void writeAssignments(const std::filesystem::path& folder) {
    mirvane::dbf::Table table;
    mirvane::formats::replaceTable(table, folder, mirvane::formats::kAsigt);
    table.open();
    for (int row = 0; row < kRows; ++row) {
        const std::string code = std::to_string(row);
        table.append();
        table.setText("CASIG", std::string("MAT").append(code));
        table.setText("CGRUP", std::string("G").append(std::to_string(row % 300)));
        table.setText("CAULA", std::string("A").append(std::to_string(row % 80)));
        table.setText("TURNO", "M");
        table.setText("NIVEL", "ESO");
        table.setText("CURSO", "1");
        table.setText("GRUPO", "A");
        table.setFloat("HORAS", (60.0 + row % 240) / 60.0);
        table.setText("SESIONES", "1 1 1");
        table.setText("MATERIA", std::string("MATERIA").append(code));
        table.setText("CTAREA", "LE");
        table.post();
    }
    table.close();
}

void BM_WriteAsigt(benchmark::State& state) {
    const mirvane::bench::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    for (auto _ : state) writeAssignments(folder);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WriteAsigt)->Unit(benchmark::kMillisecond);

void BM_OpenAndScanAsigt(benchmark::State& state) {
    const mirvane::bench::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    writeAssignments(folder);
    for (auto _ : state) {
        mirvane::dbf::Table table("wwTableAsig");
        table.setDatabaseName(folder);
        table.setTableName("ASIGT");
        table.setExclusive(true);
        table.open();
        std::size_t length = 0;
        for (table.first(); !table.eof(); table.next()) {
            length += table.asText("CASIG").size() + table.asText("NIVEL").size();
            benchmark::DoNotOptimize(table.asFloat("HORAS"));
        }
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_OpenAndScanAsigt)->Unit(benchmark::kMillisecond);

// The import's pattern: one filter per teacher over the solution table.
void BM_FilterPerTeacher(benchmark::State& state) {
    constexpr int kLessons = 40000;
    constexpr int kTeachers = 1500;
    const mirvane::bench::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    {
        mirvane::dbf::Table table;
        table.setDatabaseName(folder);
        table.setTableName("SOLUC.DBF");
        table.addFieldDef("PROF", mirvane::dbf::FieldType::Character, 10);
        table.addFieldDef("DIA", mirvane::dbf::FieldType::Integer);
        table.createTable();
        table.open();
        for (int row = 0; row < kLessons; ++row) {
            table.append();
            table.setText("PROF", std::string("P").append(std::to_string(row % kTeachers)));
            table.setFloat("DIA", 1 + row % 5);
            table.post();
        }
    }
    for (auto _ : state) {
        mirvane::dbf::Table table("wwTableSoluc");
        table.setDatabaseName(folder);
        table.setTableName("SOLUC");
        table.setExclusive(true);
        table.open();
        long days = 0;
        for (int teacher = 0; teacher < kTeachers; ++teacher) {
            table.setFiltered(false);
            table.setFilter(std::string("PROF= 'P").append(std::to_string(teacher)).append("'"));
            table.setFiltered(true);
            for (; !table.eof(); table.next()) days += table.asInteger("DIA");
        }
        benchmark::DoNotOptimize(days);
    }
}
BENCHMARK(BM_FilterPerTeacher)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
