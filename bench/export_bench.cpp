// The export run on the synthetic schools, beside the time xmllint takes only
// to parse the same documents. Both are run as programs (mirvane-cli exportar,
// xmllint --noout) so the figures compare like with like, and each reports its
// peak memory; the export is also timed inside this process.

#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "services/paths.h"

namespace {

namespace fs = std::filesystem;

// The documents of both sizes, written once into a temporary folder.
class Documents {
  public:
    static Documents& get() {
        static Documents documents;
        return documents;
    }
    fs::path document(const std::string& size) { return folder_ / (size + ".xml"); }
    fs::path workFolder(const std::string& size) { return folder_ / ("KTEMP-" + size); }
    fs::path peakFile() { return folder_ / "peak.txt"; }

  private:
    Documents() {
        std::string pattern = (fs::temp_directory_path() / "mirvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        for (const std::string size : {"school", "stress"}) {
            using namespace mirvane::schoolgen;
            writeExchangeDocument(generateSchool(sizeNamed(size), 1), document(size));
            fs::create_directory(workFolder(size));
        }
    }
    ~Documents() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

const char* sizeName(const benchmark::State& state) {
    return state.range(0) == 0 ? "school" : "stress";
}

// Runs a program to its end under /usr/bin/time and returns its peak resident
// memory in MB. (The rusage of a child forked from this process would count
// this process's own memory, which the child inherits until it execs.)
double runProgram(const std::vector<std::string>& arguments, const fs::path& peakFile) {
    std::vector<std::string> command = {"/usr/bin/time", "-f", "%M", "-o", peakFile.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) std::_Exit(127);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed");
    std::ifstream peak(peakFile);
    double kilobytes = 0;
    peak >> kilobytes;
    return kilobytes / 1024.0;
}

void BM_ExportInProcess(benchmark::State& state) {
    const std::string size = sizeName(state);
    Documents& documents = Documents::get();
    mirvane::exporting::FixedStartHour prompt;
    for (auto _ : state) {
        mirvane::core::ExportRun run(documents.workFolder(size), prompt);
        benchmark::DoNotOptimize(run.run(documents.document(size)));
    }
    state.SetLabel(size);
}

void BM_ExportCli(benchmark::State& state) {
    const std::string size = sizeName(state);
    Documents& documents = Documents::get();
    const std::string cli = (mirvane::paths::executableFolder() / "mirvane-cli").string();
    double peak = 0;
    for (auto _ : state)
        peak = runProgram({cli, "exportar", documents.document(size).string(), "--carpeta",
                           documents.workFolder(size).string()},
                          documents.peakFile());
    state.counters["peak_MB"] = peak;
    state.SetLabel(size);
}

void BM_XmllintNoout(benchmark::State& state) {
    const std::string size = sizeName(state);
    const std::string document = Documents::get().document(size).string();
    double peak = 0;
    for (auto _ : state)
        peak = runProgram({"/usr/bin/xmllint", "--noout", document}, Documents::get().peakFile());
    state.counters["peak_MB"] = peak;
    state.SetLabel(size);
}

BENCHMARK(BM_ExportInProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_XmllintNoout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
