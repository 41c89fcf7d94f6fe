// The import run on the synthetic schools, beside the time it takes only to
// parse the same exchange document and read its seven tables (every field of
// every row as text): the floor any import must pay. Both are measured inside
// this process and as programs of their own (mirvane-cli importar, and this
// benchmark run again for the floor alone), which also report peak memory.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/import_run.h"
#include "dbf/table.h"
#include "formats/work_tables.h"
#include "support/programs.h"
#include "support/schools.h"
#include "xml/document.h"

namespace {

namespace fs = std::filesystem;
using mirvane::bench::sizeName;

using Schools = mirvane::bench::ImportSchools;

// The floor: parse the document and read every field of every row of the
// seven tables.
std::size_t parseAndReadTables(const fs::path& document, const fs::path& workFolder) {
    using namespace mirvane;
    const std::vector<formats::TableSpec> specs = {
        formats::kAsignomt, formats::kProft,      formats::kAulat,     formats::kGrupost,
        formats::kAsigt,    formats::kDiashorast, formats::kSolucTable};
    xml::Document parsed;
    parsed.load(document);
    std::size_t bytes = 0;
    for (const formats::TableSpec& spec : specs) {
        dbf::Table table;
        table.setDatabaseName(workFolder);
        table.setTableName(spec.name);
        table.setExclusive(true);
        table.open();
        for (table.first(); !table.eof(); table.next())
            for (const formats::FieldSpec& field : spec.fields)
                bytes += table.asText(field.name).size();
    }
    return bytes;
}

// Given as the first argument, this program runs the floor alone and ends.
constexpr std::string_view kFloorOnly = "--solo-leer";

// The second argument asks for the report, whose cost is the difference.
void BM_ImportInProcess(benchmark::State& state) {
    const std::string size = sizeName(state);
    const bool withReport = state.range(1) != 0;
    Schools& schools = Schools::get();
    std::int64_t activities = 0;
    for (auto _ : state) {
        mirvane::core::ImportRun run(schools.workFolder(size));
        if (withReport) run.requestReport(schools.scratch() / ("informe-" + size + ".html"));
        activities = run.run(schools.document(size))->actividades;
    }
    state.counters["activities"] = static_cast<double>(activities);
    state.SetLabel(size + (withReport ? ", con informe" : ""));
}

void BM_ParseAndReadTables(benchmark::State& state) {
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            parseAndReadTables(schools.document(size), schools.workFolder(size)));
    state.SetLabel(size);
}

void BM_ImportCli(benchmark::State& state) {
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    mirvane::bench::timeProgram(
        state,
        {mirvane::bench::programPath("mirvane-cli"), "importar", schools.document(size).string(),
         "--carpeta", schools.workFolder(size).string()},
        schools.scratch());
    mirvane::bench::countDocumentBytes(state, schools.document(size));
    state.SetLabel(size);
}

void BM_ParseAndReadTablesCli(benchmark::State& state) {
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    mirvane::bench::timeProgram(
        state,
        {mirvane::bench::programPath("bench_import"), std::string(kFloorOnly),
         schools.document(size).string(), schools.workFolder(size).string()},
        schools.scratch());
    mirvane::bench::countDocumentBytes(state, schools.document(size));
    state.SetLabel(size);
}

// The pages of an import on the mismatched stress school, in one run: none,
// the report (page and CSV), the timetable, both. The report's cost is the
// difference between the first two; the program's peak_MB says its memory.
constexpr std::array<const char*, 4> kPages{"sin páginas", "informe", "horario",
                                            "informe y horario"};

void BM_ImportPagesCli(benchmark::State& state) {
    Schools& schools = Schools::get();
    const auto pages = static_cast<std::size_t>(state.range(0));
    std::vector<std::string> arguments{mirvane::bench::programPath("mirvane-cli"), "importar",
                                       schools.document("stress").string(), "--carpeta",
                                       schools.mismatchedFolder().string()};
    if (pages % 2 == 0) arguments.push_back("--sin-informe");
    if (pages < 2) arguments.push_back("--sin-horario");
    mirvane::bench::timeProgram(state, arguments, schools.scratch());
    state.SetLabel(std::string("desajustado, ") + kPages[pages]);
}

// The report's cost, in one run and pair by pair: each iteration runs the
// import on the mismatched stress school without the report and with it,
// the two in turn first, and informe_x is the median of their ratios (wall
// time, whole process), pico_x the ratio of their peak memory. Pairs cancel
// the drift of a shared machine, which timing the two apart does not; a
// hundred and one of them, since single pairs there range over ±20 %.
// Arg(0) without the timetable, Arg(1) with it, as an import runs by default.
void BM_ReportCostCli(benchmark::State& state) {
    Schools& schools = Schools::get();
    const bool timetable = state.range(0) != 0;
    std::vector<std::string> with{mirvane::bench::programPath("mirvane-cli"), "importar",
                                  schools.document("stress").string(), "--carpeta",
                                  schools.mismatchedFolder().string()};
    if (!timetable) with.push_back("--sin-horario");
    std::vector<std::string> without = with;
    without.push_back("--sin-informe");
    std::vector<double> ratios;
    std::array<double, 2> peaks{};  // without, with
    bool withFirst = false;
    for (auto _ : state) {
        std::array<double, 2> seconds{};
        for (const bool report : {withFirst, !withFirst}) {
            const auto start = std::chrono::steady_clock::now();
            peaks[report] = mirvane::bench::runProgram(report ? with : without, schools.scratch());
            seconds[report] =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        ratios.push_back(seconds[1] / seconds[0]);
        withFirst = !withFirst;
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    state.counters["informe_x"] = ratios[ratios.size() / 2];
    state.counters["pico_x"] = peaks[1] / peaks[0];
    state.SetLabel(timetable ? "desajustado, con horario" : "desajustado, sin horario");
}

// The parser's anchors on the same documents.
const bool kAnchors = [] {
    mirvane::bench::registerXmllintAnchors(
        [](const std::string& size) { return Schools::get().document(size); },
        [] { return Schools::get().scratch(); });
    return true;
}();

BENCHMARK(BM_ImportInProcess)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ParseAndReadTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportPagesCli)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReportCostCli)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(101)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ParseAndReadTablesCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && argv[1] == kFloorOnly) {
        benchmark::DoNotOptimize(parseAndReadTables(argv[2], argv[3]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
