// The table engine on a table as large as the largest school's: writing
// 100,000 assignment rows, and opening and scanning them reading three fields.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "formats/work_tables.h"
#include "services/dbf.h"

namespace {

constexpr int kRows = 100000;

std::filesystem::path benchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "mirvane-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
}

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
    const std::filesystem::path folder = benchFolder();
    for (auto _ : state) writeAssignments(folder);
    state.SetItemsProcessed(state.iterations() * kRows);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteAsigt)->Unit(benchmark::kMillisecond);

void BM_OpenAndScanAsigt(benchmark::State& state) {
    const std::filesystem::path folder = benchFolder();
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
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenAndScanAsigt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
