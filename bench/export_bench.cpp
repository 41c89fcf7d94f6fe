// The export run on the synthetic schools, beside the time xmllint takes only
// to parse the same documents. Both are run as programs (mirvane-cli exportar,
// xmllint --noout) so the figures compare like with like, and each reports its
// peak memory; the export is also timed inside this process.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "support/programs.h"

namespace {

namespace fs = std::filesystem;
using mirvane::bench::sizeName;

// The documents of both sizes, written once into a temporary folder.
class Documents {
  public:
    static Documents& get() {
        static Documents documents;
        return documents;
    }
    fs::path document(const std::string& size) { return scratch_.path() / (size + ".xml"); }
    fs::path workFolder(const std::string& size) { return scratch_.path() / ("KTEMP-" + size); }
    const fs::path& scratch() const { return scratch_.path(); }

  private:
    Documents() {
        for (const std::string size : {"school", "stress"}) {
            using namespace mirvane::schoolgen;
            writeExchangeDocument(generateSchool(sizeNamed(size), 1), document(size));
            fs::create_directory(workFolder(size));
        }
    }
    mirvane::bench::ScratchFolder scratch_;
};

// The second argument asks for the report, whose cost is the difference.
void BM_ExportInProcess(benchmark::State& state) {
    const std::string size = sizeName(state);
    const bool withReport = state.range(1) != 0;
    Documents& documents = Documents::get();
    mirvane::exporting::FixedStartHour prompt;
    for (auto _ : state) {
        mirvane::core::ExportRun run(documents.workFolder(size), prompt);
        if (withReport) run.requestReport(documents.scratch() / ("informe-" + size + ".html"));
        benchmark::DoNotOptimize(run.run(documents.document(size)));
    }
    state.SetLabel(size + (withReport ? ", con informe" : ""));
}

void BM_ExportCli(benchmark::State& state) {
    const std::string size = sizeName(state);
    Documents& documents = Documents::get();
    mirvane::bench::timeProgram(
        state,
        {mirvane::bench::programPath("mirvane-cli"), "exportar", documents.document(size).string(),
         "--carpeta", documents.workFolder(size).string()},
        documents.scratch());
    mirvane::bench::countDocumentBytes(state, documents.document(size));
    state.SetLabel(size);
}

// The parser's anchors on the same documents.
const bool kAnchors = [] {
    mirvane::bench::registerXmllintAnchors(
        [](const std::string& size) { return Documents::get().document(size); },
        [] { return Documents::get().scratch(); });
    return true;
}();

BENCHMARK(BM_ExportInProcess)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ExportCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
