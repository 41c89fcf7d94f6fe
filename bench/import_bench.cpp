// The import run on the synthetic schools, beside the time it takes only to
// parse the same exchange document and read its seven tables (every field of
// every row as text): the floor any import must pay. The import is also run
// as a program (mirvane-cli importar), which reports its peak memory.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/export_run.h"
#include "core/import_run.h"
#include "export/start_hour_prompt.h"
#include "formats/work_tables.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "schoolgen/soluc_writer.h"
#include "services/dbf.h"
#include "services/paths.h"
#include "services/xml.h"

namespace {

namespace fs = std::filesystem;

// For both sizes, once: the exchange document, and a work folder holding
// what the export writes and a solution for it.
class Schools {
  public:
    static Schools& get() {
        static Schools schools;
        return schools;
    }
    fs::path document(const std::string& size) { return folder_ / (size + ".xml"); }
    fs::path workFolder(const std::string& size) { return folder_ / ("KTEMP-" + size); }

  private:
    Schools() {
        std::string pattern = (fs::temp_directory_path() / "mirvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        for (const std::string size : {"school", "stress"}) {
            using namespace mirvane;
            const schoolgen::School school =
                schoolgen::generateSchool(schoolgen::sizeNamed(size), 1);
            schoolgen::writeExchangeDocument(school, document(size));
            fs::create_directory(workFolder(size));
            exporting::FixedStartHour prompt;
            core::ExportRun(workFolder(size), prompt).run(document(size));
            schoolgen::writeSoluc(schoolgen::solution(school, 1), workFolder(size));
        }
    }
    ~Schools() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

const char* sizeName(const benchmark::State& state) {
    return state.range(0) == 0 ? "school" : "stress";
}

// Runs a program to its end; returns its peak resident memory in MB.
double runProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed");
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ImportInProcess(benchmark::State& state) {
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    std::int64_t activities = 0;
    for (auto _ : state) {
        mirvane::core::ImportRun run(schools.workFolder(size));
        activities = run.run(schools.document(size))->actividades;
    }
    state.counters["activities"] = static_cast<double>(activities);
    state.SetLabel(size);
}

// Parse the document and read every field of every row of the seven tables.
void BM_ParseAndReadTables(benchmark::State& state) {
    using namespace mirvane;
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    std::vector<formats::TableSpec> specs = {
        formats::kAsignomt, formats::kProft,      formats::kAulat,      formats::kGrupost,
        formats::kAsigt,    formats::kDiashorast, schoolgen::kSolucSpec};
    for (auto _ : state) {
        xml::Document document;
        document.load(schools.document(size));
        std::size_t bytes = 0;
        for (const formats::TableSpec& spec : specs) {
            dbf::Table table;
            table.setDatabaseName(schools.workFolder(size));
            table.setTableName(spec.name);
            table.setExclusive(true);
            table.open();
            for (table.first(); !table.eof(); table.next())
                for (const formats::FieldSpec& field : spec.fields)
                    bytes += table.asText(field.name).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(size);
}

void BM_ImportCli(benchmark::State& state) {
    const std::string size = sizeName(state);
    Schools& schools = Schools::get();
    const std::string cli = (mirvane::paths::executableFolder() / "mirvane-cli").string();
    double peak = 0;
    for (auto _ : state)
        peak = runProgram({cli, "importar", schools.document(size).string(), "--carpeta",
                           schools.workFolder(size).string()});
    state.counters["peak_MB"] = peak;
    state.SetLabel(size);
}

BENCHMARK(BM_ImportInProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseAndReadTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
